// Message boxes drawn inside the real window (xvfb-run, no window manager, so no system dialog
// could ever answer): the whole program is run, and the X screen is read back.
#include "XDisplay.h"
#include "platform/DialogView.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace orv {
namespace {

using test::GameProcess;
using test::Rgb;

class MessageBoxWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ORVANE_REQUIRE_X_DISPLAY();
        if (!fs::exists("/usr/bin/xdotool")) GTEST_SKIP() << "/usr/bin/xdotool absent";
    }

    static void xdotool(const std::string& args) {
        ASSERT_TRUE(test::runTool("/usr/bin/xdotool " + args)) << args;
    }

    GameProcess game_;
};

using test::kBlue;
using test::kDialogFace;

int measure(std::string_view label) {
    static UiText text(kMenuTextPixels);
    return text.measure(label);
}

TEST_F(MessageBoxWindowTest, TheQuitQuestionWaitsNoKeepsTheGameYesEndsIt) {
    game_.start("*define\ngame\n*start\nbg #0000ff,0\nprint 1\nwait 600000\nend\n");
    ASSERT_TRUE(game_.gameCentreIs(kBlue)) << "the game never showed its picture";

    // 終了 is the first entry of the menu bar: the question comes, and stays.
    xdotool("mousemove 8 10 click 1");
    ASSERT_TRUE(game_.gameCentreIs(kDialogFace)) << "the quit question never appeared";
    EXPECT_TRUE(game_.running()) << "the question was answered for the player";

    xdotool("mousemove 320 300 key Escape");
    ASSERT_TRUE(game_.gameCentreIs(kBlue)) << "No did not close the question";
    EXPECT_TRUE(game_.running()) << "No ended the game";

    xdotool("mousemove 8 10 click 1");
    ASSERT_TRUE(game_.gameCentreIs(kDialogFace));
    // Yes with the mouse, where the dialog model puts it.
    const DialogView d(
        measure, "\xE7\xB5\x82\xE4\xBA\x86\xE7\xA2\xBA\xE8\xAA\x8D",
        "\xE7\xB5\x82\xE4\xBA\x86\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x99\xE3\x81\x8B"
        "\xEF\xBC\x9F",
        {{"\xE3\x81\xAF\xE3\x81\x84", 1}, {"\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88", 2}}, 2);
    const MenuBox yes = d.buttonBoxes()[0];
    xdotool("mousemove " + std::to_string(yes.x + yes.w / 2) + " " +
            std::to_string(yes.y + yes.h / 2 + GameProcess::kStrip) + " click 1");
    EXPECT_EQ(game_.exitStatus(), 0) << "Yes did not end the game";
}

TEST_F(MessageBoxWindowTest, AHangUpEndsTheRunEvenWhileTheQuestionIsOpen) {
    game_.start("*define\ngame\n*start\nbg #0000ff,0\nprint 1\nwait 600000\nend\n");
    ASSERT_TRUE(game_.gameCentreIs(kBlue));
    xdotool("mousemove 8 10 click 1");
    ASSERT_TRUE(game_.gameCentreIs(kDialogFace));
    game_.signal(SIGHUP);
    EXPECT_EQ(game_.exitStatus(), 0) << "the hang-up did not end the run through its shut-down";
}

TEST_F(MessageBoxWindowTest, AnErrorBoxShowsItsTextBeforeTheProgramEnds) {
    game_.start("*define\ngame\n*start\nbg #0000ff,0\nprint 1\nnosuchcommand\nend\n");
    ASSERT_TRUE(game_.gameCentreIs(kDialogFace)) << "the error box never appeared";
    EXPECT_TRUE(game_.running()) << "the program ended before the player saw the error";

    // The box as the model lays it out for the text the program reported.
    const std::string err = game_.stderrText();
    const size_t close = err.find("] ");
    ASSERT_TRUE(err.starts_with("[") && close != std::string::npos) << err;
    std::string text = err.substr(close + 2);
    if (text.ends_with('\n')) text.pop_back();
    const DialogView d(measure, err.substr(1, close - 1), text, {{"OK", 0}}, 0);
    // Ink on the first line of the text: dark pixels where the model puts it.
    ASSERT_TRUE(game_.screenShows([&](const test::Shot& s) {
        return s.dark(d.textLeft(), d.textTop() + GameProcess::kStrip,
                      d.box().x + d.box().w - d.textLeft(), kDialogLineHeight) > 0;
    })) << "the error text is not drawn";

    xdotool("mousemove 320 300 key Return");
    EXPECT_EQ(game_.exitStatus(), 2);
}

} // namespace
} // namespace orv
