// A scenario loop that never waits must not freeze the window: the statement loop lets the
// window's messages through while it runs, so an end request is heard.
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace orv {
namespace {

TEST(BusyLoopWindow, AnEndRequestIsHeardDuringALoopThatNeverWaits) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "DISPLAY not set; run under xvfb-run";
    test::GameProcess game;
    game.start("*define\ngame\n*start\n*l\ngoto *l\n");
    // Long enough for the window to open and the loop to spin.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    game.signal(SIGTERM);
    EXPECT_EQ(game.exitStatus(), 0) << "the window never heard SIGTERM while the loop ran";
}

} // namespace
} // namespace orv
