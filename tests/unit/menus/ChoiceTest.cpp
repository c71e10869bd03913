// The choice loop beyond the scenario tests: its own line-breaking rule, where the choices and
// the menu entries lie, what drawChoiceText draws and records, the colours on the screen, and the
// state a choice leaves behind.
#include "menus/Choice.h"
#include "TextTestSupport.h"

#include <gtest/gtest.h>

#include <set>

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

// The colours of the fully inked pixels of the rectangle on the display.
std::set<uint32_t> fullInkColours(const Engine& engine, int x0, int y0, int x1, int y1) {
    std::set<uint32_t> colours;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (coverageAt(engine, x, y) == 255)
                colours.insert(pixelColor(engine.graphics.surfaces.display, x, y));
    return colours;
}

std::string game(const std::string& body, const std::string& define = "") {
    return "*define\n" + define + "game\n*start\n" + body;
}

} // namespace

TEST(ChoiceKinsoku, AnOpeningBracketTakesAClosingMarkAlongInOneStep) {
    // The one difference from display text: 「 followed by 」 glues two characters, not one.
    EXPECT_EQ(choiceKinsokuGlue(ahead("「」ぬ")), 2);
    EXPECT_EQ(kinsokuGlue(ahead("「」ぬ")), 1);
    // Otherwise the two rules agree.
    for (const char* text : {"あい", "あ。", "「あ", "「「あ", "あ」」", "「」」あ", "あ", ""}) {
        EXPECT_EQ(choiceKinsokuGlue(ahead(text)), kinsokuGlue(ahead(text))) << text;
    }
    EXPECT_EQ(choiceKinsokuGlue(ahead("あ」」")), 2);
    // Half-width bytes and control bytes are not in the look-ahead.
    EXPECT_EQ(choiceKinsokuGlue(ahead("a「b」c")), 2);
}

TEST(ChoiceGeometry, ChoicesAreHitRightOfTheStartColumnAndOnTheirLines) {
    TextWindow w; // origin (8, 16), pitch 26 x 28
    // Choice 0 on lines 1-2, choice 1 on line 3; start column 2, widest 3 characters.
    const std::vector<int> lines = {1, 3, 4};
    auto at = [&](int x, int y) { return choiceAt(w, 2, 3, lines, x, y); };
    EXPECT_EQ(at(60, 50), -1); // the left edge itself is outside
    EXPECT_EQ(at(61, 50), 0);
    EXPECT_EQ(at(138, 50), 0); // the right edge is inside
    EXPECT_EQ(at(139, 50), -1);
    EXPECT_EQ(at(100, 43), -1);
    EXPECT_EQ(at(100, 44), 0);
    EXPECT_EQ(at(100, 99), 0);
    EXPECT_EQ(at(100, 100), 1);
    EXPECT_EQ(at(100, 127), 1);
    EXPECT_EQ(at(100, 128), -1);
    // A choice that took no line has no area.
    EXPECT_EQ(choiceAt(w, 0, 3, std::vector<int>{0, 0, 1}, 30, 20), 1);
}

TEST(ChoiceGeometry, MenuEntriesAreCentredOnTheScreen) {
    ChoiceForm form;
    form.menu = true;
    form.pitchX = 26;
    form.pitchY = 28;
    // Six bytes: a half-width of 26 * 6 / 4 = 39 pixels about x 320.
    EXPECT_EQ(menuEntryX(form, 6), 281);
    EXPECT_EQ(menuEntryY(form, 2, 0), 212);
    EXPECT_EQ(menuEntryY(form, 2, 1), 240);
    EXPECT_EQ(menuEntryAt(form, 6, 2, 300, 212), 0);
    EXPECT_EQ(menuEntryAt(form, 6, 2, 300, 239), 0);
    EXPECT_EQ(menuEntryAt(form, 6, 2, 300, 240), 1);
    EXPECT_EQ(menuEntryAt(form, 6, 2, 358, 267), 1);
    EXPECT_EQ(menuEntryAt(form, 6, 2, 300, 268), -1);
    EXPECT_EQ(menuEntryAt(form, 6, 2, 280, 220), -1);
    EXPECT_EQ(menuEntryAt(form, 6, 2, 359, 220), -1);
    // An odd count: the middle entry starts at the centre line.
    EXPECT_EQ(menuEntryY(form, 3, 1), 240);
    EXPECT_EQ(menuEntryAt(form, 6, 3, 300, 211), -1);
    EXPECT_EQ(menuEntryAt(form, 6, 3, 300, 295), 2);
}

TEST(ChoiceText, CellFormAdvancesCountsUpToALineAndRecordsNothing) {
    Harness h;
    prepareForText(h.engine());
    Engine& e = h.engine();
    const ChoiceForm form = choiceForm(e);
    int column = 0, line = 0;
    EXPECT_EQ(drawChoiceText(e, form, sjis::fromUtf8(" あ\tい う "), column, line, 0xaaaaaa), 3);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(line, 1);
    EXPECT_GT(inkIn(e, 8, 16, 8 + 3 * 26, 42), 0);
    EXPECT_EQ(inkIn(e, 8 + 3 * 26, 16, 640, 42), 0);
    EXPECT_EQ(e.text.lookback.writePosition(), 0u);

    // 30 characters from column 5: 18 on the first line, 12 on the next; the count stops at 23.
    column = 5;
    std::string thirty;
    for (int i = 0; i < 30; ++i) thirty += "あ";
    EXPECT_EQ(drawChoiceText(e, form, sjis::fromUtf8(thirty), column, line, 0xaaaaaa), 23);
    EXPECT_EQ(line, 3);
    EXPECT_EQ(column, 0);
    EXPECT_GT(inkIn(e, 8, 16 + 2 * 28, 8 + 26, 16 + 2 * 28 + 26), 0);     // wrapped to column 0
    EXPECT_EQ(inkIn(e, 8, 16 + 1 * 28, 8 + 5 * 26, 16 + 1 * 28 + 26), 0); // not before column 5

    // Five half-width bytes are three cells; the lone last byte is drawn on its own.
    EXPECT_EQ(drawChoiceText(e, form, "Short", column, line, 0xaaaaaa), 3);
    EXPECT_GT(inkIn(e, 8 + 2 * 26, 16 + 3 * 28, 8 + 3 * 26, 16 + 3 * 28 + 26), 0);
    EXPECT_EQ(e.text.lookback.writePosition(), 0u);
}

TEST(ChoiceText, MenuFormDrawsAtPixelsWithoutWrapping) {
    Harness h;
    prepareForText(h.engine());
    Engine& e = h.engine();
    ChoiceForm form;
    form.menu = true;
    form.glyphWidth = form.glyphHeight = 20;
    form.pitchX = 20;
    form.pitchY = 24;
    std::string forty;
    for (int i = 0; i < 40; ++i) forty += "あ";
    int x = 100, y = 200;
    EXPECT_EQ(drawChoiceText(e, form, sjis::fromUtf8(forty), x, y, 0xffffff), 0);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 200);
    EXPECT_GT(inkIn(e, 100, 200, 120, 220), 0);
    EXPECT_GT(inkIn(e, 600, 200, 620, 220), 0); // the 26th cell, past the text window's line
    EXPECT_EQ(inkIn(e, 0, 220, 640, 480), 0);   // nothing wrapped below
    EXPECT_EQ(inkIn(e, 0, 0, 640, 200), 0);
}

TEST(ChoiceText, ACellPartlyOutsideIsClippedAndOneWhollyOutsideIsAnError) {
    Harness h;
    prepareForText(h.engine());
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
    auto menu = [&](const std::string& events, int& backdrops) {
        Harness h(events);
        prepareForText(h.engine());
        ChoiceForm form;
        form.menu = true;
        form.glyphWidth = form.glyphHeight = 26;
        form.pitchX = 26;
        form.pitchY = 28;
        form.normal = 0xaaaaaa;
        form.highlighted = 0xffffff;
        form.showBackdrop = [&](Engine&) { ++backdrops; };
        int result = -2;
        EXPECT_EQ(h.capture([&] { result = runChoice(h.engine(), form, 0, 0, entries); }), -1);
        // Entries of six bytes at x 281-358: the first at y 212-239, the second at 240-267.
        EXPECT_GT(inkIn(h.engine(), 281, 212, 359, 268), 0);
        return result;
    };
    int backdrops = 0;
    EXPECT_EQ(menu("move 300 250\nclick\n", backdrops), 1);
    EXPECT_EQ(menu("move 300 220\nclick\n", backdrops), 0);
    EXPECT_EQ(menu("move 300 220\nrclick\n", backdrops), -1);
    EXPECT_EQ(backdrops, 3);
}

TEST(ChoiceRun, TheHighlightTakesTheSelectcolourAndLeavesWithThePointer) {
    const std::string scenario =
        game("select \"一つ目\",*a,\"二つ目\",*a\n*a\nend\n", "selectcolor #ff0000,#00ff00\n");
    {
        Harness h("move 30 20\n"); // over the first choice (line 0)
        h.scenario(scenario);
        ASSERT_EQ(h.run(), 3) << h.log(); // still waiting at the choice
        EXPECT_EQ(fullInkColours(h.engine(), 8, 16, 86, 42), std::set<uint32_t>{0xff0000});
        EXPECT_EQ(fullInkColours(h.engine(), 8, 44, 86, 70), std::set<uint32_t>{0x00ff00});
    }
    {
        Harness h("move 30 20\nmove 300 300\n");
        h.scenario(scenario);
        ASSERT_EQ(h.run(), 3) << h.log();
        EXPECT_EQ(fullInkColours(h.engine(), 8, 16, 86, 42), std::set<uint32_t>{0x00ff00});
        EXPECT_EQ(fullInkColours(h.engine(), 8, 44, 86, 70), std::set<uint32_t>{0x00ff00});
    }
    {
        // After a right click and the click that brings the window back, the choice under the
        // pointer is highlighted again, and a click takes it.
        Harness h("move 30 50\nrclick\nclick\n");
        h.scenario(scenario);
        ASSERT_EQ(h.run(), 3) << h.log();
        EXPECT_EQ(fullInkColours(h.engine(), 8, 44, 86, 70), std::set<uint32_t>{0xff0000});
        EXPECT_EQ(fullInkColours(h.engine(), 8, 16, 86, 42), std::set<uint32_t>{0x00ff00});
    }
}

TEST(ChoiceRun, LeavesAnEmptyWindowAndAFinishedLookbackPage) {
    Harness h("click 30 50\n");
    h.scenario(game("前の文\nselect \"一\",*a\n*a\nend\n"));
    ASSERT_EQ(h.run(), 0) << h.log();
    const Engine& e = h.engine();
    EXPECT_EQ(e.text.lookback.text(), sjis::fromUtf8("前の文\n\\"));
    EXPECT_EQ(e.text.lookback.pageCount(), 1);
    EXPECT_EQ(e.text.window.column, 0);
    EXPECT_EQ(e.text.window.line, 0);
    EXPECT_EQ(inkIn(e, 0, 0, 640, 480), 0);
    EXPECT_TRUE(e.text.window.shown);
}

TEST(ChoiceRun, FiftyChoicesAreAllowed) {
    // A window of 60 lines of 4 x 4 glyphs 8 pixels apart: choice i is on line i.
    std::string list;
    for (int i = 0; i < 50; ++i)
        list += std::string(i ? ",\n" : "") + "\"c" + std::to_string(i % 10) + "\"," +
                (i == 49 ? "*last" : "*other");
    Harness h("click 2 396\n");
    h.scenario(game("setwindow 0,0,40,60,4,4,0,4,0,0,0,#999999,0,0,639,479\nselect " + list +
                    "\n*other\nend\n*last\n最後\nend\n"));
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(h.transcript(), "\f最後\n");
}

TEST(ChoiceRun, AnAutomaticClickBesideTheChoicesEndsTheRun) {
    // An automatic click where no choice is can never take one: the input is exhausted.
    Harness h("", 5000, true);
    h.scenario(game("select \"一\",*a\n*a\nend\n"));
    EXPECT_EQ(h.run(), 3);
}

TEST(ChoiceRun, SelnumKeepsTheIntlimitBoundsAndSelectvoiceTheNames) {
    Harness h("click 30 50\n");
    h.scenario(game("selnum %7,\"零\",\"一\"\nend\n",
                    "intlimit 7,0,0\nselectvoice \"a.wav\",\"b.wav\",\"c.wav\"\n"));
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(h.engine().vars.num[7], 0); // 1 brought down to the bound
    EXPECT_EQ(h.engine().choices.shownVoice, "a.wav");
    EXPECT_EQ(h.engine().choices.movedVoice, "b.wav");
    EXPECT_EQ(h.engine().choices.decidedVoice, "c.wav");
}
