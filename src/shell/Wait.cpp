#include "shell/Wait.h"

#include "graphics/CellTicker.h"
#include "interp/Engine.h"
#include "shell/WindowProc.h"

#include <algorithm>

namespace orv {

WaitRounds::WaitRounds(Engine& engine, const WaitRule& rule)
    : engine_(engine), rule_(rule), previousKind_(engine.platform.waitKind()) {
    engine_.platform.setWaitKind(rule.kind);
}

WaitRounds::~WaitRounds() {
    engine_.platform.setWaitKind(previousKind_);
}

void WaitRounds::unwindIfReset() const {
    if (!rule_.unwindOnReset) return;
    if (engine_.interp.resetRequested) throw ResetRequest{};
    if (engine_.interp.loadPending) throw LoadRequest{};
}

uint32_t WaitRounds::idleTimeout() {
    uint32_t timeout = rule_.maxIdleMs;
    const uint32_t now = engine_.platform.ticks();
    if (rule_.deadline)
        timeout = clockReached(now, *rule_.deadline) ? 0 : std::min(timeout, *rule_.deadline - now);
    if (rule_.cells) timeout = std::min(timeout, rule_.cells->msUntilNextCell());
    if (rule_.animatesCells) timeout = std::min(timeout, msUntilNextCell(engine_));
    return timeout;
}

const Event* WaitRounds::poll() {
    Platform& platform = engine_.platform;
    unwindIfReset();
    const bool got = platform.takeEvent(event_);
    if (got) windowProc(engine_, event_);
    unwindIfReset();
    // A virtual clock steps by virtualStepMs whatever the timeout: spare working it out.
    if (!got || rule_.idleAfterEvent)
        platform.waitForEvent(platform.isHeadless() ? 0 : idleTimeout(), rule_.virtualStepMs);
    return got ? &event_ : nullptr;
}

bool WaitRounds::timeUp() {
    // A load inside the round has replaced the screen: the wait's own cells (the cursor and the
    // display under it) belong to the page left behind.
    if (rule_.unwindOnReset && engine_.interp.loadPending) throw LoadRequest{};
    if (rule_.animatesCells) animateCells(engine_);
    if (rule_.cells) rule_.cells->tick();
    return rule_.deadline && clockReached(engine_.platform.ticks(), *rule_.deadline);
}

// Letting events through is no wait: the pictures stand still.
void pumpPending(Engine& engine) {
    WaitRule rule;
    rule.maxIdleMs = 0;
    rule.animatesCells = false;
    waitUntil(engine, rule, [](const Event*) { return true; });
}

void pumpAllPending(Engine& engine) {
    WaitRule rule;
    rule.kind = engine.platform.waitKind();
    rule.maxIdleMs = 0;
    rule.animatesCells = false;
    waitUntil(engine, rule, [](const Event* event) { return event == nullptr; });
}

} // namespace orv
