// The video's sound between the decoder and the mixer: the decoder appends stereo frames at
// the mixer's rate, the mixer's channel reads them as a sound source. While the decoder is
// behind (but not finished) the source plays silence rather than ending the channel.
#pragma once

#include "sound/SoundSource.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace orv {

class VideoSoundQueue {
public:
    explicit VideoSoundQueue(int rate) : rate_(rate) {}
    int rate() const { return rate_; }

    void append(const float* stereo, size_t frames);
    void finish();
    // Frames waiting to be read.
    size_t queuedFrames() const;
    bool finished() const;

    // Up to frames frames; the rest silence unless the decoder has finished. 0 once all is read
    // and the decoder has finished.
    size_t read(float* out, size_t frames);

private:
    int rate_;
    mutable std::mutex lock_;
    std::vector<float> samples_;
    size_t head_ = 0; // in floats
    bool finished_ = false;
};

std::unique_ptr<SoundSource> makeVideoSoundSource(std::shared_ptr<VideoSoundQueue> queue);

} // namespace orv
