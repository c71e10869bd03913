// Auto-forward: a plain click wait ends by itself once the reader has had time for the text
// shown since the last wait, and a voice still speaking has finished. Decisions and the
// player's clicks switch it off.
#pragma once

#include <cstdint>

namespace orv {

struct Engine;

// The pause before the text moves on: a second, and more for each character to read.
uint32_t autoForwardDelay(const Engine& engine);

// Switches auto-forward (and the menu's mark) on or off.
void setAutoForward(Engine& engine, bool on);

// A choice, a button wait, an input dialog or the player's click: neither auto-forward nor Tab's
// skipping carries on past it. True when one of them was on.
bool stopPlayerModes(Engine& engine);

} // namespace orv
