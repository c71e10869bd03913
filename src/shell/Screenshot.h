// The player's screenshots: the 640x480 picture as a PNG in the desktop's pictures folder.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace orv {

struct Engine;

// $XDG_PICTURES_DIR/Orvane when set (in the environment, else in the user's user-dirs.dirs),
// otherwise ~/Pictures/Orvane.
std::filesystem::path screenshotFolder();

// "orvane-YYYYMMDD-HHMMSS.png", with "-N" before the extension from the second one in a second.
std::string screenshotName(const std::tm& local, int number);

// Writes the window's picture into a new file of the folder (made when missing), never over an
// existing one, and says so in the window title for a moment. The file, or nothing when it could
// not be written (one line on stderr says why).
std::optional<std::filesystem::path> saveScreenshot(Engine& engine);

} // namespace orv
