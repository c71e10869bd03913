// The seam between the scenario check and the archives a game registers.
#pragma once

#include <string_view>

namespace orv {

// Whether a file name (Shift-JIS, as the scenario writes it) is packed in an archive the game
// registers. Archives are not read yet, so nothing is found in one: a file must be on disk.
// When they are, this looks the name up in the archives the definition block registers.
inline bool inRegisteredArchive(std::string_view /*sjisName*/) {
    return false;
}

} // namespace orv
