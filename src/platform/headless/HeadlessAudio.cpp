#include "platform/headless/HeadlessAudio.h"

#include <algorithm>

namespace orv {

bool HeadlessAudio::open(const AudioFormat& wanted, Pull pull, std::string* error) {
    if (wanted.rate <= 0 || wanted.channels <= 0 || !pull) {
        if (error) *error = "no sample rate, channels or source";
        return false;
    }
    format_ = wanted;
    pull_ = std::move(pull);
    played_ = 0;
    buffer_.assign(std::max<size_t>(bufferFrames_, 1) * size_t(wanted.channels), 0);
    return true;
}

void HeadlessAudio::close() {
    pull_ = nullptr;
}

void HeadlessAudio::runUntil(uint64_t nowMs) {
    if (!pull_) return;
    // Frames due by nowMs, rounded down, so the total never runs ahead of the clock.
    const uint64_t due = nowMs * uint64_t(format_.rate) / 1000;
    const size_t chunk = buffer_.size() / size_t(format_.channels);
    while (played_ < due) {
        const size_t frames = size_t(std::min<uint64_t>(chunk, due - played_));
        pull_(buffer_.data(), frames);
        played_ += frames;
    }
}

} // namespace orv
