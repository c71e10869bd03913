// The right-click side beyond the scenario folders (rmenu-*, lookback-wheel-*): the handler
// that is not entered twice, the menu bar entry killmenu removes, the slot the keys save in, and
// the geometry the headless tests click by (menu fit, confirmation buttons, lookback thirds,
// recorded pages).
#include "EngineHarness.h"
#include "TextTestSupport.h"
#include "menus/Confirm.h"
#include "menus/LookbackViewer.h"
#include "menus/RightClickMenu.h"
#include "menus/SystemMenuCommands.h"
#include "text/DisplayText.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orv;
using orv::test::Harness;

namespace {

TEST(RightClickHandler, ARunningHandlerIsNotEnteredAgain) {
    Harness h;
    h.engine().systemMenu.inMenu = true;
    // A confirmation would wait for events that never come (status 3).
    EXPECT_EQ(h.capture([&] { rightClickHandler(h.engine(), 4); }), -1);
    EXPECT_FALSE(h.engine().interp.resetRequested);
}

TEST(SlotListKeys, DownAndEnterSaveInTheSecondSlot) {
    // The confirmation answers only clicks: はい at (240, 280).
    Harness h("key down\nkey down\nkey enter\nclick 240 290\n");
    EXPECT_EQ(h.run("*define\ngame\n*start\nsystemcall save\nend\n"), 0) << h.log();
    EXPECT_FALSE(std::filesystem::exists(h.dir() / "save1.dat"));
    EXPECT_TRUE(std::filesystem::exists(h.dir() / "save2.dat"));
}

TEST(Killmenu, RemovesTheBarEntryAtItsPosition) {
    Harness h;
    ASSERT_EQ(h.run("*define\nkillmenu 0\nkillmenu 2\nkillmenu 99\ngame\n*start\nend\n"), 0);
    std::vector<std::string> labels;
    for (const MenuEntry& e : h.engine().shell.menu.entries()) labels.push_back(e.item.label);
    // 終了 goes first, then 選択肢まで進む (third of what was left); position 99 does not exist.
    EXPECT_EQ(labels, (std::vector<std::string>{"画面", "フォント", "表示形式", "文字速度",
                                                "ＷＡＶＥ", "バージョン情報"}));
}

// Keeps the window's picture as it stands when a right click is taken (the lookback's last page).
class SnapshotPlatform : public HeadlessPlatform {
public:
    using HeadlessPlatform::HeadlessPlatform;
    bool takeEvent(Event& out) override {
        const bool got = HeadlessPlatform::takeEvent(out);
        if (got && out.kind == EventKind::RButtonUp) seen = window();
        return got;
    }
    FrameBuffer seen;
};

TEST(LookbackViewer, LeavesOutCellsTheWindowNoLongerHolds) {
    SnapshotPlatform platform{HeadlessOptions{}, {}};
    test::TempDir dir;
    Engine engine{platform, dir.path()};
    test::prepareForText(engine);
    engine.shell.skipMode = true; // the page wait ends by itself
    drawDisplayText(engine, S("あいう\\"));
    engine.shell.skipMode = false;
    // Cells lie at x 8, 34 and 60 (pitch 26): the narrowed window holds the first two only.
    engine.text.window.right = 59;
    platform.postEvent({EventKind::RButtonUp, 0, 0, 0});
    ASSERT_TRUE(showLookback(engine));
    auto inked = [&](int x0, int x1) {
        int n = 0;
        for (int y = 16; y < 42; ++y)
            for (int x = x0; x < x1; ++x) n += test::windowPixel(platform.seen, x, y) == 0xffff40;
        return n;
    };
    EXPECT_GT(inked(8, 34), 0);
    EXPECT_GT(inked(34, 60), 0);
    EXPECT_EQ(inked(60, 87), 0);
}

TEST(MenuGeometry, EntriesFitTheScreenCentredOnTheMiddleOne) {
    MenuWindow w; // pitch 28, glyph 26: sixteen entries fit, seventeen reach past the bottom
    EXPECT_EQ(std::pair(menuFitsScreen(w, 16), menuFitsScreen(w, 17)), std::pair(true, false));
    w.pitchY = 250; // two entries: the first would start above the screen
    EXPECT_EQ(std::pair(menuFitsScreen(w, 1), menuFitsScreen(w, 2)), std::pair(true, false));
}

TEST(MenuGeometry, ConfirmationButtons) {
    const MenuWindow w; // はい x 216..293, いいえ x 372..449, both y 268..295
    struct {
        int x, y;
        ConfirmAnswer answer;
    } const cases[] = {
        {216, 268, ConfirmAnswer::Yes},       {293, 295, ConfirmAnswer::Yes},
        {294, 280, ConfirmAnswer::Cancelled}, {372, 280, ConfirmAnswer::No},
        {449, 280, ConfirmAnswer::No},        {450, 280, ConfirmAnswer::Cancelled},
        {240, 267, ConfirmAnswer::Cancelled}, {240, 296, ConfirmAnswer::Cancelled},
    };
    for (const auto& c : cases)
        EXPECT_EQ(confirmOptionAt(w, c.x, c.y), c.answer) << c.x << "," << c.y;
    EXPECT_EQ(confirmQuestionX(w, 28), 320 - 28 * 26 / 4);
    EXPECT_EQ(confirmQuestionX(w, 50), 1); // 50 x 26 reaches 1280
}

TEST(LookbackGeometry, ThirdsOfTheWindowPage) {
    struct {
        int y;
        bool older, newer;
        int state;
    } const cases[] = {
        {0, true, true, -1},  {158, true, true, -1}, {159, true, true, 0},  {319, true, true, 0},
        {320, true, true, 1}, {479, true, true, 1},  {100, false, true, 0}, {400, true, false, 0},
        {480, true, true, 0}, {-1, true, true, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lookbackPagingAt(0, 479, c.y, c.older, c.newer), c.state) << c.y;
}

TEST(LookbackPages, FinishedPagesOnlyAndNeverPastTheRecord) {
    using Pages = std::vector<std::string_view>;
    // A cell whose second byte is a backslash (ソ is 83 5C) does not end a page.
    EXPECT_EQ(finishedPages("\x83\x5c\n\x82\xa0\\\x82\xa2\\rest"),
              (Pages{"\x83\x5c\n\x82\xa0", "\x82\xa2"}));
    EXPECT_EQ(finishedPages("\\\\"), (Pages{"", ""}));
    // A cell cut off by the end of the record is stepped over, not read past.
    EXPECT_EQ(finishedPages(std::string_view("\x82\xa0\\\x82", 4)), (Pages{"\x82\xa0"}));
    EXPECT_TRUE(finishedPages("no end").empty());
}

} // namespace
