// Picture buttons and text links, waited for through the engine on the headless platform.
#include "EngineHarness.h"
#include "Pictures.h"
#include "platform/Png.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Colours;
using test::Harness;
using test::kPrologue;

constexpr uint32_t kBack = 0x000080;  // the background
constexpr uint32_t kGreen = 0x00ff00; // button 1's highlight, the left half of the picture
constexpr uint32_t kRed = 0xff0000;   // button 2's highlight, the right half

// Button 1 covers (100..199, 100..149); button 2, registered later, (150..249, 120..169), so the
// two overlap at (150..199, 120..149).
int runButtons(Harness& h, const std::string& body,
               const std::string& buttons = "btn 1,100,100,100,50,0,0\n"
                                            "btn 2,150,120,100,50,100,0\n") {
    h.file("btn.bmp", test::bmp24(200, 50, [](int x, int) { return x < 100 ? kGreen : kRed; }));
    h.scenario(std::string(kPrologue) + "bg #000080,1\nbtndef \"btn.bmp\"\n" + buttons + body +
               "end\n");
    return h.run();
}

Colours screenAt(Harness& h, std::initializer_list<std::pair<int, int>> at) {
    return test::windowColoursAt(h.platform().window(), at);
}

struct WaitCase {
    const char* name;
    const char* waits;
    const char* events;
    int32_t first, second;        // %0 and %1 afterwards
    uint32_t overlapShows = kRed; // the screen at (175, 130) at the end
};

const WaitCase kWaitCases[] = {
    {"LaterButtonWinsWhereTheyOverlap", "btnwait2 %0\nbtnwait2 %1\n",
     "click 175 130\nclick 175 130\n", 2, 2},
    {"BtnwaitEmptiesTheTableAfterAButton", "btnwait %0\nbtnwait2 %1\n",
     "click 120 105\nclick 120 105\n", 1, 0, kGreen},
    {"Btnwait2KeepsTheTable", "btnwait2 %0\nbtnwait2 %1\n", "click 120 105\nclick 120 105\n", 1, 1,
     kGreen},
    {"AClickOutsideIsZeroAndKeepsTheTable", "btnwait %0\nbtnwait %1\n",
     "click 10 10\nclick 240 160\n", 0, 2},
    {"ARightClickIsMinusOneAndTakesTheHighlightAway", "btnwait %0\nbtnwait %1\n",
     "move 175 130\nrclick\nrclick 10 10\n", -1, -1, kBack},
    {"SpaceTakesTheButtonUnderThePointer", "btnwait2 %0\nbtnwait2 %1\n",
     "move 120 105\nkey space\nmove 175 130\nkey enter\n", 1, 2},
};

class ButtonWait : public ::testing::TestWithParam<WaitCase> {};

TEST_P(ButtonWait, ReturnsTheClickedValue) {
    const WaitCase& c = GetParam();
    Harness h(c.events);
    ASSERT_EQ(runButtons(h, c.waits), 0) << h.log();
    EXPECT_EQ((std::vector{h.engine().vars.num[0], h.engine().vars.num[1]}),
              (std::vector{c.first, c.second}));
    EXPECT_EQ(screenAt(h, {{175, 130}}), Colours{c.overlapShows});
}

INSTANTIATE_TEST_SUITE_P(All, ButtonWait, ::testing::ValuesIn(kWaitCases), test::CaseName());

// The highlight is drawn on the display only, so the composition never sees it; a source
// rectangle reaching past the picture copies only what lies inside it.
TEST(ButtonHighlight, LiesOnTheDisplayAndCopiesOnlyThePictureItHas) {
    Harness h("move 120 105\nmove 10 10\nclick\n");
    ASSERT_EQ(
        runButtons(h, "btnwait2 %0\n", "btn 1,0,0,100,100,150,-20\nbtn 2,100,100,100,50,0,0\n"), 0)
        << h.log();
    // Picture rows 0..49 landed on screen rows 20..69, columns 150..199 on 0..49; the button
    // left before was put back from the composition.
    EXPECT_EQ(screenAt(h, {{10, 19}, {10, 20}, {49, 69}, {50, 30}, {10, 70}, {120, 105}}),
              (Colours{kBack, kRed, kRed, kBack, kBack, kBack}));
    EXPECT_EQ(pixelColor(h.engine().graphics.surfaces.composition, 10, 20), kBack);
}

// Two links on the first line: <1 over three cells from x = 8, <2 over two cells from x = 112
// (default window: origin 8, 16; pitch 26 x 28).
const char* const kLinks = "<1あいう>え<2おか>\n";

TEST(TextLinkWait, IgnoresRightClicksAndClicksBesideTheLinks) {
    Harness h("rclick 20 20\nclick 100 20\nclick 120 20\n");
    ASSERT_EQ(h.run(std::string(kPrologue) + kLinks + "tbtnwait %0\nend\n"), 0) << h.log();
    EXPECT_EQ(h.engine().vars.num[0], 2);
    EXPECT_EQ(h.engine().text.links.count, 0);
}

TEST(TextLinkWait, UnderlinesTheLinkUnderThePointerInTheLinkColour) {
    test::TempDir shots;
    const std::string shot = (shots.path() / "link.png").string();
    Harness h("move 20 20\nshot " + shot + "\nclick\n");
    h.scenario("*define\nlinkcolor 10,20,30\ngame\n*start\n" + std::string(kLinks) +
               "tbtnwait %0\nend\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    auto picture = readPng(shot);
    ASSERT_TRUE(picture);
    auto underlined = [&](int x, int y) {
        const uint8_t* p = picture->pixel(x, y);
        return p[0] == 10 && p[1] == 20 && p[2] == 30;
    };
    // The line runs on row top + pitch - 2 = 42 from left = 8 to right - 2 = 84.
    EXPECT_EQ(
        (std::vector{underlined(8, 42), underlined(84, 42), underlined(7, 42), underlined(85, 42),
                     underlined(40, 41), underlined(40, 43), underlined(114, 42)}),
        (std::vector{true, true, false, false, false, false, false}));
    // The wait ends with the screen redrawn: no underline is left.
    EXPECT_NE(screenAt(h, {{40, 42}}), Colours{0x0a141e});
}

// The link wait takes the button picture for its snapshot: the buttons still answer afterwards,
// but show no highlight until the next btndef.
TEST(TextLinkWait, LeavesTheButtonsWithoutTheirPicture) {
    Harness h("click 20 20\nmove 120 105\nclick\n");
    ASSERT_EQ(runButtons(h, std::string(kLinks) + "tbtnwait %0\nbtnwait2 %1\n"), 0) << h.log();
    EXPECT_EQ((std::vector{h.engine().vars.num[0], h.engine().vars.num[1]}), (std::vector{1, 1}));
    EXPECT_EQ(screenAt(h, {{120, 105}}), Colours{kBack});
}

// An automatic click beside every link can never end the wait: the headless run gives up (status
// 3) instead of clicking for ever. Beside the buttons, btnwait takes it as 0.
TEST(TextLinkWait, AnAutomaticClickBesideTheLinksEndsTheRun) {
    Harness h("move 300 300\n", 600000, true);
    EXPECT_EQ(h.run(std::string(kPrologue) + kLinks + "btnwait2 %1\ntbtnwait %0\nend\n"), 3);
    EXPECT_EQ(h.engine().vars.num[1], 0);
}

} // namespace
} // namespace orv
