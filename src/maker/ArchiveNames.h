// The seam between the scenario check and the archives a game registers.
#pragma once

#include "util/gamefs.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The names packed in the archives a scenario registers, as the check sees them.
class ArchiveNames {
public:
    // archives: the archive files the scenario names where an archive is expected (Shift-JIS,
    // as written), found below the game folder of fs.
    ArchiveNames(const GameFs& /*fs*/, const std::vector<std::string>& /*archives*/) {}

    // Whether a file name (Shift-JIS, as the scenario writes it) is packed in one of them.
    // Archives are not read yet, so nothing is found in one and every file must be on disk;
    // once they are, this looks the name up in the registered archives' directories.
    bool contains(std::string_view /*sjisName*/) const { return false; }
};

} // namespace orv
