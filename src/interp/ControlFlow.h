// Commands that move the read position, conditions, the click trap, the end
// of the program and the plain message box.
#pragma once

#include <cstdint>

namespace orv {

struct Engine;

// Pushes a return position for `return`, reporting the overflow of the stack.
void pushGosubReturn(Engine& engine, int32_t returnPos);

void cmdGoto(Engine& engine);
void cmdSkip(Engine& engine);
void cmdGosub(Engine& engine);
void cmdReturn(Engine& engine);
void cmdIf(Engine& engine);
void cmdNotif(Engine& engine);
void cmdCmp(Engine& engine);
void cmdTrap(Engine& engine);
void cmdEnd(Engine& engine);
void cmdMesbox(Engine& engine);

} // namespace orv
