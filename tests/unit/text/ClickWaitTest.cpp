// The pace of the text on the virtual clock, beyond the scenario tests: what the inline waits read,
// which characters of clickstr wait, clickpos, the right click and the cursors.
#include "TextTestSupport.h"

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {

// Runs the game block and returns the numeric variables 0-9 it left.
std::vector<int32_t> timings(Harness& h, const std::string& game, const std::string& define = "") {
    h.scenario("*define\n" + define + "game\n*start\n" + game + "end\n");
    const int status = h.run();
    EXPECT_EQ(status, 0) << h.log();
    const auto& n = h.engine().vars.num;
    return std::vector<int32_t>(n.begin(), n.begin() + 10);
}

} // namespace

// What !w and !d wait for with digits is the scenario test text-pacing.
TEST(InlineWaits, WaitSkipAndSpeedReadDigitsOnly) {
    Harness h;
    const auto t = timings(h, "resettimer\n!s0!w\ngettimer %0\n"
                              "resettimer\n!s0ab!s!w%5\ngettimer %1\n");
    EXPECT_LE(std::max(t[0], t[1]), 1); // !w without digits: no time but a look at the input
    // "!s" followed by "!" set the delay to 0; "!w" read no digits, then "%5" is drawn as text.
    EXPECT_EQ(h.transcript(), "ab%5\n");
}

namespace {

// How many 1000 ms autoclick waits a display line makes with the given clickstr list.
int waitsFor(const std::string& line, const std::string& list) {
    Harness h;
    const int32_t t = timings(h, "!s0\nautoclick 1000\nresettimer\n" + line + "\ngettimer %0\n",
                              "clickstr \"" + list + "\",0\n")[0];
    EXPECT_LT(t % 1000, 100) << line;
    return t / 1000;
}

} // namespace

TEST(ClickWait, ClickstrWaitsOnceAfterARunAndNotBeforeAnExplicitWait) {
    // After 」 only; after 。 although 」 follows; the explicit wait only; _ exempts the second 。.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"あ。」", "。」", 1},    {"あ。」", "。", 1},   {"あ。@い", "。", 1},
        {"い。え_。お", "。", 1}, {"い。え。", "。", 2}, {"い。え。", "", 0}};
    for (auto [line, list, waits] : cases) EXPECT_EQ(waitsFor(line, list), waits) << line;
}

TEST(ClickWait, ClickposStoresWhereTheClickWas) {
    Harness h("click 123 45\n");
    const auto t = timings(h, "clickpos %3,%4\n");
    EXPECT_EQ(std::pair(t[3], t[4]), std::pair(123, 45));
}

TEST(ClickWait, ARightClickHidesTheWindowUntilTheNextClick) {
    // The wait itself is never answered by the click that brings the window back; the click
    // command ignores right clicks.
    for (auto [game, status] : {std::pair("あ@\nend\n", 3), {"あ\nclick\nend\n", 0}}) {
        Harness g("rclick\nclick\n");
        EXPECT_EQ(g.run(std::string(kPrologue) + game), status) << game;
    }
}

// Skip mode and page-at-a-time mode are the scenario tests text-skip, menu-skip-mode, choice-skip
// and text-pagemode.

TEST(ClickWait, ACursorOfOneCellIsNeverDrawnAndAnAnimatedOneIs) {
    // The first click ends the click wait; the page wait then runs for 100 ms and the run ends
    // there with no input left, the cursor still on the screen.
    Harness h("click\nwait 100\n");
    h.file("one.bmp", bmp24(8, 8, [](int, int) { return 0xff0000u; }));
    h.file("three.bmp", bmp24(24, 8, [](int x, int) { return x < 8 ? 0x00ff00u : 0x0000ffu; }));
    h.scenario(std::string(kPrologue) + "setcursor 0,\":c;one.bmp\",0,0\n"
                                        "abssetcursor 1,\":c/3,10,1;three.bmp\",300,200\n"
                                        "あ@\nい\\\nend\n");
    ASSERT_EQ(h.run(), 3) << h.log();
    const FrameBuffer& window = h.platform().window();
    // The page cursor stopped on its last cell, at its fixed place.
    EXPECT_EQ(windowPixel(window, 300, 200), 0x0000ffu);
    EXPECT_EQ(windowPixel(window, 307, 207), 0x0000ffu);
    EXPECT_NE(windowPixel(window, 308, 207), 0x0000ffu);
    // The click cursor (one cell) never reached the window.
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_NE(windowPixel(window, x, y), 0xff0000u) << x << "," << y;
}
