#include "interp/Timers.h"
#include "EngineHarness.h"
#include "shell/WindowProc.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

// Runs body in the game block; %n values read back with num().
struct Game : Harness {
    explicit Game(const std::string& body, const std::string& events = "") : Harness(events) {
        scenario(std::string(kPrologue) + body + "\nend\n");
        status = run();
    }
    int32_t num(int i) { return engine().vars.num[size_t(i)]; }
    int status;
};

} // namespace

// That a wait lasts its time whatever the clicks, and a delay ends on one, is the scenario test
// core-timers.
TEST(Timers, ClickQueuedBeforeADelayDoesNotEndIt) {
    Harness h;
    h.scenario(std::string(kPrologue) + "resettimer\ndelay 400\ngettimer %0\nend\n");
    h.platform().postEvent({EventKind::LButtonUp, 0, 0, 0});
    h.platform().postEvent({EventKind::Char, 0, 0, ' '});
    ASSERT_EQ(h.run(), 0);
    EXPECT_EQ(h.engine().vars.num[0], 400);
}

TEST(Timers, ZeroAndNegativeWaitsPassOnce) {
    Game g("resettimer\nwait 0\nwait -50\ndelay -1\ngettimer %0");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_LE(g.num(0), 3);
}

TEST(Timers, GettimerAppliesTheBounds) {
    Harness h;
    h.scenario("*define\nintlimit 3,0,100\ngame\n*start\nresettimer\nwait 250\ngettimer %3\n"
               "gettimer %4\nend\n");
    ASSERT_EQ(h.run(), 0);
    EXPECT_EQ(h.engine().vars.num[3], 100);
    EXPECT_EQ(h.engine().vars.num[4], 250);
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
