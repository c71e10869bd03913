// Producing the scrambled scenario files from a game's numbered files, so a
// game can ship its scenario unreadable at a glance.
#pragma once

#include <filesystem>
#include <string>

namespace orv {

// The scenario of the numbered files in dir, joined exactly as the loader
// joins them, written to dir as "orvane.dat" and "orvane_sec.dat". Loading
// either (with the numbered files removed) gives the same ScriptBuffer text.
// On failure returns false with the reason (UTF-8) in *error.
bool packScenario(const std::filesystem::path& dir, std::string* error);

} // namespace orv
