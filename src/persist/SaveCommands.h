// The definition-block commands of the slot list, and the save slots' part of each engine pass
// and of the reset to the start.
#pragma once

namespace orv {

struct Engine;

// savenumber n: how many slots the list shows (1 to 20).
void cmdSavenumber(Engine& engine);
// savename "save title","load title","slot word".
void cmdSavename(Engine& engine);

// Each engine pass: the list's settings back to their defaults.
void startSavePass(Engine& engine);
// The reset to the start: nothing sounds, and no snapshot of the game left behind is kept.
void resetSavesToStart(Engine& engine);

} // namespace orv
