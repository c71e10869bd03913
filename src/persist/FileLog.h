// The read-file log: names of the pictures the player has seen, asked by the
// fchk condition.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct FileLog {
    bool enabled = false; // filelog was given
    std::vector<std::string> names;

    // Names compare without regard to ASCII letter case.
    bool contains(std::string_view name) const;
};

} // namespace orv
