// The screen filter commands (`monocro`, `nega`) and the quakes (`quakex`, `quakey`).
#pragma once

namespace orv {

struct Engine;

void cmdMonocro(Engine& engine);
void cmdNega(Engine& engine);
void cmdQuakex(Engine& engine);
void cmdQuakey(Engine& engine);

} // namespace orv
