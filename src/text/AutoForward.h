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

// A choice, a button wait or an input dialog: the player decides, so neither auto-forward nor
// Tab's skipping carries on past it.
void stopAtDecision(Engine& engine);

} // namespace orv
