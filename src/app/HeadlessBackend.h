// Builds the headless backend from the command line: reads the events file
// and opens the transcript, so start-up failures are reported before the game.
#pragma once

#include "app/Options.h"
#include "platform/Platform.h"

#include <memory>
#include <string>

namespace orv {

// nullptr with the message for stderr in *error when a file cannot be read,
// parsed or created (exit status 1).
std::unique_ptr<Platform> createHeadlessPlatform(const Options& options, std::string* error);

} // namespace orv
