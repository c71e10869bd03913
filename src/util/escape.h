// Text from a scenario or an events file on its way to a terminal or a log.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// Control characters shown as escapes ("\x1b"), so that a message cannot move
// the cursor, retitle or clear a terminal: C0 bytes other than line feed and
// tab, DEL, and the C1 controls in their UTF-8 form ("\u009b"). Everything
// else, UTF-8 included, is copied unchanged.
std::string escapeControls(std::string_view text);

} // namespace orv
