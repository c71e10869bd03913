// What the video subsystem keeps: the video that has the window, if any. The flag the window
// procedure reads (ShellState::videoPlaying) is set while it plays.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace orv {

class VideoPlayer;

struct VideoState {
    VideoState();
    VideoState(const VideoState&) = delete;
    VideoState& operator=(const VideoState&) = delete;
    ~VideoState();

    std::unique_ptr<VideoPlayer> player;
    std::string name; // as the scenario gave it (Shift-JIS)
    // The copy extracted from an archive, deleted when the video stops; empty for a file on disk.
    std::filesystem::path temporary;
};

} // namespace orv
