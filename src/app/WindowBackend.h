// Builds the window backend from the command line: opens the transcript and
// the window, so start-up failures are reported before the game.
#pragma once

#include "app/Options.h"
#include "platform/Platform.h"

#include <memory>
#include <string>

namespace orv {

// nullptr with the message for stderr in *error when the transcript cannot be
// created or no window can be opened (exit status 1).
class OrvaneSettings;

// The window at the scale and in the mode the command line asks for, else as the settings kept
// them, else at the largest scale that fits the desktop.
std::unique_ptr<Platform> createWindowPlatform(const Options& options,
                                               const OrvaneSettings& settings, std::string* error);

} // namespace orv
