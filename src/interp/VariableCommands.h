// Commands that compute into variables, and the alias and bound definitions.
#pragma once

namespace orv {

struct Engine;

void cmdMov(Engine& engine);
void cmdAdd(Engine& engine);
void cmdSub(Engine& engine);
void cmdInc(Engine& engine);
void cmdDec(Engine& engine);
void cmdMul(Engine& engine);
void cmdDiv(Engine& engine);
void cmdMod(Engine& engine);
void cmdRnd(Engine& engine);
void cmdRnd2(Engine& engine);
void cmdLen(Engine& engine);
void cmdGetreg(Engine& engine);
void cmdGetini(Engine& engine);
void cmdIntlimit(Engine& engine);
void cmdNumalias(Engine& engine);
void cmdStralias(Engine& engine);

} // namespace orv
