// The pace of display text: the delay after each character, the click wait with its animated
// cursor, and what a right click does while the text waits.
#pragma once

#include <cstdint>

namespace orv {

struct Engine;

// The wait after one character drawn at `start`. A left-button release during it sets lineSkip,
// which makes the rest of the display line (up to its next wait) appear without delay.
void characterDelay(Engine& engine, uint32_t start, bool& lineSkip);

// The click wait. The caller sets the cursor kind and position first. Returns once the player
// clicked, the autoclick time ran out or skip mode is on; a reset requested during the wait
// unwinds (ResetRequest).
void clickWait(Engine& engine);

// Hides the window (if shown) until a left or right click, then shows it again.
void hideWindowUntilClick(Engine& engine);

} // namespace orv
