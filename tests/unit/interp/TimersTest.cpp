#include "interp/Timers.h"
#include "EngineHarness.h"
#include "shell/WindowProc.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

// That a wait lasts its time whatever the clicks, and a delay ends on one, is the scenario test
// core-timers; waits of zero or less and the limit on gettimer are core-timer-edges.
TEST(Timers, ClickQueuedBeforeADelayDoesNotEndIt) {
    Harness h;
    h.scenario(std::string(kPrologue) + "resettimer\ndelay 400\ngettimer %0\nend\n");
    h.platform().postEvent({EventKind::LButtonUp, 0, 0, 0});
    h.platform().postEvent({EventKind::Char, 0, 0, ' '});
    ASSERT_EQ(h.run(), 0);
    EXPECT_EQ(h.engine().vars.num[0], 400);
}

TEST(Timers, TimerBaseSurvivesARestartAndStartsAtZero) {
    Harness h;
    h.scenario(std::string(kPrologue) + "gettimer %0\nend\n");
    h.platform().sleep(1234);
    ASSERT_EQ(h.run(), 0);
    EXPECT_EQ(h.engine().vars.num[0], 1234);
}

TEST(Timers, TimedWaitsAreNotPlayerWaits) {
    // A scripted click reaches only waits for the player: a timed wait leaves
    // it pending, and gives back the kind it found.
    Harness h("click\n");
    h.load("");
    h.platform().setWaitKind(WaitKind::PlayerOrTime);
    timedWait(h.engine(), 50, true);
    EXPECT_EQ(h.platform().waitKind(), WaitKind::PlayerOrTime);
    EXPECT_EQ(h.platform().scriptRemaining(), 1u);
    EXPECT_FALSE(h.engine().shell.clickFlag);
}
