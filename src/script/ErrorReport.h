// The single fatal error report: every scenario error ends the program here,
// after a message box naming the error and the scenario position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

struct Engine;
class ScriptBuffer;

// Longest excerpt of scenario text the report shows, markers included.
inline constexpr size_t kMaxExcerptBytes = 1999;

// pattern with its first "%s" replaced by arg.
std::string formatMessage(std::string_view pattern, std::string_view arg);
// pattern with its first "%d" replaced by the decimal value.
std::string formatMessage(std::string_view pattern, int64_t value);

// Where the read position stands: "N.txt line:L\n" (for a scrambled scenario
// the scrambled file's name, lines counted from its start), then up to three
// lines of text ending at the position, each line after the first opened by a
// marker: "|" for earlier lines, ">" for the line of the position.
std::string errorPosition(const ScriptBuffer& buffer, int32_t pos);

// Shows caption and text (Shift-JIS) with the position, stops all media and
// ends the program through the shut-down path with status 2.
[[noreturn]] void reportError(Engine& engine, std::string_view caption, std::string_view text);

} // namespace orv
