// The text window through whole scenario runs: where cells land, what their pixels become, what a
// redraw repaints, the window's tint and picture, links, the commands and the errors.
#include "TextTestSupport.h"
#include "text/DisplayText.h"

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {

struct Box {
    int left = 640, top = 480, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

// The extent of the ink on the page (coverage above 0) in the given screen rectangle.
Box inkBox(const Engine& e, int x0, int y0, int x1, int y1) {
    Box b;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (coverageAt(e, x, y)) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

// Runs the game block (after the definition block `define`); "" when it ended normally.
std::string run(Harness& h, const std::string& game, const std::string& define = "") {
    h.scenario("*define\n" + define + "game\n*start\n" + game + "end\n");
    const int status = h.run();
    return status == 0 ? std::string() : "status " + std::to_string(status) + ": " + h.log();
}

} // namespace

// How cells blend into the picture, with their shadow, is fixed by the golden pictures of the
// text-* and choice-* scenario tests.

namespace {

// The cells drawn straight into the display and the page laid over a redraw give the same
// pixels, so effects, sprites and menus repaint the page as it was drawn.
void expectRedrawMatchesDisplay(Engine& e) {
    const Surface display = e.graphics.surfaces.display;
    redrawRegion(e, kWholeScreen);
    int differing = 0, inked = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            differing +=
                pixelColor(display, x, y) != pixelColor(e.graphics.surfaces.composition, x, y);
            inked += coverageAt(e, x, y) > 0;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(inked, 500);
}

} // namespace

TEST(TextPixels, DrawnCellsMatchTheRedrawOfThePage) {
    Harness h;
    ASSERT_EQ(run(h, "bg #336699,1\nあ#ff8000い<1リンク>う\n文字。、\n"), "");
    expectRedrawMatchesDisplay(h.engine());

    // On a later page, over a picture window, without shadow.
    Harness g("", 600000, true);
    g.file("win.bmp", bmp24(640, 200, [](int x, int y) { return uint32_t(x * 7 + y) * 0x10305u; }));
    ASSERT_EQ(run(g, "bg #804020,1\n"
                     "setwindow 16,300,23,3,26,26,0,2,0,1,0,\":c;win.bmp\",0,280\n"
                     "最初のページ\\\n次のページ\n"),
              "");
    expectRedrawMatchesDisplay(g.engine());
}

// The tint of a coloured window, and what a picture window shows, are fixed by the golden
// pictures of the text-window and text-window-picture scenarios; here, the extent it records.
TEST(TextWindowShade, APictureWindowTakesThePictureSize) {
    Harness h;
    h.file("win.bmp", bmp24(300, 100, [](int, int) { return 0x102030u; }));
    ASSERT_EQ(run(h, "setwindow 110,310,10,2,26,26,0,2,0,1,1,\":c;win.bmp\",100,300\nあ\n"), "");
    const TextWindow& w = h.engine().text.window;
    EXPECT_EQ((std::vector{w.windowColour, w.left, w.top, w.right, w.bottom}),
              (std::vector{-1, 100, 300, 399, 399}));
}

TEST(TextWindowShade, AnEmptyWindowDrawsAndRecordsNothing) {
    Harness h;
    ASSERT_EQ(run(h, "setwindow 8,16,23,16,26,26,0,2,0,1,1,#999999,300,0,200,479\nあ@\n"), "");
    EXPECT_EQ(h.transcript(), "");
    EXPECT_FALSE(h.engine().text.window.shown);
}

// The link colour on the screen is the scenario test text-window.
TEST(TextLinks, RecordTheirPositions) {
    Harness h;
    ASSERT_EQ(run(h, "あ<7いう>え\n"), "");
    const Engine& e = h.engine();
    ASSERT_EQ(e.text.links.count, 1);
    const TextLink& link = e.text.links.entries[0];
    EXPECT_EQ((std::vector{link.number, link.left, link.top, link.right}),
              (std::vector{7, 8 + 26, 16, 8 + 3 * 26}));
}

TEST(TextLinks, TheTableStopsAt256Links) {
    Harness h;
    std::string links;
    for (int i = 0; i < 300; ++i) links += "<" + std::to_string(i) + ">";
    ASSERT_EQ(run(h, links + "あ\n"), "");
    const TextLinkTable& table = h.engine().text.links;
    EXPECT_EQ(table.count, TextLinkTable::kCapacity);
    EXPECT_EQ(table.entries[255].number, 255);
    EXPECT_EQ(h.transcript(), "あ\n");
}

TEST(TextCommands, LocateBrTextclearAndTextoff) {
    Harness h;
    ASSERT_EQ(run(h, "locate 5,3\nmov %1,1\nあ/\nbr\nい\ntextclear\nう/\ntextoff\n"), "");
    const Engine& e = h.engine();
    EXPECT_EQ(h.transcript(), "あ\nい\n\fう");
    EXPECT_FALSE(e.text.window.shown);
    EXPECT_FALSE(e.graphics.layers.textWindowInComposition);
    EXPECT_EQ(e.text.window.column, 1);
    // The page still holds う at column 0 of line 0 for the next time the window shows.
    EXPECT_FALSE(inkBox(e, 8, 16, 34, 42).empty());
    EXPECT_TRUE(inkBox(e, 8 + 5 * 26, 16 + 3 * 28, 640, 480).empty());
}

TEST(TextCommands, GameTakesTheScriptFace) {
    Harness h;
    ASSERT_EQ(h.run("*define\ndefaultfont \"ＭＳ 明朝\"\ngame\n*start\nend\n"), 0);
    const TextWindow& w = h.engine().text.window;
    EXPECT_EQ((std::vector<std::string>{w.scriptFace, w.chosenFace, w.currentFace}),
              std::vector<std::string>(3, S("ＭＳ 明朝")));
}

TEST(TextCommands, SetwindowReadsEveryField) {
    Harness h;
    ASSERT_EQ(run(h, "setwindow 20,30,10,5,16,18,2,4,7,0,0,#123456,10,20,400,300\n"), "");
    const TextWindow& w = h.engine().text.window;
    EXPECT_EQ((std::vector{w.originX, w.originY, w.charactersPerLine, w.lines, w.glyphWidth,
                           w.glyphHeight, w.pitchX, w.pitchY, w.characterDelay, w.bold, w.shadow,
                           w.windowColour, w.left, w.top, w.right, w.bottom}),
              (std::vector{20, 30, 10, 5, 16, 18, 18, 22, 7, 0, 0, 0x123456, 10, 20, 400, 300}));
    EXPECT_FALSE(w.shown);
}
