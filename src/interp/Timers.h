// Timed waits and the scenario timer.
#pragma once

#include <cstdint>

namespace orv {

struct Engine;

// Waits ms milliseconds while pumping events; with endOnClick a left-button
// release during the wait ends it early. Clicks and keys queued before the
// wait are dropped first.
void timedWait(Engine& engine, int32_t ms, bool endOnClick);

void cmdWait(Engine& engine);
void cmdDelay(Engine& engine);
void cmdResettimer(Engine& engine);
void cmdWaittimer(Engine& engine);
void cmdGettimer(Engine& engine);

} // namespace orv
