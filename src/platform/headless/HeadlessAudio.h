// The headless sound device: no output, a clock. It pulls from the mixer exactly the frames
// that would have played by a moment of the virtual clock, so that streams start, loop and end
// at the same virtual times in every run.
#pragma once

#include "platform/AudioDevice.h"

#include <vector>

namespace orv {

class HeadlessAudio final : public AudioDevice {
public:
    // frames per pull, like a sound card's buffer
    explicit HeadlessAudio(size_t bufferFrames = 1024) : bufferFrames_(bufferFrames) {}

    bool open(const AudioFormat& wanted, Pull pull, std::string* error) override;
    void close() override;
    bool isOpen() const override { return bool(pull_); }
    AudioFormat format() const override { return format_; }

    // Pulls what plays from the opening up to nowMs after it (earlier moments pull nothing).
    void runUntil(uint64_t nowMs);
    uint64_t framesPlayed() const { return played_; }

private:
    size_t bufferFrames_;
    AudioFormat format_;
    Pull pull_;
    uint64_t played_ = 0;
    std::vector<int16_t> buffer_;
};

} // namespace orv
