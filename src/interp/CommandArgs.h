// What a command's arguments name, beside the command table: which are labels and which are
// files of which kind, and whether the scenario runs on after the command. Only the checks
// that read a scenario without playing it look here; the handlers read their own arguments.
#pragma once

#include <span>
#include <string_view>

namespace orv {

enum class ArgKind : char {
    Other = '-',
    Label = 'L',   // *name, or a string that starts with '*'
    Picture = 'P', // a picture text: an optional tag, then the file name
    Sound = 'S',
    Video = 'V',
    Archive = 'A',
    Cursor = 'C', // a cursor file
};

struct CommandArgs {
    std::string_view name;
    // One letter (an ArgKind) per argument by position. After a '|' the letters repeat for the
    // rest of the list (the pairs of a choice list).
    std::string_view kinds;
    // The next statement in the text never runs after this one (goto, end, return, ...).
    bool endsFlow = false;
    // if and notif: a condition, then a statement of its own.
    bool conditional = false;
};

// The row of a command word, or nullptr for a command whose arguments name nothing to check
// and which lets the scenario run on.
const CommandArgs* commandArgs(std::string_view name);

// Every row, sorted by name.
std::span<const CommandArgs> commandArgsTable();

// The kind of the argument at a position (0 first).
ArgKind argKind(const CommandArgs* args, size_t index);

} // namespace orv
