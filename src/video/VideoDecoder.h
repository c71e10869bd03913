// Pictures of a video in time. With a thread (in a window) decoding runs ahead of the clock into
// a short queue, so the engine only copies a ready picture; without one (headless) the engine's
// own thread decodes each picture when the virtual clock reaches it, so runs repeat exactly.
#pragma once

#include "video/VideoFile.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace orv {

class VideoDecoder {
public:
    VideoDecoder(std::unique_ptr<VideoFile> file, bool threaded);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // The newest picture due by nowMs into out (those before it are dropped: they are late);
    // false when no new picture is due.
    bool takeDue(int64_t nowMs, VideoPicture& out);
    // The first picture is ready, and the sound has a start queued (or the file is done).
    bool ready();
    // Every picture has been taken; the last one is due to leave the screen at endMs().
    bool finished();
    int64_t endMs();
    VideoFile& file() { return *file_; }

private:
    void decodeLoop();
    bool wantsMore() const;

    std::unique_ptr<VideoFile> file_;
    bool threaded_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<VideoPicture> queue_;
    std::vector<std::vector<uint8_t>> spare_; // buffers of taken pictures, for the next ones
    bool done_ = false;                       // the file has no more pictures
    bool quit_ = false;
    int64_t lastMs_ = -1;
    std::thread thread_;
};

} // namespace orv
