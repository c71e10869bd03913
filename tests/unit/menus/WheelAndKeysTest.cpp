// The wheel and the keyboard in the player's lists: wheel up opens the lookback wherever a right
// click could, wheel down pages forward and leaves at the newest page; the arrow keys and Tab move
// the highlight of a choice, the right-click menu and the slot list, Enter takes it.
#include "EngineHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace orv;
using orv::test::Harness;

namespace {

// As in the right-click table: a wheel that opens the lookback needs one more event to leave it,
// so the same events run out (status 3) where a refused wheel lets the run end (status 0).
struct PlayCase {
    const char* name;
    const char* define;
    const char* body;
    const char* events;
    int status;
    const char* transcript = nullptr; // checked when given
};

constexpr const char* kTwoPages = "あ\\\nい@\nend\n";
constexpr const char* kThreePages = "あ\\\nい\\\nう@\nend\n";
constexpr const char* kChoice = "select \"一\",*a,\"二\",*b,\"三\",*c\n*a\n甲\nend\n*b\n乙\nend\n"
                                "*c\n丙\nend\n";

const PlayCase kCases[] = {
    {"wheel-up-opens-the-lookback", "rlookback\n", kTwoPages, "click\nwheel up\nclick\n", 3},
    {"wheel-down-at-the-newest-page-leaves", "rlookback\n", kTwoPages,
     "click\nwheel up\nwheel down\nclick\n", 0},
    {"wheel-down-pages-forward-first", "rlookback\n", kThreePages,
     "click\nclick\nwheel up\nwheel up\nwheel down\nclick\n", 3},
    {"wheel-down-then-leaves", "rlookback\n", kThreePages,
     "click\nclick\nwheel up\nwheel up\nwheel down\nwheel down\nclick\n", 0},
    {"wheel-up-through-the-menus-lookback-entry", "rmenu \"ログ\",lookback\n", kTwoPages,
     "click\nwheel up\nclick\n", 3},
    {"wheel-up-ignored-by-a-menu-without-lookback", "rmenu \"最初へ\",reset\n", kTwoPages,
     "click\nwheel up\nclick\n", 0},
    {"wheel-up-ignored-when-right-clicks-hide", "", kTwoPages, "click\nwheel up\nclick\n", 0},
    {"wheel-up-ignored-under-rmode-0", "rlookback\n", "rmode 0\nあ\\\nい@\nend\n",
     "click\nwheel up\nclick\n", 0},
    {"wheel-up-during-a-choice", "rlookback\n", "あ\\\nselect \"一\",*a\n*a\nend\n",
     "click\nwheel up\nclick 30 20\n", 3},
    {"down-from-the-pointers-choice", "", kChoice, "move 30 20\nkey down\nkey enter\n", 0,
     "\f乙\n"},
    {"down-from-no-highlight-is-the-first", "", kChoice, "key down\nkey space\n", 0, "\f甲\n"},
    {"up-from-no-highlight-is-the-last", "", kChoice, "key up\nkey enter\n", 0, "\f丙\n"},
    {"tab-goes-round", "", kChoice, "key up\nkey tab\nkey enter\n", 0, "\f甲\n"},
    {"backtab-goes-back", "", kChoice, "move 30 50\nkey backtab\nkey enter\n", 0, "\f甲\n"},
    {"menu-entry-by-keys", "rmenu \"ログ\",lookback,\"最初へ\",reset\n", "あ@\nend\n",
     "rclick\nkey down\nkey down\nkey enter\nclick 240 290\n", 3, "ああ"},
};

class WheelAndKeys : public ::testing::TestWithParam<PlayCase> {};

TEST_P(WheelAndKeys, NeedTheEventsTheyShould) {
    const PlayCase& c = GetParam();
    Harness h(c.events);
    h.scenario(std::string("*define\n") + c.define + "game\n*start\n" + c.body);
    EXPECT_EQ(h.run(), c.status) << h.log();
    if (c.transcript) {
        EXPECT_EQ(h.transcript(), c.transcript);
    }
}

INSTANTIATE_TEST_SUITE_P(All, WheelAndKeys, ::testing::ValuesIn(kCases), test::CaseName());

TEST(SlotListKeys, DownAndEnterSaveInTheSecondSlot) {
    // The confirmation answers only clicks: はい at (240, 280).
    Harness h("key down\nkey down\nkey enter\nclick 240 290\n");
    EXPECT_EQ(h.run("*define\ngame\n*start\nsystemcall save\nend\n"), 0) << h.log();
    EXPECT_FALSE(std::filesystem::exists(h.dir() / "save1.dat"));
    EXPECT_TRUE(std::filesystem::exists(h.dir() / "save2.dat"));
}

} // namespace
