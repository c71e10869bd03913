#include "interp/CommandArgs.h"

#include <algorithm>
#include <array>

namespace orv {

namespace {

// Sorted by name. A row names an argument only when its kind matters; the rest are Other.
// The effect after bg, ld, cl, tal and print ends with the mask picture of effects 15 and 18.
constexpr CommandArgs kArgs[] = {
    {"abssetcursor", "-P"},
    {"arc", "A"},
    {"avi", "V-"},
    {"bg", "P--P"},
    {"btndef", "P"},
    {"cl", "---P"},
    {"clickvoice", "SS"},
    {"definereset", "", true},
    {"effect", "---P"},
    {"end", "", true},
    {"game", "", true},
    {"gosub", "L"},
    {"goto", "L", true},
    {"if", "", false, true},
    {"ld", "-P--P"},
    {"lookbackbutton", "PPPP"},
    {"lookbackvoice", "S"},
    {"lsp", "-P"},
    {"lsph", "-P"},
    {"menuselectvoice", "SSSSSSS"},
    {"mousecursor", "C"},
    {"mp3", "S"},
    {"mp3loop", "S"},
    {"notif", "", false, true},
    {"play", "S"},
    {"playonce", "S"},
    {"print", "--P"},
    {"return", "", true},
    {"select", "|-L", true},
    {"selectvoice", "SSS"},
    {"selgosub", "|-L"},
    {"setcursor", "-P"},
    {"setwindow", "-----------P"},
    {"tal", "----P"},
    {"trap", "L"},
    {"wave", "S"},
    {"waveloop", "S"},
    {"windoweffect", "--P"},
};

constexpr bool sorted() {
    for (size_t i = 1; i < std::size(kArgs); ++i)
        if (!(kArgs[i - 1].name < kArgs[i].name)) return false;
    return true;
}
static_assert(sorted(), "kArgs must stay sorted by name");

} // namespace

std::span<const CommandArgs> commandArgsTable() {
    return kArgs;
}

const CommandArgs* commandArgs(std::string_view name) {
    auto it = std::lower_bound(std::begin(kArgs), std::end(kArgs), name,
                               [](const CommandArgs& a, std::string_view n) { return a.name < n; });
    return it != std::end(kArgs) && it->name == name ? it : nullptr;
}

ArgKind argKind(const CommandArgs* args, size_t index) {
    if (!args) return ArgKind::Other;
    std::string_view kinds = args->kinds;
    const size_t bar = kinds.find('|');
    if (bar == std::string_view::npos)
        return index < kinds.size() ? ArgKind(kinds[index]) : ArgKind::Other;
    if (index < bar) return ArgKind(kinds[index]);
    std::string_view group = kinds.substr(bar + 1);
    return group.empty() ? ArgKind::Other : ArgKind(group[(index - bar) % group.size()]);
}

} // namespace orv
