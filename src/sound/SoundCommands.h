// The scenario's sound commands, and the sound subsystem's row of the engine's lifecycle.
#pragma once

namespace orv {

struct Engine;

void cmdPlay(Engine& engine);
void cmdPlayonce(Engine& engine);
void cmdStop(Engine& engine);
void cmdPlaystop(Engine& engine);
void cmdWave(Engine& engine);
void cmdWaveloop(Engine& engine);
void cmdWavestop(Engine& engine);
void cmdCdfadeout(Engine& engine);
void cmdSoundpressplgin(Engine& engine);
void cmdMp3(Engine& engine);
void cmdMp3loop(Engine& engine);

// Each engine pass: no sound plug-ins registered, the fade-out time back to its default.
void startSoundPass(Engine& engine);

} // namespace orv
