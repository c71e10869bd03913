// What a right click does during a wait for the player, and the game's own menu behind it: the
// lookback, hiding the text window, the saves, the return to the title and the skip to the next
// choice. `systemcall` runs the same functions from the scenario.
#pragma once

#include "menus/Choice.h"
#include "platform/Platform.h"

#include <optional>
#include <string_view>

namespace orv {

struct Engine;
enum class SystemFunction : int;

// function: kRightClick for a right click (which the mode and `rmode` may refuse), or a function
// code for `systemcall`. Returns at once while it runs already. A reset it asks for is left
// requested for the caller's wait or statement to carry out. A load from a right click unwinds
// (LoadRequest); a systemcall's load leaves the load pending for the caller to clear.
void rightClickHandler(Engine& engine, int function);

// The wheel turned up during a wait where a right click goes to the handler above: the lookback
// opens when a right click could open it (`rlookback`, or the menu has a lookback entry). True
// when it was shown.
bool wheelLookback(Engine& engine);
bool isWheelUp(const Event* event);

// The menu form of the choice loop with the menu's window, colours and voices.
ChoiceForm menuForm(const Engine& engine);

// The whole screen without the text window, darkened by the menu's tint and shown at once; the
// window counts as shown and drawn, so the menu's text layer is what the screen carries.
void showMenuBackdrop(Engine& engine);

// The function a word of `rmenu` or `systemcall` names.
std::optional<SystemFunction> systemFunctionNamed(std::string_view word);

} // namespace orv
