#include "shell/Wait.h"

#include "interp/Engine.h"
#include "shell/WindowProc.h"

#include <algorithm>

namespace orv {

WaitRounds::WaitRounds(Engine& engine, const WaitSpec& spec)
    : engine_(engine), spec_(spec), previousKind_(engine.platform.waitKind()) {
    engine_.platform.setWaitKind(spec.kind);
}

WaitRounds::~WaitRounds() {
    engine_.platform.setWaitKind(previousKind_);
}

void WaitRounds::unwindIfReset() const {
    if (spec_.unwindOnReset && engine_.interp.resetRequested) throw ResetRequest{};
}

uint32_t WaitRounds::idleTimeout() {
    uint32_t timeout = spec_.maxIdleMs;
    const uint32_t now = engine_.platform.ticks();
    if (spec_.deadline)
        timeout = clockReached(now, *spec_.deadline) ? 0 : std::min(timeout, *spec_.deadline - now);
    if (spec_.cells) timeout = std::min(timeout, spec_.cells->msUntilNextCell());
    return timeout;
}

const Event* WaitRounds::poll() {
    Platform& platform = engine_.platform;
    unwindIfReset();
    const bool got = platform.takeEvent(event_);
    if (got) windowProc(engine_, event_);
    unwindIfReset();
    if (!got || spec_.idleAfterEvent) platform.waitForEvent(idleTimeout(), spec_.virtualStepMs);
    return got ? &event_ : nullptr;
}

bool WaitRounds::timeUp() {
    if (spec_.cells) spec_.cells->tick();
    return spec_.deadline && clockReached(engine_.platform.ticks(), *spec_.deadline);
}

void pumpPending(Engine& engine) {
    WaitSpec spec;
    spec.maxIdleMs = 0;
    waitUntil(engine, spec, [](const Event*) { return true; });
}

void pumpAllPending(Engine& engine) {
    WaitSpec spec;
    spec.kind = engine.platform.waitKind();
    spec.maxIdleMs = 0;
    waitUntil(engine, spec, [](const Event* event) { return event == nullptr; });
}

} // namespace orv
