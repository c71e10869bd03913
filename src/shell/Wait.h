// The one wait of the engine. Every place that waits (for the player, for the clock, for a menu
// command to be carried out) goes round the same loop: take one event through the window
// procedure, idle when nothing came, ask the caller whether the wait is over, move the animated
// cells on, and stop at the deadline. Idling blocks on the platform's event wait in a window and
// moves the virtual clock by the site's own step headless, so scripted runs keep their timings.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace orv {

struct Engine;

// Whether the wrapping millisecond clock has reached the deadline. The difference is taken as
// signed, so a deadline a little in the past counts as reached even while the clock is small
// (the virtual clock starts at 0), and a wait across the clock's wrap lasts its time.
inline bool clockReached(uint32_t now, uint32_t deadline) {
    return static_cast<int32_t>(now - deadline) >= 0;
}

// Pictures whose cells change with time while a wait goes on (the click-wait cursor).
class CellAnimation {
public:
    virtual ~CellAnimation() = default;
    // Shows the next cell when its time has come.
    virtual void tick() = 0;
    // How long until the next cell is due (the longest idle that keeps it on time).
    virtual uint32_t msUntilNextCell() = 0;
};

inline constexpr uint32_t kIdleForever = UINT32_MAX;

struct WaitRule {
    WaitKind kind = WaitKind::None;
    // Headless: how far the virtual clock moves when the wait idles (besides the millisecond an
    // empty poll itself takes).
    uint32_t virtualStepMs = 0;
    // In a window: the longest the wait blocks in one idle (the deadline and the cells shorten it).
    uint32_t maxIdleMs = kIdleForever;
    // Idle after a round that handled an event as well (paced loops), not only after an empty one.
    bool idleAfterEvent = false;
    // A reset to the start requested, or a load done, before or during the wait unwinds it (waits
    // for the player).
    bool unwindOnReset = false;
    // The wait ends when the clock reaches this (tested after each round).
    std::optional<uint32_t> deadline;
    CellAnimation* cells = nullptr;
    // The sprites' and standing pictures' cells move on during the wait (menus keep them still).
    bool animatesCells = true;
};

// One round at a time of the wait loop; waitUntil below is the whole loop.
class WaitRounds {
public:
    WaitRounds(Engine& engine, const WaitRule& rule);
    ~WaitRounds();
    WaitRounds(const WaitRounds&) = delete;
    WaitRounds& operator=(const WaitRounds&) = delete;

    // Takes at most one event through the window procedure, then idles as the rule says; the
    // event handled, or null.
    const Event* poll();
    // After the caller's test: the cells move on; true once the deadline is reached.
    bool timeUp();

private:
    void unwindIfReset() const;
    uint32_t idleTimeout();

    Engine& engine_;
    const WaitRule& rule_;
    WaitKind previousKind_;
    Event event_;
};

// Waits until done(event) is true (event: what this round handled, null when nothing came) or
// the deadline passes; true when done ended it.
template <class Done> bool waitUntil(Engine& engine, const WaitRule& rule, Done&& done) {
    WaitRounds rounds(engine, rule);
    for (;;) {
        const Event* event = rounds.poll();
        if (std::forward<Done>(done)(event)) return true;
        if (rounds.timeUp()) return false;
    }
}

// Lets the next pending event through (one round of a busy wait that ends at once).
void pumpPending(Engine& engine);
// Lets every pending event through, without waiting for more.
void pumpAllPending(Engine& engine);

} // namespace orv
