#include "video/VideoSound.h"

#include <algorithm>

namespace orv {

void VideoSoundQueue::append(const float* stereo, size_t frames) {
    std::lock_guard guard(lock_);
    if (head_ > 0 && head_ * 2 >= samples_.size()) {
        samples_.erase(samples_.begin(), samples_.begin() + std::ptrdiff_t(head_));
        head_ = 0;
    }
    samples_.insert(samples_.end(), stereo, stereo + frames * 2);
}

void VideoSoundQueue::finish() {
    std::lock_guard guard(lock_);
    finished_ = true;
}

size_t VideoSoundQueue::queuedFrames() const {
    std::lock_guard guard(lock_);
    return (samples_.size() - head_) / 2;
}

bool VideoSoundQueue::finished() const {
    std::lock_guard guard(lock_);
    return finished_;
}

size_t VideoSoundQueue::read(float* out, size_t frames) {
    std::lock_guard guard(lock_);
    const size_t have = std::min(frames, (samples_.size() - head_) / 2);
    std::copy_n(samples_.data() + head_, have * 2, out);
    head_ += have * 2;
    if (finished_) return have;
    std::fill(out + have * 2, out + frames * 2, 0.f);
    return frames;
}

namespace {

class VideoSoundSource final : public SoundSource {
public:
    explicit VideoSoundSource(std::shared_ptr<VideoSoundQueue> queue) : queue_(std::move(queue)) {}
    int rate() const override { return queue_->rate(); }
    int channels() const override { return 2; }
    size_t read(float* out, size_t frames) override { return queue_->read(out, frames); }
    // A video's sound goes once, in step with its pictures.
    bool rewind() override { return false; }

private:
    std::shared_ptr<VideoSoundQueue> queue_;
};

} // namespace

std::unique_ptr<SoundSource> makeVideoSoundSource(std::shared_ptr<VideoSoundQueue> queue) {
    return std::make_unique<VideoSoundSource>(std::move(queue));
}

} // namespace orv
