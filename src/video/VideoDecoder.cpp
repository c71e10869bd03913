#include "video/VideoDecoder.h"

#include "video/VideoSound.h"

#include <algorithm>

namespace orv {

namespace {

// Pictures decoded ahead: always a few (a quarter of a second at 30 frames a second), more
// while the sound runs short, for files that hold their sound in long stretches.
constexpr size_t kAheadPictures = 8;
constexpr size_t kMostPictures = 24;
// The sound kept queued ahead, in milliseconds, and what must be there before the start.
constexpr size_t kSoundAheadMs = 500;
constexpr size_t kSoundStartMs = 250;

} // namespace

VideoDecoder::VideoDecoder(std::unique_ptr<VideoFile> file, bool threaded)
    : file_(std::move(file)), threaded_(threaded) {
    if (threaded_) thread_ = std::thread([this] { decodeLoop(); });
}

VideoDecoder::~VideoDecoder() {
    if (!threaded_) return;
    {
        std::lock_guard guard(lock_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool VideoDecoder::wantsMore() const {
    if (queue_.size() < kAheadPictures) return true;
    const auto& sound = file_->sound();
    if (!sound || queue_.size() >= kMostPictures) return false;
    return sound->queuedFrames() * 1000 < kSoundAheadMs * size_t(sound->rate());
}

void VideoDecoder::decodeLoop() {
    std::unique_lock guard(lock_);
    while (!quit_ && !done_) {
        if (!wantsMore()) {
            // The engine takes pictures (and the mixer sound) at their pace; a short nap
            // also notices the sound running low without a signal from the mixer.
            wake_.wait_for(guard, std::chrono::milliseconds(20));
            continue;
        }
        VideoPicture picture;
        if (!spare_.empty()) {
            picture.pixels = std::move(spare_.back());
            spare_.pop_back();
        }
        guard.unlock();
        const bool got = file_->nextPicture(picture);
        guard.lock();
        if (got)
            queue_.push_back(std::move(picture));
        else
            done_ = true;
    }
}

bool VideoDecoder::takeDue(int64_t nowMs, VideoPicture& out) {
    std::unique_lock guard(lock_, std::defer_lock);
    if (threaded_) guard.lock();
    if (!threaded_ && queue_.empty() && !done_) {
        VideoPicture picture;
        if (file_->nextPicture(picture))
            queue_.push_back(std::move(picture));
        else
            done_ = true;
    }
    bool got = false;
    while (!queue_.empty() && queue_.front().ms <= nowMs) {
        std::swap(out.pixels, queue_.front().pixels);
        out.ms = queue_.front().ms;
        lastMs_ = std::max(lastMs_, out.ms);
        if (!queue_.front().pixels.empty()) spare_.push_back(std::move(queue_.front().pixels));
        queue_.pop_front();
        got = true;
        // Headless: the next picture, to see whether it is due as well.
        if (!threaded_ && queue_.empty() && !done_) {
            VideoPicture picture;
            if (!spare_.empty()) {
                picture.pixels = std::move(spare_.back());
                spare_.pop_back();
            }
            if (file_->nextPicture(picture))
                queue_.push_back(std::move(picture));
            else
                done_ = true;
        }
    }
    if (spare_.size() > 2) spare_.resize(2);
    if (got && threaded_) {
        guard.unlock();
        wake_.notify_all();
    }
    return got;
}

bool VideoDecoder::ready() {
    // Decoding on demand is always ready.
    if (!threaded_) return true;
    std::lock_guard guard(lock_);
    if (done_) return true;
    if (queue_.empty()) return false;
    const auto& sound = file_->sound();
    return !sound || sound->finished() ||
           sound->queuedFrames() * 1000 >= kSoundStartMs * size_t(sound->rate()) ||
           queue_.size() >= kMostPictures;
}

bool VideoDecoder::finished() {
    std::lock_guard guard(lock_);
    return done_ && queue_.empty();
}

int64_t VideoDecoder::endMs() {
    std::lock_guard guard(lock_);
    return lastMs_ < 0 ? 0 : lastMs_ + file_->frameMs();
}

} // namespace orv
