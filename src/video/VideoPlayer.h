// One video in the window: its pictures shown when they are due, its sound on the mixer's video
// channel. The clock is the sound's (what the mixer has played) while there is sound, otherwise
// the platform's clock; the headless platform's clock is virtual, so pictures come at the same
// virtual moments in every run.
#pragma once

#include "video/VideoDecoder.h"

#include <cstdint>
#include <memory>

namespace orv {

struct Engine;
class Mixer;

class VideoPlayer {
public:
    // mixer: where the sound goes (null: the pictures keep the platform's clock).
    VideoPlayer(std::unique_ptr<VideoFile> file, bool threaded, Mixer* mixer);
    ~VideoPlayer();
    VideoPlayer(const VideoPlayer&) = delete;
    VideoPlayer& operator=(const VideoPlayer&) = delete;

    // Shows the picture that is due now; true once the video has played to its end.
    bool step(Engine& engine);

private:
    int64_t clockMs(Engine& engine);
    void show(Engine& engine);

    VideoDecoder decoder_;
    Mixer* mixer_;
    bool started_ = false;
    bool sounding_ = false;
    uint32_t startTicks_ = 0;
    int64_t offsetMs_ = 0; // the sound clock's lead over the platform's when the sound ended
    VideoPicture picture_;
};

} // namespace orv
