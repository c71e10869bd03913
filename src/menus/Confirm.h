// The yes/no question of the game's menu (before a reset, a load or a save), drawn on the menu's
// darkened screen and answered only with the mouse.
#pragma once

#include <string_view>

namespace orv {

struct Engine;
struct MenuWindow;

enum class ConfirmAnswer : int { Cancelled = -1, No = 0, Yes = 1 };

// Asks the question (Shift-JIS) and waits for a left-button release on はい or いいえ, or a
// right-button release, which cancels. Keys do not answer it.
ConfirmAnswer confirm(Engine& engine, std::string_view question);

// The option under (x, y): Yes, No, or Cancelled for none.
ConfirmAnswer confirmOptionAt(const MenuWindow& window, int x, int y);

// Where the question of `bytes` bytes begins: centred, or at 1 when it is too long for that.
int confirmQuestionX(const MenuWindow& window, int bytes);

} // namespace orv
