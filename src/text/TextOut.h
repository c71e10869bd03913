// Text out for learners, translators and screen readers: each finished page as one line of
// UTF-8, written to --text-out as soon as the page ends and, when the player's menu says so, put
// on the clipboard, where dictionary and translation tools pick it up.
#pragma once

#include <string_view>

namespace orv {

struct Engine;

// A character drawn on the page (UTF-8).
void noteShownCharacter(Engine& engine, std::string_view utf8);
// The page ends (a page wait, a clear, a choice): its text goes out, an empty page does not.
void notePageEnd(Engine& engine);

// The player's switch for copying each page to the clipboard (kept in orvane.ini).
void setCopyPages(Engine& engine, bool on);
void loadTextOutSettings(Engine& engine);

} // namespace orv
