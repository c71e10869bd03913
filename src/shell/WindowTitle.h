// The window's title: the game folder's name until the scenario gives its caption, and short
// notes of the player's own actions (a screenshot taken) shown over it for a moment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

struct Engine;

// How long a note stays in the title.
inline constexpr uint32_t kTitleNoteMs = 2000;

// The name of the folder as a taskbar should show it (UTF-8); "." and a trailing slash name the
// folder they stand for.
std::string folderTitle(const std::string& folder);

// Before the scenario runs: the folder's name, unless a caption was given in an earlier pass.
void showFolderTitle(Engine& engine);
// The scenario's caption (UTF-8) from now on.
void setCaptionTitle(Engine& engine, std::string utf8);
// Shows note in the title for kTitleNoteMs, then the title comes back.
void showTitleNote(Engine& engine, std::string_view utf8);
// At each window timer tick: the title comes back once the note's time is over.
void expireTitleNote(Engine& engine);

} // namespace orv
