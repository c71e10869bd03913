// The choice commands of the scenario and the settings of their look and sound.
#pragma once

namespace orv {

struct Engine;

void cmdSelect(Engine& engine);
void cmdSelgosub(Engine& engine);
void cmdSelnum(Engine& engine);
void cmdSelectcolor(Engine& engine);
void cmdSelectvoice(Engine& engine);

} // namespace orv
