// The one wait loop: the virtual clock it leaves behind, what ends it, and the reset unwind.
#include "shell/Wait.h"
#include "EngineHarness.h"
#include "platform/EventQueue.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;

TEST(Wait, ClockReachedAcrossTheWrap) {
    EXPECT_TRUE(clockReached(5, 5));
    EXPECT_FALSE(clockReached(4, 5));
    EXPECT_TRUE(clockReached(3, 0xfffffff0u)); // after the wrap
    EXPECT_FALSE(clockReached(0xfffffff0u, 3));
}

// Each idle round costs the empty poll's millisecond plus the site's step.
TEST(Wait, DeadlineRoundsMoveTheVirtualClockByTheStep) {
    for (uint32_t step : {0u, 1u}) {
        Harness h;
        WaitRule rule;
        rule.virtualStepMs = step;
        rule.deadline = 10;
        int rounds = 0;
        EXPECT_FALSE(waitUntil(h.engine(), rule, [&](const Event*) {
            ++rounds;
            return false;
        }));
        EXPECT_EQ(h.platform().clock(), 10u);
        EXPECT_EQ(rounds, step == 0 ? 10 : 5) << "step " << step;
    }
}

TEST(Wait, ThePredicateSeesTheEventAndTheKindIsRestored) {
    Harness h;
    Engine& e = h.engine();
    e.platform.postEvent({EventKind::Char, 0, 0, 'x'});
    WaitRule rule;
    rule.kind = WaitKind::PlayerOrTime;
    std::vector<int> seen;
    EXPECT_TRUE(waitUntil(e, rule, [&](const Event* event) {
        EXPECT_EQ(e.platform.waitKind(), WaitKind::PlayerOrTime);
        seen.push_back(event ? event->code : -1);
        return seen.size() == 2;
    }));
    EXPECT_EQ(seen, (std::vector<int>{'x', -1}));
    EXPECT_EQ(e.shell.pointerX, 'x'); // through the window procedure
    EXPECT_EQ(e.platform.waitKind(), WaitKind::None);
}

TEST(Wait, OnlyWaitsForThePlayerUnwindOnAReset) {
    for (bool unwind : {false, true}) {
        Harness h;
        Engine& e = h.engine();
        e.interp.resetRequested = true;
        WaitRule rule;
        rule.kind = WaitKind::Player;
        rule.unwindOnReset = unwind;
        e.platform.postEvent({EventKind::MouseMove, 1, 2, 0});
        bool thrown = false;
        try {
            waitUntil(e, rule, [](const Event*) { return true; });
        } catch (const ResetRequest&) {
            thrown = true;
        }
        EXPECT_EQ(thrown, unwind);
        EXPECT_EQ(e.platform.waitKind(), WaitKind::None);
    }
}

TEST(Wait, TimersTellHowLongUntilTheNextIsDue) {
    TimerSet timers;
    EXPECT_EQ(timers.msUntilNext(0), UINT32_MAX);
    timers.set(1, 100, 0xffffffc0u); // due 36 ms after the wrap
    timers.set(2, 500, 0xffffffc0u);
    EXPECT_EQ(timers.msUntilNext(0xfffffff0u), 52u);
    EXPECT_EQ(timers.msUntilNext(40), 0u);
}
