// "gloval.sav": the global variables (numbers and texts 200 to 4095) kept across runs. For each
// variable in order, its number as a 32-bit little-endian integer, then its text and a zero byte;
// no header, so the file stays readable by every other reader of the format.
#pragma once

#include <string>
#include <string_view>

namespace orv {

struct Engine;
struct Variables;

inline constexpr std::string_view kGlobalsFileName = "gloval.sav";

std::string encodeGlobals(const Variables& vars);
// A file cut short leaves the remaining numbers 0 and texts empty. A text that would take the
// string variables past their limits is cut there (no file this engine writes holds one).
void decodeGlobals(std::string_view bytes, Variables& vars);

// At every engine start: the globals from the file, or all cleared when there is none.
void loadGlobals(Engine& engine);
// At the end of the program, when `globalon` was given.
void saveGlobals(Engine& engine);

} // namespace orv
