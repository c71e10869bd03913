// The engine's subsystems in one table: what each does when an engine run starts (a new pass,
// before the definition block) and at the reset to the start. The run and the reset walk the
// rows in order, so a new subsystem adds one row here instead of a call in each place.
#pragma once

#include <span>

namespace orv {

struct Engine;

struct SubsystemRow {
    const char* name;
    // Back to the state before the definition block; null when the subsystem has nothing to do.
    void (*startPass)(Engine& engine);
    // Back to the state the game block starts in; null when nothing survives that matters.
    void (*resetToStart)(Engine& engine);
    // After the definition block, before the window is shown; null when nothing is to be done.
    void (*afterDefinitions)(Engine& engine);
};

// In the order both walks take: it is observable (media stop first, the screen turns black
// before the cursor and menu checks come back).
std::span<const SubsystemRow> subsystemRows();

void startSubsystemPasses(Engine& engine);
void resetSubsystemsToStart(Engine& engine);
void finishSubsystemDefinitions(Engine& engine);

} // namespace orv
