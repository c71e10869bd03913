#include "text/AutoForward.h"

#include "interp/Engine.h"
#include "shell/MainMenu.h"

#include <algorithm>

namespace orv {

namespace {

constexpr uint32_t kBaseDelayMs = 1000;
// Per character, slow / normal / fast.
constexpr uint32_t kPerCharacterMs[] = {60, 40, 25};

} // namespace

uint32_t autoForwardDelay(const Engine& engine) {
    const PlayerState& player = engine.player;
    const uint32_t perCharacter = kPerCharacterMs[size_t(player.autoForwardSpeed)];
    return kBaseDelayMs + perCharacter * uint32_t(std::max(player.charactersSinceWait, 0));
}

void setAutoForward(Engine& engine, bool on) {
    if (engine.player.autoForward == on) return;
    engine.player.autoForward = on;
    publishPlayerMenu(engine);
}

bool stopPlayerModes(Engine& engine) {
    PlayerState& player = engine.player;
    if (!player.tabSkip && !player.autoForward) return false;
    player.tabSkip = false;
    player.autoForward = false;
    publishPlayerMenu(engine);
    return true;
}

} // namespace orv
