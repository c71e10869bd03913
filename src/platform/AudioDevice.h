// The sound output seam, beside Platform: the engine's mixer is pulled for samples by the
// device, as a sound card asks for its next buffer. The window backend's device plays them; the
// headless one only keeps time, pulling as much as would have played by the virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace orv {

// Signed 16-bit samples, channels interleaved.
struct AudioFormat {
    int rate = 44100;
    int channels = 2;
    bool operator==(const AudioFormat&) const = default;
};

class AudioDevice {
public:
    // Fills frames * channels samples. The window device calls it on its own thread.
    using Pull = std::function<void(int16_t* samples, size_t frames)>;

    virtual ~AudioDevice() = default;
    // Starts pulling; false with the reason in *error when there is no device to play on (the
    // game then runs silent, with one line on stderr from the caller).
    virtual bool open(const AudioFormat& wanted, Pull pull, std::string* error) = 0;
    // Stops pulling; after it returns the pull function is never called again.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // What the device plays at, which may differ from what was wanted; valid while open.
    virtual AudioFormat format() const = 0;
};

} // namespace orv
