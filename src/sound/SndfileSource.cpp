#include "sound/SndfileSource.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

// libsndfile reads through these callbacks straight from the bytes in memory.
struct MemoryFile {
    SoundBytes bytes;
    sf_count_t pos = 0;
};

sf_count_t memLength(void* user) {
    return sf_count_t(static_cast<MemoryFile*>(user)->bytes->size());
}

sf_count_t memSeek(sf_count_t offset, int whence, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    const sf_count_t size = sf_count_t(f->bytes->size());
    sf_count_t base = whence == SEEK_CUR ? f->pos : whence == SEEK_END ? size : 0;
    f->pos = std::clamp<sf_count_t>(base + offset, 0, size);
    return f->pos;
}

sf_count_t memRead(void* out, sf_count_t count, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    const sf_count_t left = sf_count_t(f->bytes->size()) - f->pos;
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, left);
    std::memcpy(out, f->bytes->data() + f->pos, size_t(n));
    f->pos += n;
    return n;
}

sf_count_t memWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memTell(void* user) {
    return static_cast<MemoryFile*>(user)->pos;
}

class SndfileSource final : public SoundSource {
public:
    explicit SndfileSource(SoundBytes bytes) : file_{std::move(bytes)} {}
    SndfileSource(const SndfileSource&) = delete;
    SndfileSource& operator=(const SndfileSource&) = delete;
    ~SndfileSource() override {
        if (sf_) sf_close(sf_);
    }

    bool open(std::string* error) {
        static SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
        sf_ = sf_open_virtual(&io, SFM_READ, &info_, &file_);
        if (!sf_ || info_.channels <= 0 || info_.samplerate <= 0) {
            if (error) *error = sf_strerror(sf_);
            return false;
        }
        return true;
    }

    int rate() const override { return info_.samplerate; }
    int channels() const override { return info_.channels; }
    size_t read(float* out, size_t frames) override {
        const sf_count_t n = sf_readf_float(sf_, out, sf_count_t(frames));
        return n > 0 ? size_t(n) : 0;
    }
    bool rewind() override { return sf_seek(sf_, 0, SEEK_SET) == 0; }

private:
    MemoryFile file_;
    SF_INFO info_{};
    SNDFILE* sf_ = nullptr;
};

} // namespace

std::unique_ptr<SoundSource> openSndfileSource(SoundBytes bytes, std::string* error) {
    auto source = std::make_unique<SndfileSource>(std::move(bytes));
    if (!source->open(error)) return nullptr;
    return source;
}

} // namespace orv
