// Picture buttons and text links, waited for through the engine on the headless platform.
#include "EngineHarness.h"
#include "Pictures.h"
#include "platform/Png.h"

#include <gtest/gtest.h>

#include <array>

namespace orv {
namespace {

using test::bmp24;
using test::Colours;
using test::Harness;
using test::kPrologue;

constexpr uint32_t kBackground = 0x000080;
constexpr uint32_t kGreen = 0x00ff00; // button 1's highlight, the left half of the picture
constexpr uint32_t kRed = 0xff0000;   // button 2's highlight, the right half

// Button 1 covers (100..199, 100..149); button 2, registered later, (150..249, 120..169), so the
// two overlap at (150..199, 120..149).
std::string buttonScreen(const std::string& waits) {
    return std::string(kPrologue) + "bg #000080,1\nbtndef \"btn.bmp\"\n" +
           "btn 1,100,100,100,50,0,0\nbtn 2,150,120,100,50,100,0\n" + waits + "end\n";
}

void addButtonPicture(Harness& h) {
    h.file("btn.bmp", bmp24(200, 50, [](int x, int) { return x < 100 ? kGreen : kRed; }));
}

Colours screenAt(Harness& h, std::initializer_list<std::pair<int, int>> at) {
    return test::windowColoursAt(h.platform().window(), at);
}

struct WaitCase {
    const char* name;
    const char* waits;
    const char* events;
    std::array<int32_t, 2> results; // %0, %1
};

void PrintTo(const WaitCase& c, std::ostream* out) {
    *out << c.name;
}

const WaitCase kWaitCases[] = {
    {"later-button-wins-where-they-overlap",
     "btnwait2 %0\nbtnwait2 %1\n",
     "click 175 130\nclick 160 105\n",
     {2, 1}},
    {"btnwait-empties-the-table-after-a-button",
     "btnwait %0\nbtnwait2 %1\n",
     "click 120 105\nclick 120 105\n",
     {1, 0}},
    {"btnwait2-keeps-the-table",
     "btnwait2 %0\nbtnwait2 %1\n",
     "click 120 105\nclick 120 105\n",
     {1, 1}},
    {"a-click-outside-is-0-and-keeps-the-table",
     "btnwait %0\nbtnwait %1\n",
     "click 10 10\nclick 240 160\n",
     {0, 2}},
    {"a-right-click-is-minus-1-and-keeps-the-table",
     "btnwait %0\nbtnwait %1\n",
     "move 175 130\nrclick\nclick 175 130\n",
     {-1, 2}},
    {"space-takes-the-button-under-the-pointer",
     "btnwait2 %0\nbtnwait2 %1\n",
     "move 120 105\nkey space\nkey enter\n",
     {1, 1}},
};

class ButtonWait : public ::testing::TestWithParam<WaitCase> {};

TEST_P(ButtonWait, ReturnsTheClickedValue) {
    const WaitCase& c = GetParam();
    Harness h(c.events);
    addButtonPicture(h);
    h.scenario(buttonScreen(c.waits));
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ((std::array{h.engine().vars.num[0], h.engine().vars.num[1]}), c.results);
}

INSTANTIATE_TEST_SUITE_P(All, ButtonWait, ::testing::ValuesIn(kWaitCases), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

// The highlight is drawn on the display only; a click leaves it there, a right click takes it
// away, and the composition never sees it.
TEST(ButtonHighlight, FollowsThePointerOnTheDisplayOnly) {
    Harness h("move 120 105\nmove 175 130\nclick\n");
    addButtonPicture(h);
    h.scenario(buttonScreen("btnwait2 %0\n"));
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(screenAt(h, {{175, 130}, {249, 169}, {120, 105}, {250, 130}}),
              (Colours{kRed, kRed, kBackground, kBackground}));
    const Surface& display = h.engine().graphics.surfaces.display;
    EXPECT_EQ(pixelColor(display, 175, 130), kRed);
    EXPECT_EQ(pixelColor(h.engine().graphics.surfaces.composition, 175, 130), kBackground);
}

TEST(ButtonHighlight, ARightClickTakesItAway) {
    Harness h("move 175 130\nrclick\n");
    addButtonPicture(h);
    h.scenario(buttonScreen("btnwait %0\n"));
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(h.engine().vars.num[0], -1);
    EXPECT_EQ(screenAt(h, {{175, 130}}), (Colours{kBackground}));
}

// A source rectangle reaching past the picture copies only what lies inside it.
TEST(ButtonHighlight, ASourceOutsideThePictureCopiesOnlyItsInside) {
    Harness h("move 10 10\nclick\n");
    addButtonPicture(h);
    h.scenario(std::string(kPrologue) +
               "bg #000080,1\nbtndef \"btn.bmp\"\nbtn 1,0,0,100,100,150,-20\nbtnwait2 %0\nend\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    // Picture rows 0..49 land on screen rows 20..69, columns 150..199 on 0..49.
    EXPECT_EQ(screenAt(h, {{10, 19}, {10, 20}, {49, 69}, {50, 30}, {10, 70}}),
              (Colours{kBackground, kRed, kRed, kBackground, kBackground}));
}

// Two links on the first line: <1 over three cells from x = 8, <2 over two cells from x = 112
// (default window: origin 8, 16; pitch 26 x 28).
const char* const kLinks = "<1あいう>え<2おか>\n";

TEST(TextLinkWait, IgnoresRightClicksAndClicksBesideTheLinks) {
    Harness h("rclick 20 20\nclick 100 20\nclick 120 20\n");
    h.scenario(std::string(kPrologue) + kLinks + "tbtnwait %0\nend\n");
    ASSERT_EQ(h.run(), 0) << h.log();
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
    EXPECT_EQ(h.engine().vars.num[0], 1);
    auto picture = readPng(shot);
    ASSERT_TRUE(picture);
    // The line runs on row top + pitch - 2 = 42 from left = 8 to right - 2 = 84.
    auto at = [&](int x, int y) {
        const uint8_t* p = picture->pixel(x, y);
        return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    };
    constexpr uint32_t kLink = 0x0a141e;
    EXPECT_EQ((std::array{at(8, 42), at(84, 42)}), (std::array{kLink, kLink}));
    for (auto [x, y] : {std::pair{7, 42}, {85, 42}, {40, 41}, {40, 43}, {114, 42}})
        EXPECT_NE(at(x, y), kLink) << x << ", " << y;
    // The wait ends with the screen redrawn: no underline is left.
    EXPECT_NE(screenAt(h, {{40, 42}}), (Colours{kLink}));
}

// An automatic click beside every link can never end the wait: the headless run gives up (status
// 3) instead of clicking for ever. Beside the buttons, btnwait takes it as 0.
TEST(TextLinkWait, AnAutomaticClickBesideTheLinksEndsTheRun) {
    Harness h("move 300 300\n", 600000, true);
    h.scenario(std::string(kPrologue) + kLinks + "btnwait2 %1\ntbtnwait %0\nend\n");
    EXPECT_EQ(h.run(), 3);
    EXPECT_EQ(h.engine().vars.num[1], 0);
}

// The link wait takes the button picture for its snapshot: the buttons still answer afterwards,
// but show no highlight until the next btndef.
TEST(TextLinkWait, LeavesTheButtonsWithoutTheirPicture) {
    Harness h("click 20 20\nmove 120 105\nclick\n");
    addButtonPicture(h);
    h.scenario(buttonScreen(std::string(kLinks) + "tbtnwait %0\nbtnwait2 %1\n"));
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ((std::array{h.engine().vars.num[0], h.engine().vars.num[1]}), (std::array{1, 1}));
    EXPECT_TRUE(h.engine().buttons.source.empty());
    EXPECT_EQ(screenAt(h, {{120, 105}}), (Colours{kBackground}));
}

} // namespace
} // namespace orv
