// A decoded sound as the mixer reads it: frames of interleaved float samples in the source's own
// rate and channel count. Sources are used by one thread at a time (the mixer's lock sees to it).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace orv {

class SoundSource {
public:
    virtual ~SoundSource() = default;
    virtual int rate() const = 0;
    virtual int channels() const = 0;
    // Up to `frames` frames into out (frames * channels() floats); 0 once the sound has ended.
    virtual size_t read(float* out, size_t frames) = 0;
    // Back to the first frame; false when the sound cannot start again.
    virtual bool rewind() = 0;
};

// The whole file in memory, shared by a source and any restart of it.
using SoundBytes = std::shared_ptr<const std::string>;

} // namespace orv
