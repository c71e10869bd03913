// inputstr and inputnum: a text or a number asked of the player in the platform's modal dialog.
#pragma once

namespace orv {

struct Engine;

void cmdInputstr(Engine& engine);
void cmdInputnum(Engine& engine);

} // namespace orv
