#include "platform/EventQueue.h"

#include <algorithm>
#include <cstdint>

namespace orv {

bool EventQueue::take(Event& out) {
    if (events_.empty()) return false;
    out = events_.front();
    events_.pop_front();
    return true;
}

bool EventQueue::has(EventKind kind) const {
    return std::any_of(events_.begin(), events_.end(),
                       [kind](const Event& e) { return e.kind == kind; });
}

bool EventQueue::hasOtherThan(EventKind kind) const {
    return std::any_of(events_.begin(), events_.end(),
                       [kind](const Event& e) { return e.kind != kind; });
}

void EventQueue::discard(EventKind kind) {
    std::erase_if(events_, [kind](const Event& e) { return e.kind == kind; });
}

void TimerSet::set(int id, uint32_t periodMs, uint32_t now) {
    kill(id);
    if (periodMs == 0) periodMs = 1;
    timers_.push_back({id, periodMs, now + periodMs});
}

void TimerSet::kill(int id) {
    std::erase_if(timers_, [id](const Timer& t) { return t.id == id; });
}

void TimerSet::fire(uint32_t now, EventQueue& queue) {
    for (Timer& t : timers_) {
        // Signed difference so the comparison survives the clock's wrap.
        if (int32_t(now - t.next) >= 0) {
            // Like a window timer: one pending tick however late we are.
            if (!queue.has(EventKind::Timer)) queue.post({EventKind::Timer, 0, 0, t.id});
            t.next = now + t.period;
        }
    }
}

uint32_t TimerSet::msUntilNext(uint32_t now) const {
    uint32_t soonest = UINT32_MAX;
    for (const Timer& t : timers_) {
        const int32_t left = int32_t(t.next - now);
        soonest = std::min(soonest, left <= 0 ? 0u : uint32_t(left));
    }
    return soonest;
}

} // namespace orv
