// The menu bar model and its on-screen behaviour (layout, pointer, painting), without a window.
#include "platform/MenuBar.h"
#include "platform/MenuView.h"
#include "platform/Platform.h"
#include "platform/fonts/UiText.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace orv {
namespace {

MenuBar sampleMenu() {
    MenuBar m;
    m.entries().push_back(MenuEntry::plain("Quit", 1));
    m.entries().push_back(MenuEntry::dropDown("Screen", {{2, "Full", false}, {3, "Window", true}}));
    m.entries().push_back(MenuEntry::dropDown(
        "Font", {{10, "A", false}, {0, "", false, true}, {4, "Default", true}}));
    m.entries().push_back(MenuEntry::plain("About", 5));
    return m;
}

TEST(MenuBarModel, FindsChecksAndUnchecksByIdAcrossEntries) {
    MenuBar m = sampleMenu();
    ASSERT_NE(m.find(1), nullptr);
    EXPECT_EQ(m.find(1)->label + m.find(3)->label, "QuitWindow");
    // A separator's id 0 is no item.
    EXPECT_TRUE(!m.find(99) && !m.find(0));

    EXPECT_TRUE(m.isChecked(3));
    // A plain bar entry (5) carries a check mark as well.
    EXPECT_EQ((std::vector<bool>{m.check(2, true), m.check(3, false), m.check(99, true),
                                 m.check(5, true)}),
              (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ((std::vector<bool>{m.isChecked(2), m.isChecked(3), m.isChecked(99), m.isChecked(5)}),
              (std::vector<bool>{true, false, false, true}));
}

TEST(MenuBarModel, InsertsBeforeAnItemAndRemovesItemsAndEntries) {
    MenuBar m = sampleMenu();
    EXPECT_TRUE(m.insertBefore(4, {0, "Zero"}));
    EXPECT_TRUE(m.insertBefore(4, {1, "One"}));
    std::vector<std::string> font;
    for (const MenuItem& i : m.entries()[2].items) font.push_back(i.label);
    EXPECT_EQ(font, (std::vector<std::string>{"A", "", "Zero", "One", "Default"}));
    // Only popups take items: a plain entry's id is no place to insert.
    EXPECT_FALSE(m.insertBefore(5, {7, "x"}));
    EXPECT_FALSE(m.insertBefore(99, {7, "x"}));

    // Font id 1 collides with the plain Quit entry's id: find gives the bar entry first, but
    // removing looks at popup items only.
    EXPECT_EQ(m.find(1)->label, "Quit");
    EXPECT_TRUE(m.removeItem(1));
    EXPECT_EQ(m.entries()[2].items.size(), 4u);
    EXPECT_FALSE(m.removeItem(1));

    EXPECT_TRUE(m.removeEntryAt(0));
    EXPECT_EQ(m.entries().front().item.label, "Screen");
    EXPECT_FALSE(m.removeEntryAt(3));
    EXPECT_TRUE(m.removeEntryAt(2));
}

// ---------------------------------------------------------------------------

// Ten pixels a byte keeps the arithmetic readable.
int tenPerByte(std::string_view s) {
    return int(s.size()) * 10;
}

// What a view made of an input: taken from the game, and the command chosen.
using Outcome = std::pair<bool, std::optional<int>>;
Outcome outcome(const MenuView::Result& r) {
    return {r.consumed, r.command};
}
const Outcome kTaken{true, std::nullopt}, kPassed{false, std::nullopt};
Outcome chose(int id) {
    return {true, id};
}

struct ViewFixture : ::testing::Test {
    MenuView view{tenPerByte};
    void SetUp() override { view.setMenu(sampleMenu()); }
    MenuBox entry(int i) const { return view.entryBoxes()[size_t(i)]; }
    // Centre of a box.
    static int cx(const MenuBox& b) { return b.x + b.w / 2; }
    static int cy(const MenuBox& b) { return b.y + b.h / 2; }
};

TEST_F(ViewFixture, LaysEntriesSideBySideAndHidesWhatDoesNotFit) {
    ASSERT_EQ(view.entryBoxes().size(), 4u);
    EXPECT_EQ(entry(0), (MenuBox{0, 0, 40 + 2 * kMenuEntryPadding, kMenuBarRows}));
    EXPECT_EQ(entry(1).x, entry(0).x + entry(0).w);
    EXPECT_EQ(entry(3).x, entry(2).x + entry(2).w);

    MenuBar wide;
    wide.entries().push_back(MenuEntry::plain(std::string(40, 'x'), 1));
    wide.entries().push_back(MenuEntry::plain(std::string(40, 'y'), 2));
    view.setMenu(wide);
    EXPECT_EQ(view.entryBoxes()[0].w, 412);
    EXPECT_EQ(view.entryBoxes()[1].w, 0) << "past the right edge";
    EXPECT_EQ(outcome(view.buttonDown(500, 5)), kTaken);
    EXPECT_EQ(outcome(view.buttonUp(500, 5)), kTaken);
}

TEST_F(ViewFixture, APopupOpensOnPressAndChoosesOnRelease) {
    const MenuBox screen = entry(1);
    EXPECT_TRUE(view.buttonDown(cx(screen), cy(screen)).changed);
    EXPECT_EQ(view.openEntry(), 1);
    EXPECT_EQ(std::pair(view.popupBox().x, view.popupBox().y), std::pair(screen.x, kMenuBarRows));
    ASSERT_EQ(view.itemBoxes().size(), 2u);
    // Releasing on the bar leaves it open for a second click.
    EXPECT_EQ(outcome(view.buttonUp(cx(screen), cy(screen))), kTaken);
    EXPECT_TRUE(view.isOpen());

    const MenuBox window = view.itemBoxes()[1];
    EXPECT_EQ(outcome(view.pointerMove(cx(window), cy(window))), kTaken);
    EXPECT_EQ(view.hotItem(), 1);
    EXPECT_EQ(outcome(view.buttonDown(cx(window), cy(window))), kTaken);
    EXPECT_TRUE(view.isOpen());
    EXPECT_EQ(outcome(view.buttonUp(cx(window), cy(window))), chose(3));
    EXPECT_FALSE(view.isOpen());

    // Press on the entry, drag to the item, release: the same choice.
    view.buttonDown(cx(screen), cy(screen));
    const MenuBox full = view.itemBoxes()[0];
    view.pointerMove(cx(full), cy(full));
    EXPECT_EQ(view.buttonUp(cx(full), cy(full)).command, 2);
}

TEST_F(ViewFixture, SeparatorsAndBordersChooseNothing) {
    const MenuBox font = entry(2);
    view.buttonDown(cx(font), cy(font));
    ASSERT_EQ(view.itemBoxes().size(), 3u);
    const MenuBox sep = view.itemBoxes()[1];
    EXPECT_EQ(sep.h, kMenuSeparatorHeight);
    view.pointerMove(cx(sep), cy(sep));
    EXPECT_EQ(view.hotItem(), -1);
    const MenuBox box = view.popupBox();
    // The separator, then the frame.
    EXPECT_EQ((std::vector<Outcome>{outcome(view.buttonDown(cx(sep), cy(sep))),
                                    outcome(view.buttonUp(cx(sep), cy(sep))),
                                    outcome(view.buttonUp(box.x, box.y + box.h - 1))}),
              std::vector<Outcome>(3, kTaken));
    EXPECT_TRUE(view.isOpen());
    // The item below the separator is reached.
    const MenuBox def = view.itemBoxes()[2];
    EXPECT_EQ(def.y, sep.y + sep.h);
    EXPECT_EQ(view.buttonUp(cx(def), cy(def)).command, 4);
}

TEST_F(ViewFixture, APressElsewhereOnlyClosesThePopup) {
    view.buttonDown(cx(entry(1)), cy(entry(1)));
    view.buttonUp(cx(entry(1)), cy(entry(1)));
    ASSERT_TRUE(view.isOpen());
    // Over the picture the game does not see the pointer while the popup is open.
    EXPECT_EQ(outcome(view.pointerMove(300, 300)), kTaken);
    EXPECT_EQ(outcome(view.buttonDown(300, 300)), kTaken);
    EXPECT_FALSE(view.isOpen());
    EXPECT_EQ(outcome(view.buttonUp(300, 300)), kTaken) << "the closing press's release";
    // Afterwards the picture is the game's again.
    EXPECT_EQ((std::vector<Outcome>{outcome(view.pointerMove(300, 300)),
                                    outcome(view.buttonDown(300, 300)),
                                    outcome(view.buttonUp(300, 300))}),
              std::vector<Outcome>(3, kPassed));

    // A letterbox press closes too.
    view.buttonDown(cx(entry(2)), cy(entry(2)));
    EXPECT_TRUE(view.buttonDown(5, 5, /*outside=*/true).consumed);
    EXPECT_FALSE(view.isOpen());
    EXPECT_TRUE(view.buttonUp(5, 5, true).consumed);

    // A second press on the open entry folds it away.
    view.buttonDown(cx(entry(2)), cy(entry(2)));
    view.buttonUp(cx(entry(2)), cy(entry(2)));
    view.buttonDown(cx(entry(2)), cy(entry(2)));
    EXPECT_FALSE(view.isOpen());
}

TEST_F(ViewFixture, SlidingAlongTheBarSwitchesPopupsAndEscapeCloses) {
    view.buttonDown(cx(entry(1)), cy(entry(1)));
    view.pointerMove(cx(entry(2)), cy(entry(2)));
    EXPECT_EQ(view.openEntry(), 2);
    // A plain entry does not open anything; the open popup stays.
    view.pointerMove(cx(entry(3)), cy(entry(3)));
    EXPECT_EQ(view.openEntry(), 2);
    EXPECT_TRUE(view.key('a').consumed);
    EXPECT_TRUE(view.isOpen());
    EXPECT_TRUE(view.key(27).consumed);
    EXPECT_FALSE(view.isOpen());
    EXPECT_FALSE(view.key(27).consumed) << "keys are the game's when no popup is open";
}

TEST_F(ViewFixture, PlainEntriesChooseOnAReleaseOverThemselves) {
    const MenuBox quit = entry(0), about = entry(3);
    // Press and release positions: on Quit; Quit to About; About to the picture; the empty end
    // of the bar, which is the menu's but does nothing.
    const std::array<int, 4> clicks[] = {{cx(quit), cy(quit), cx(quit), cy(quit)},
                                         {cx(quit), cy(quit), cx(about), cy(about)},
                                         {cx(about), cy(about), 300, 300},
                                         {630, 10, 630, 10}};
    std::vector<Outcome> got;
    for (const auto& c : clicks) {
        EXPECT_TRUE(view.buttonDown(c[0], c[1]).consumed);
        got.push_back(outcome(view.buttonUp(c[2], c[3])));
    }
    EXPECT_EQ(got, (std::vector<Outcome>{chose(1), kTaken, kTaken, kTaken}));
}

TEST_F(ViewFixture, AHiddenBarLetsEverythingThrough) {
    view.buttonDown(cx(entry(1)), cy(entry(1)));
    view.setShown(false);
    EXPECT_FALSE(view.isOpen());
    EXPECT_EQ((std::vector<Outcome>{outcome(view.pointerMove(cx(entry(1)), cy(entry(1)))),
                                    outcome(view.buttonDown(cx(entry(0)), cy(entry(0)))),
                                    outcome(view.buttonUp(cx(entry(0)), cy(entry(0))))}),
              std::vector<Outcome>(3, kPassed));
    view.setShown(true);
    EXPECT_TRUE(view.buttonDown(cx(entry(0)), cy(entry(0))).consumed);
}

TEST_F(ViewFixture, PopupsStayOnTheBarsWidthAndSurviveAMenuUpdate) {
    MenuBar m = sampleMenu();
    m.entries().push_back(MenuEntry::dropDown("Last", {{20, std::string(45, 'w')}}));
    view.setMenu(m);
    const MenuBox last = entry(4);
    view.buttonDown(cx(last), cy(last));
    const MenuBox box = view.popupBox();
    EXPECT_EQ(box.x + box.w, kScreenWidth) << "pushed left to stay on the screen";
    EXPECT_LT(box.x, last.x);

    // New check marks while open: still open, same entry.
    m.check(20, true);
    view.setMenu(m);
    EXPECT_EQ(view.openEntry(), 4);
    EXPECT_TRUE(view.menu().isChecked(20));
    // The entry goes away: closed.
    m.removeEntryAt(4);
    view.setMenu(m);
    EXPECT_FALSE(view.isOpen());
}

// ---------------------------------------------------------------------------
// Painting with the real font.

bool isDark(Rgb8 c) {
    return c.r < 0x60 && c.g < 0x60 && c.b < 0x60;
}

int darkPixels(const RgbCanvas& c, int x, int y, int w, int h) {
    int n = 0;
    for (int py = y; py < y + h; ++py)
        for (int px = x; px < x + w; ++px) n += isDark(c.at(px, py));
    return n;
}

TEST(UiTextTest, MeasuresJapaneseLabelsAtTheirEm) {
    UiText text(kMenuTextPixels);
    if (!text.valid()) GTEST_SKIP() << "no Japanese font installed";
    // Full-width characters advance one em; half-width ones half of it.
    EXPECT_EQ(text.measure("\xE7\xB5\x82\xE4\xBA\x86"), 2 * kMenuTextPixels); // 終了
    EXPECT_EQ(text.measure("ab"), kMenuTextPixels);
    EXPECT_EQ(text.measure(""), 0);
    EXPECT_GE(text.lineHeight(), kMenuTextPixels);
    // A malformed byte still measures (as a replacement character), and does not crash.
    EXPECT_GT(text.measure("\xFF"), 0);

    RgbCanvas canvas(40, 20);
    canvas.fill(0, 0, 40, 20, {255, 255, 255});
    text.draw(canvas, 2, 2, "\xE7\xB5\x82", {0, 0, 0}); // 終
    EXPECT_GT(darkPixels(canvas, 2, 2, 12, 16), 10);
    EXPECT_EQ(darkPixels(canvas, 16, 0, 24, 20), 0) << "ink beyond the character's cell";
    // Drawing off the canvas is clipped.
    text.draw(canvas, -100, 500, "\xE7\xB5\x82", {0, 0, 0});
    text.draw(canvas, 35, -5, "\xE7\xB5\x82\xE7\xB5\x82", {0, 0, 0});
}

// The labels and the check marks at scale 1 are seen on the screen by the SDL menu tests.
TEST(MenuPaintTest, CheckMarksScaleAndAHiddenBarIsEmpty) {
    UiText text(kMenuTextPixels);
    if (!text.valid()) GTEST_SKIP() << "no Japanese font installed";
    MenuView view([&](std::string_view s) { return text.measure(s); });
    view.setMenu(sampleMenu());

    // Open "Screen": "Window" is checked, "Full" is not. At scale 2 the picture is twice the
    // size and the check mark lands in the same place.
    const MenuBox screen = view.entryBoxes()[1];
    view.buttonDown(screen.x + 2, 5);
    const MenuBox box = view.popupBox();
    UiText text2(kMenuTextPixels * 2);
    RgbCanvas popup2(box.w * 2, box.h * 2);
    view.paintPopup(popup2, text2, 2);
    auto checkColumnInk = [&](const MenuBox& item) {
        return darkPixels(popup2, (item.x - box.x) * 2, (item.y - box.y) * 2, kMenuCheckColumn * 2,
                          item.h * 2);
    };
    EXPECT_GT(checkColumnInk(view.itemBoxes()[1]), 20);
    EXPECT_EQ(checkColumnInk(view.itemBoxes()[0]), 0);

    // A bar painted hidden over a shown one is blank.
    RgbCanvas bar(kScreenWidth, kMenuBarRows);
    view.paintBar(bar, text, 1);
    view.setShown(false);
    view.paintBar(bar, text, 1);
    EXPECT_EQ(darkPixels(bar, 0, 0, kScreenWidth, kMenuBarRows), 0);
}

} // namespace
} // namespace orv
