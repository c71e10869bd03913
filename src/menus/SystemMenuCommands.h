// The commands of the right-click menu, the system calls and the lookback viewer's settings, and
// what an engine pass and the reset to the start do to them.
#pragma once

#include <cstddef>

namespace orv {

struct Engine;
struct MenuWindow;

// Each engine pass: the mode, the menu and the lookback's colour and voice back to their defaults.
void startSystemMenuPass(Engine& engine);
// The reset to the start: right clicks enabled again, no menu running.
void resetSystemMenuToStart(Engine& engine);

// Whether `count` entries centred on the screen lie wholly on it.
bool menuFitsScreen(const MenuWindow& window, size_t count);

void cmdRmenu(Engine& engine);
void cmdRlookback(Engine& engine);
void cmdRoff(Engine& engine);
void cmdRmode(Engine& engine);
void cmdSystemcall(Engine& engine);
void cmdKillmenu(Engine& engine);
void cmdMenusetwindow(Engine& engine);
void cmdMenuselectcolor(Engine& engine);
void cmdMenuselectvoice(Engine& engine);
void cmdLookbackbutton(Engine& engine);
void cmdLookbackcolor(Engine& engine);
void cmdLookbackvoice(Engine& engine);

} // namespace orv
