// The events file of a headless run: scripted player input, one event a line.
//
//   click [X Y]   rclick [X Y]   move X Y   key space|enter|escape|tab|CHAR
//   menu ID       text UTF-8...  answer yes|no|ok   wait MS   shot FILE
//   wheel up|down  key tab|up|down|left|right|backtab|f11|f12|alt+enter
//   hold ctrl     release ctrl
//
// '#' begins a comment at the start of a line or after white space, except
// in "key #", which types the character. Event and key names ignore case.
// text and shot take the rest of the line, inner spaces included.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

enum class ScriptEventKind {
    Click,
    RClick,
    Move,
    Key,
    Menu,
    Text,
    Answer,
    Wait,
    Shot,
    Wheel,
    Hold
};

enum class ScriptAnswer { Yes, No, Ok };

struct ScriptEvent {
    ScriptEventKind kind = ScriptEventKind::Click;
    int line = 0;             // 1-based line in the events file
    bool hasPosition = false; // click / rclick given X Y; always true for move
    int x = 0;                // click, rclick, move
    int y = 0;
    int code = 0;          // key: the character (or kKey* code); menu: the command id; wheel;
                           // hold: 1 held, 0 released
    bool namedKey = false; // key: a key without a character (a Key event, not a Char)
    std::u32string text;   // text: one Char event per code point
    ScriptAnswer answer = ScriptAnswer::Ok;
    uint64_t ms = 0;  // wait
    std::string file; // shot
};

// Parses a whole events file. On a malformed line returns false with
// "events file LINE: reason" in error; out holds the events before it.
bool parseEventScript(std::string_view text, std::vector<ScriptEvent>& out, std::string& error);

// The events-file line of a click (with or without a place), a `text` or a `key`: what a
// generated script is written as, so that --events plays it again.
std::string formatEvent(const ScriptEvent& event);

// The most an events file may hold; a larger one (or an endless pipe) is refused.
inline constexpr uint64_t kMaxEventScriptBytes = uint64_t(64) << 20;

// Reads and parses the file at path: a regular file or a pipe (a shell's process
// substitution), read no further than kMaxEventScriptBytes.
bool loadEventScript(const std::string& path, std::vector<ScriptEvent>& out, std::string& error);

} // namespace orv
