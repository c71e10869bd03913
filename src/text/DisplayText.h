// Display text: the lines of the game block that are not commands, drawn into the text window one
// character at a time with their inline control bytes (waits, colours, links, speed changes).
#pragma once

#include <string_view>

namespace orv {

struct Engine;

// Draws one display line (Shift-JIS without its line feed) from the current column and line.
void drawDisplayText(Engine& engine, std::string_view line);

} // namespace orv
