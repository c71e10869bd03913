// The one window procedure: every wait pumps events through it, and it turns
// them into the flags the waits poll.
#pragma once

#include "platform/Platform.h"

namespace orv {

struct Engine;

void windowProc(Engine& engine, const Event& event);

// Takes one event from the platform and dispatches it; false when none was waiting.
bool pumpOneEvent(Engine& engine);

// Tells the platform what the current pump waits for, restoring the previous
// kind when the wait is over (however it ends).
class WaitKindScope {
public:
    WaitKindScope(Platform& platform, WaitKind kind)
        : platform_(platform), previous_(platform.waitKind()) {
        platform_.setWaitKind(kind);
    }
    ~WaitKindScope() { platform_.setWaitKind(previous_); }
    WaitKindScope(const WaitKindScope&) = delete;
    WaitKindScope& operator=(const WaitKindScope&) = delete;

private:
    Platform& platform_;
    WaitKind previous_;
};

} // namespace orv
