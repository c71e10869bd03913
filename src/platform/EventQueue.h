// The message queue both backends share: the engine takes, peeks for and
// discards events by kind, and posts its own, as it did with window messages.
#pragma once

#include "platform/Platform.h"

#include <deque>
#include <vector>

namespace orv {

class EventQueue {
public:
    void post(const Event& event) { events_.push_back(event); }
    bool take(Event& out);
    bool has(EventKind kind) const;
    bool hasOtherThan(EventKind kind) const;
    void discard(EventKind kind);
    bool empty() const { return events_.empty(); }
    size_t size() const { return events_.size(); }

private:
    std::deque<Event> events_;
};

// Repeating timers checked against the clock at each pump; no timer thread.
class TimerSet {
public:
    void set(int id, uint32_t periodMs, uint32_t now);
    void kill(int id);
    // Posts one Timer event for each timer whose period has elapsed.
    void fire(uint32_t now, EventQueue& queue);
    // Milliseconds until the next timer is due (0 when one is due now, UINT32_MAX with none).
    uint32_t msUntilNext(uint32_t now) const;

private:
    struct Timer {
        int id;
        uint32_t period;
        uint32_t next;
    };
    std::vector<Timer> timers_;
};

} // namespace orv
