// A video file read through the system's media libraries: its picture stream decoded and
// scaled into the 640x480 game area in the window's own pixel layout, and (when asked for) its
// sound decoded and converted to the mixer's rate as stereo floats.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace orv {

class VideoSoundQueue;

enum class VideoOpenError {
    None,
    CannotOpen,  // not a file the libraries can read, or its picture decoder will not start
    NoPicture,   // no picture stream in it
    CannotScale, // its pictures cannot be converted to the game area
};

// One picture, 640x480, rows bottom-up, blue-green-red, as FrameBuffer holds them.
struct VideoPicture {
    int64_t ms = 0; // when it is due, from the start of the video
    std::vector<uint8_t> pixels;
};

class VideoFile {
public:
    // soundRate 0: the sound stream is skipped. nullptr with the reason in *error.
    static std::unique_ptr<VideoFile> open(const std::filesystem::path& path, int soundRate,
                                           VideoOpenError* error);
    ~VideoFile();
    VideoFile(const VideoFile&) = delete;
    VideoFile& operator=(const VideoFile&) = delete;

    // Decodes up to the next picture into out (its buffer reused when it has the right size);
    // the sound met on the way goes to the sound queue. False at the end of the file, or where
    // the rest cannot be read; the sound queue is then finished.
    bool nextPicture(VideoPicture& out);

    // Null when the file has no sound or none was asked for.
    const std::shared_ptr<VideoSoundQueue>& sound() const { return sound_; }
    // How long one picture stays (from the stream's frame rate), for the end of the last one.
    int64_t frameMs() const { return frameMs_; }

private:
    struct Codec;
    VideoFile();

    bool decodePicture(VideoPicture& out);
    void decodeSound();
    void finish();

    std::unique_ptr<Codec> codec_;
    std::shared_ptr<VideoSoundQueue> sound_;
    int64_t frameMs_ = 40;
    bool draining_ = false;
    bool ended_ = false;
};

} // namespace orv
