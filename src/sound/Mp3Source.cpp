#include "sound/Mp3Source.h"

#include <mpg123.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace orv {

namespace {

void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
#if MPG123_API_VERSION < 46
        mpg123_init();
#endif
    });
}

class Mp3Source final : public SoundSource {
public:
    explicit Mp3Source(SoundBytes bytes) : bytes_(std::move(bytes)) {}
    Mp3Source(const Mp3Source&) = delete;
    Mp3Source& operator=(const Mp3Source&) = delete;
    ~Mp3Source() override { close(); }

    // Feeds the whole file and decodes up to the first frame, which fixes the format.
    bool open(std::string* error) {
        close();
        int err = MPG123_OK;
        handle_ = mpg123_new(nullptr, &err);
        if (!handle_) return fail(error, mpg123_plain_strerror(err));
        mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO, 0);
        mpg123_format_none(handle_);
        for (long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
            mpg123_format(handle_, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
        if (mpg123_open_feed(handle_) != MPG123_OK ||
            mpg123_feed(handle_, reinterpret_cast<const unsigned char*>(bytes_->data()),
                        bytes_->size()) != MPG123_OK)
            return fail(error, mpg123_strerror(handle_));
        pending_.clear();
        pendingPos_ = 0;
        ended_ = false;
        // Up to the first decoded block: the format is known from there on.
        while (!formatKnown_) {
            if (!decodeMore()) return fail(error, "no MPEG audio frame found");
        }
        return true;
    }

    int rate() const override { return int(rate_); }
    int channels() const override { return channels_; }

    size_t read(float* out, size_t frames) override {
        size_t done = 0;
        while (done < frames) {
            if (pendingPos_ >= pending_.size()) {
                pending_.clear();
                pendingPos_ = 0;
                if (ended_ || !decodeMore()) break;
                continue;
            }
            const size_t available = (pending_.size() - pendingPos_) / size_t(channels_);
            const size_t n = std::min(available, frames - done);
            std::copy_n(pending_.begin() + std::ptrdiff_t(pendingPos_), n * size_t(channels_),
                        out + done * size_t(channels_));
            pendingPos_ += n * size_t(channels_);
            done += n;
        }
        return done;
    }

    bool rewind() override {
        const long rate = rate_;
        const int channels = channels_;
        formatKnown_ = false;
        if (!open(nullptr)) return false;
        // A file that changes its format on the way is heard at the first format throughout.
        return rate == rate_ && channels == channels_;
    }

private:
    bool fail(std::string* error, const char* why) {
        if (error) *error = why ? why : "unknown error";
        return false;
    }

    void close() {
        if (handle_) mpg123_delete(handle_);
        handle_ = nullptr;
    }

    // Appends one block of samples to pending_; false at the end of the data.
    bool decodeMore() {
        unsigned char block[16384];
        for (int tries = 0; tries < 64; ++tries) {
            size_t got = 0;
            const int r = mpg123_read(handle_, block, sizeof block, &got);
            if (r == MPG123_NEW_FORMAT) {
                int channels = 0, encoding = 0;
                long rate = 0;
                mpg123_getformat(handle_, &rate, &channels, &encoding);
                if (!formatKnown_) {
                    rate_ = rate;
                    channels_ = std::max(channels, 1);
                    formatKnown_ = true;
                }
                continue;
            }
            if (got > 0 && formatKnown_) {
                const auto* samples = reinterpret_cast<const float*>(block);
                pending_.insert(pending_.end(), samples, samples + got / sizeof(float));
                return true;
            }
            if (r == MPG123_OK) continue;
            // The whole file was fed: needing more means the end, as does any error.
            ended_ = true;
            return false;
        }
        ended_ = true;
        return false;
    }

    SoundBytes bytes_;
    mpg123_handle* handle_ = nullptr;
    long rate_ = 44100;
    int channels_ = 2;
    bool formatKnown_ = false;
    bool ended_ = false;
    std::vector<float> pending_;
    size_t pendingPos_ = 0;
};

} // namespace

std::unique_ptr<SoundSource> openMp3Source(SoundBytes bytes, std::string* error) {
    initLibrary();
    auto source = std::make_unique<Mp3Source>(std::move(bytes));
    if (!source->open(error)) return nullptr;
    return source;
}

} // namespace orv
