// The whole program in a real window: a scenario's picture commands must reach the X display
// through the effect runner and the SDL backend, and a scenario loop that never waits must not
// freeze the window (the statement loop lets the window's messages through, so an end request
// is heard).
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace orv {
namespace {

TEST(EngineWindow, PrintShowsTheNewPictureInTheRealWindow) {
    ORVANE_REQUIRE_X_DISPLAY();
    test::GameProcess game;
    game.start("*define\ngame\n*start\nbg #0000ff,0\nprint 1\nwait 5000\n"
               "bg #ff0000,10,300\nwait 600000\nend\n");
    auto whole = [&](test::Rgb colour) {
        return game.screenShows([&](const test::Shot& s) {
            for (auto [x, y] : {std::pair(320, 240), std::pair(0, 0), std::pair(639, 479)})
                if (test::GameProcess::gamePixel(s, x, y) != colour) return false;
            return true;
        });
    };
    const bool blue = whole({0, 0, 255});
    const bool red = blue && whole({255, 0, 0});
    // SIGTERM ends the program without asking (nobody is there to answer).
    game.signal(SIGTERM);
    EXPECT_TRUE(blue) << "print 1 never showed the blue background";
    EXPECT_TRUE(red) << "the crossfade never reached the red background";
    EXPECT_EQ(game.exitStatus(), 0) << "SIGTERM did not end the program";
}

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
