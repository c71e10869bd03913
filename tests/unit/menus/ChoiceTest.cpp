// The choice loop beyond the scenario tests: its own line-breaking rule, where the choices and
// the menu entries lie, what drawChoiceText draws and records, and the state a choice leaves
// behind.
#include "menus/Choice.h"
#include "TextTestSupport.h"

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {

LookAhead ahead(const std::string& utf8) {
    return lookAhead(sjis::fromUtf8(utf8), 0);
}

int inkIn(const Engine& engine, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += coverageAt(engine, x, y) != 0;
    return n;
}

std::string times(const char* piece, int n) {
    return sjis::fromUtf8(repeat(piece, n));
}

ChoiceForm menuForm(int glyph, int pitchX, int pitchY) {
    ChoiceForm form;
    form.menu = true;
    form.glyphWidth = form.glyphHeight = glyph;
    form.pitchX = pitchX;
    form.pitchY = pitchY;
    return form;
}

struct TextHarness : Harness {
    explicit TextHarness(const std::string& events = "") : Harness(events) {
        prepareForText(engine());
    }
};

} // namespace

TEST(ChoiceKinsoku, AnOpeningBracketTakesAClosingMarkAlongInOneStep) {
    // The one difference from display text: 「 followed by 」 glues two characters, not one.
    EXPECT_EQ(choiceKinsokuGlue(ahead("「」ぬ")), 2);
    EXPECT_EQ(kinsokuGlue(ahead("「」ぬ")), 1);
    for (const char* text : {"あい", "あ。", "「あ", "「「あ", "あ」」", "「」」あ", "あ", ""})
        EXPECT_EQ(choiceKinsokuGlue(ahead(text)), kinsokuGlue(ahead(text))) << text;
    // Half-width bytes and control bytes are not in the look-ahead.
    EXPECT_EQ(choiceKinsokuGlue(ahead("a「b」c")), 2);
}

TEST(ChoiceGeometry, ChoicesAreHitRightOfTheStartColumnAndOnTheirLines) {
    TextWindow w; // origin (8, 16), pitch 26 x 28
    // Choice 0 on lines 1-2, choice 1 on line 3; start column 2, widest 3 characters; the left
    // edge is outside, the right edge inside.
    const int probes[][3] = {{60, 50, -1},  {61, 50, 0},   {138, 50, 0}, {139, 50, -1},
                             {100, 43, -1}, {100, 44, 0},  {100, 99, 0}, {100, 100, 1},
                             {100, 127, 1}, {100, 128, -1}};
    for (const auto& p : probes)
        EXPECT_EQ(choiceAt(w, 2, 3, std::vector<int>{1, 3, 4}, p[0], p[1]), p[2])
            << p[0] << "," << p[1];
    // A choice that took no line has no area.
    EXPECT_EQ(choiceAt(w, 0, 3, std::vector<int>{0, 0, 1}, 30, 20), 1);
}

TEST(ChoiceGeometry, MenuEntriesAreCentredOnTheScreen) {
    const ChoiceForm form = menuForm(0, 26, 28);
    // Six bytes: a half-width of 26 * 6 / 4 = 39 pixels about x 320.
    EXPECT_EQ(menuEntryX(form, 6), 281);
    EXPECT_EQ(menuEntryY(form, 2, 0), 212);
    // An odd count: the middle entry starts at the centre line.
    EXPECT_EQ(menuEntryY(form, 3, 1), 240);
    const int probes[][4] = {{2, 300, 212, 0},  {2, 300, 239, 0},  {2, 300, 240, 1},
                             {2, 358, 267, 1},  {2, 300, 268, -1}, {2, 280, 220, -1},
                             {2, 359, 220, -1}, {3, 300, 211, -1}, {3, 300, 295, 2}};
    for (const auto& p : probes)
        EXPECT_EQ(menuEntryAt(form, 6, p[0], p[1], p[2]), p[3]) << p[1] << "," << p[2];
}

TEST(ChoiceText, CellFormAdvancesCountsUpToALineAndRecordsNothing) {
    TextHarness h;
    Engine& e = h.engine();
    const ChoiceForm form = choiceForm(e);
    int column = 0, line = 0;
    EXPECT_EQ(drawChoiceText(e, form, sjis::fromUtf8(" あ\tい う "), column, line, 0xaaaaaa), 3);
    EXPECT_EQ(std::pair(column, line), std::pair(0, 1));
    EXPECT_GT(inkIn(e, 8, 16, 8 + 3 * 26, 42), 0);
    EXPECT_EQ(inkIn(e, 8 + 3 * 26, 16, 640, 42), 0);

    // 30 characters from column 5: 18 on the first line, 12 on the next; the count stops at 23.
    column = 5;
    EXPECT_EQ(drawChoiceText(e, form, times("あ", 30), column, line, 0xaaaaaa), 23);
    EXPECT_EQ(std::pair(column, line), std::pair(0, 3));
    EXPECT_GT(inkIn(e, 8, 16 + 2 * 28, 8 + 26, 16 + 2 * 28 + 26), 0);     // wrapped to column 0
    EXPECT_EQ(inkIn(e, 8, 16 + 1 * 28, 8 + 5 * 26, 16 + 1 * 28 + 26), 0); // not before column 5

    // Five half-width bytes are three cells; the lone last byte is drawn on its own.
    EXPECT_EQ(drawChoiceText(e, form, "Short", column, line, 0xaaaaaa), 3);
    EXPECT_GT(inkIn(e, 8 + 2 * 26, 16 + 3 * 28, 8 + 3 * 26, 16 + 3 * 28 + 26), 0);
    EXPECT_EQ(e.text.lookback.writePosition(), 0u);
}

TEST(ChoiceText, MenuFormDrawsAtPixelsWithoutWrapping) {
    TextHarness h;
    Engine& e = h.engine();
    int x = 100, y = 200;
    EXPECT_EQ(drawChoiceText(e, menuForm(20, 20, 24), times("あ", 40), x, y, 0xffffff), 0);
    EXPECT_EQ(std::pair(x, y), std::pair(100, 200));
    EXPECT_GT(inkIn(e, 600, 200, 620, 220), 0); // the 26th cell, past the text window's line
    EXPECT_EQ(inkIn(e, 0, 220, 640, 480), 0);   // nothing wrapped below
    EXPECT_EQ(inkIn(e, 0, 0, 640, 200), 0);
}

TEST(ChoiceText, ACellPartlyOutsideIsClippedAndOneWhollyOutsideIsAnError) {
    TextHarness h;
    Engine& e = h.engine();
    e.text.window.bottom = 60; // line 1 (y 44-69) is partly inside, line 2 (y 72) outside
    const ChoiceForm form = choiceForm(e);
    int column = 0, line = 1;
    drawChoiceText(e, form, sjis::fromUtf8("回"), column, line, 0xaaaaaa);
    EXPECT_GT(inkIn(e, 8, 44, 34, 61), 0);
    EXPECT_EQ(inkIn(e, 0, 61, 640, 480), 0);
    EXPECT_EQ(h.capture([&] { drawChoiceText(e, form, sjis::fromUtf8("回"), column, line, 0); }),
              2);
    EXPECT_EQ(h.firstMessage(), "[エラー！] 文字がウィンドウからはみ出ました");
}

TEST(ChoiceRun, TheMenuFormTakesAnEntryOrIsClosedByARightClick) {
    const std::vector<std::string> entries = {sjis::fromUtf8("セーブ"), sjis::fromUtf8("ロード")};
    int backdrops = 0;
    auto menu = [&](const std::string& events) {
        TextHarness h(events);
        ChoiceForm form = menuForm(26, 26, 28);
        form.showBackdrop = [&](Engine&) { ++backdrops; };
        int result = -2;
        EXPECT_EQ(h.capture([&] { result = runChoice(h.engine(), form, 0, 0, entries); }), -1);
        // Entries of six bytes at x 281-358: the first at y 212-239, the second at 240-267.
        EXPECT_GT(inkIn(h.engine(), 281, 212, 359, 268), 0);
        return result;
    };
    EXPECT_EQ(menu("move 300 250\nclick\n"), 1);
    EXPECT_EQ(menu("move 300 220\nclick\n"), 0);
    EXPECT_EQ(menu("move 300 220\nrclick\n"), -1);
    EXPECT_EQ(backdrops, 3);
}
