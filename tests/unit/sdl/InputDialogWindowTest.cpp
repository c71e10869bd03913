// The input dialog in the real window (xvfb-run, no window manager): keys typed with xdotool
// reach its field through SDL's text input, and the value arrives in the scenario.
#include "XDisplay.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace orv {
namespace {

using test::GameProcess;
using test::Rgb;

using test::kDialogFace;
using test::kGreen;

TEST(InputDialogWindow, TypedDigitsArriveAndEscapeLeavesTheDialogOpen) {
    ORVANE_REQUIRE_X_DISPLAY();
    if (!fs::exists("/usr/bin/xdotool")) GTEST_SKIP() << "/usr/bin/xdotool absent";
    GameProcess game;
    // Green only for the number typed; the dialog lies over the picture's centre while open.
    game.start("*define\ngame\n*start\nbg #0000ff,1\ninputnum %1,\"x\"\n"
               "if %1 = 42 bg #00ff00,1\nwait 600000\nend\n");
    ASSERT_TRUE(game.gameCentreIs(kDialogFace)) << "the input dialog never appeared";

    ASSERT_TRUE(test::runTool("/usr/bin/xdotool key Escape type --delay 30 42"));
    EXPECT_TRUE(game.gameCentreIs(kDialogFace)) << "Escape closed the dialog";
    ASSERT_TRUE(test::runTool("/usr/bin/xdotool key Return"));
    EXPECT_TRUE(game.gameCentreIs(kGreen)) << "the typed number did not arrive";
    EXPECT_TRUE(game.running());
}

} // namespace
} // namespace orv
