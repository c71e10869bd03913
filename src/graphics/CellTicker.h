// The cell ticker: animated sprites and standing pictures move on to their next cell while the
// engine waits. Every wait runs one pass per round; a pass that moved a cell shows the whole
// dirty region at once, so a sprite loaded without an effect appears with it.
#pragma once

#include "graphics/Compose.h"

#include <cstdint>

namespace orv {

struct Engine;

// Whether the player's input (any message but a timer's) is waiting. Animation never delays it:
// a pass stops before the next picture due as soon as something waits.
class InputProbe {
public:
    virtual ~InputProbe() = default;
    virtual bool inputWaiting() = 0;
};

// One pass over sprites 0..255 and then the standing pictures left, centre, right: each due
// picture moves to its next cell and its area is marked dirty. True when a cell moved.
bool advanceDueCells(LayerState& layers, uint32_t now, InputProbe& input);

// Milliseconds until the next cell is due (0 when one is due now; kNoCellDue when nothing
// animates, or what animates rests on its last cell).
inline constexpr uint32_t kNoCellDue = UINT32_MAX;
uint32_t msUntilNextCellDue(const LayerState& layers, uint32_t now);

// The ticker on the running engine: one pass, then the dirty region shown with effect type 1.
void animateCells(Engine& engine);
uint32_t msUntilNextCell(Engine& engine);

} // namespace orv
