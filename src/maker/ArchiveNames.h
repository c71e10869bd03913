// The seam between the scenario check and the archives a game registers.
#pragma once

#include "util/gamefs.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orv {

// The names packed in the archives a scenario registers, as the check sees them.
class ArchiveNames {
public:
    // archives: the `arc` registrations of the scenario ("file|library", Shift-JIS, as written);
    // each archive file is found below the game folder of fs and read once.
    ArchiveNames(const GameFs& fs, const std::vector<std::string>& archives);

    // Whether a file name (Shift-JIS, as the scenario writes it) is packed in one of them, found
    // the way the engine looks for it there.
    bool contains(std::string_view sjisName) const;

private:
    std::unordered_set<std::string> keys_;
};

} // namespace orv
