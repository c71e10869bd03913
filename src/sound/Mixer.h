// The engine's own mixer: five channels (CD track, MIDI, MP3, WAV, a video's sound) that sound at
// the same time, each with its own volume. Decoding never happens in the device's pull when a
// decoder thread runs (the window's device): the thread keeps a short queue of each channel filled,
// and the pull only adds the queues up. Without the thread (the headless device, pulled on the
// engine's thread by the virtual clock) the pull decodes what it needs itself, so a run is
// repeatable.
#pragma once

#include "platform/AudioDevice.h"
#include "sound/SoundSource.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace orv {

enum class SoundChannel { Cd, Midi, Mp3, Wav, Video };
inline constexpr size_t kSoundChannels = 5;

class Mixer {
public:
    Mixer(AudioFormat format, bool decoderThread);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;
    ~Mixer();

    const AudioFormat& format() const { return format_; }

    // What the channel plays from now on, from its first frame; nullptr silences it. A looping
    // source starts over at its end; otherwise the channel falls silent there.
    void play(SoundChannel channel, std::unique_ptr<SoundSource> source, bool loop);
    void stop(SoundChannel channel) { play(channel, nullptr, false); }
    // The channel's source from its first frame again, as it was when set; false when it
    // cannot start again (the channel then stays silent).
    bool restart(SoundChannel channel);
    // Percent, 0 to 100: the scenario's level (a fade).
    void setVolume(SoundChannel channel, int percent);
    // Percent, 0 to 100: the player's level, applied on top of the scenario's.
    void setGain(SoundChannel channel, int percent);
    int gain(SoundChannel channel) const { return channels_[size_t(channel)].gain; }
    // A source is set and has not played to its end.
    bool playing(SoundChannel channel) const;
    // Frames of the channel's source mixed since it was set, in the device's rate: the clock
    // a video's pictures keep to.
    uint64_t framesMixed(SoundChannel channel) const;
    // How often the channel's looping source started over.
    uint64_t restarts(SoundChannel channel) const;

    // The device's pull: frames of the device's format, the channels added up.
    void mix(int16_t* out, size_t frames);

private:
    struct Channel {
        mutable std::mutex sourceLock; // the source and the resampler
        std::unique_ptr<SoundSource> source;
        bool loop = false;
        std::vector<float> input;  // stereo frames of the source, not yet resampled
        double position = 0;       // in input frames
        std::vector<float> decode; // scratch for one read

        mutable std::mutex queueLock; // the resampled frames waiting for the pull
        std::vector<float> queue;
        size_t queueHead = 0; // in floats

        std::atomic<bool> active{false};
        std::atomic<bool> ended{false};
        std::atomic<int> volume{100};
        std::atomic<int> gain{100};
        std::atomic<uint64_t> restarts{0};
        std::atomic<uint64_t> mixed{0};
    };

    // Decodes into the channel's queue until it holds `frames` frames or the source has ended.
    void fill(Channel& channel, size_t frames);
    bool readInput(Channel& channel);
    void decoderLoop();

    AudioFormat format_;
    std::array<Channel, kSoundChannels> channels_;
    std::vector<float> mixBuffer_;

    bool threaded_ = false;
    std::thread thread_;
    std::mutex wakeLock_;
    std::condition_variable wake_;
    bool quit_ = false;
};

} // namespace orv
