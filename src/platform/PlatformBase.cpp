#include "platform/PlatformBase.h"

#include "platform/TerminationSignals.h"

namespace orv {

bool PlatformBase::takeEvent(Event& out) {
    takeTerminationSignal();
    gather();
    if (queue_.take(out)) return true;
    idle();
    return false;
}

bool PlatformBase::hasEvent(EventKind kind) {
    takeTerminationSignal();
    gather();
    return queue_.has(kind);
}

bool PlatformBase::hasEventOtherThan(EventKind kind) {
    takeTerminationSignal();
    gather();
    return queue_.hasOtherThan(kind);
}

void PlatformBase::discardEvents(EventKind kind) {
    gatherBeforeDiscard();
    queue_.discard(kind);
}

void PlatformBase::postClose(int code) {
    if (code == kCloseTerminate) {
        queue_.discard(EventKind::Close);
    } else if (queue_.has(EventKind::Close)) {
        return;
    }
    queue_.post({EventKind::Close, 0, 0, code});
}

bool PlatformBase::takeTerminationSignal() {
    if (!takeTerminationRequest()) return false;
    postClose(kCloseTerminate);
    return true;
}

} // namespace orv
