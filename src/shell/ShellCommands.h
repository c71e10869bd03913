// The window's script commands: the pointer's cursor, the title, the version box's text and the
// four commands that work the menu bar as the player would.
#pragma once

#include <cstdint>

namespace orv {

struct Engine;
struct ShellState;
struct CursorImage;

void cmdMousecursor(Engine& engine);
void cmdCaption(Engine& engine);
void cmdVersionstr(Engine& engine);
void cmdMenuFull(Engine& engine);
void cmdMenuWindow(Engine& engine);
void cmdMenuClickDef(Engine& engine);
void cmdMenuClickPage(Engine& engine);

// At every engine start: the system arrow again, and the font menu filled anew.
void startShellPass(Engine& engine);

// The picture of the custom cursor at this moment (an animated one steps through its sequence
// from when it was set); null when no custom cursor is set.
const CursorImage* currentCursorFrame(const ShellState& shell, uint32_t now);

} // namespace orv
