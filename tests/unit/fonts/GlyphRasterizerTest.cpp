#include "platform/fonts/GlyphRasterizer.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using orv::GlyphFont;
using orv::GlyphRasterizer;
using orv::GreyRaster;
using orv::S;

namespace {

const std::string kGothic = "ＭＳ ゴシック";

struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // inclusive bounds
    long total = 0;
    bool any() const { return right >= 0; }
};

Ink inkOf(const GreyRaster& r, int x0 = 0, int x1 = -1) {
    if (x1 < 0) x1 = r.width;
    Ink ink;
    for (int y = 0; y < r.height; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (int v = r.at(x, y)) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ink.total += v;
            }
        }
    }
    return ink;
}

GreyRaster maxOf(const GreyRaster& a, const GreyRaster& b) {
    GreyRaster out = a;
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = std::max(a.pixels[i], b.pixels[i]);
    return out;
}

// The engine's default glyph font: a 26 × 26 cell drawn three times larger.
class GlyphRasterizerTest : public ::testing::Test {
protected:
    GreyRaster draw(const std::string& sjis, bool bold = false, int x = 0, int y = 0) {
        GreyRaster r(128, 128);
        rast.drawText(rast.font(kGothic, 78, 39, bold), sjis, r, x, y);
        return r;
    }
    GlyphRasterizer rast;
};

} // namespace

TEST_F(GlyphRasterizerTest, CellHeightAndAverageWidthGiveTheEngineCell) {
    // IPAGothic: 2048 units per em, usWinAscent 1802, usWinDescent 401, xAvgCharWidth 1024.
    // Cell 78 -> em round(78 * 2048 / 2203) = 73, baseline round(1802 * 73 / 2048) = 64;
    // average width 39 -> horizontal em 78: full-width advance 78, half-width 39.
    const GlyphFont& f = rast.font(kGothic, 78, 39, false);
    ASSERT_TRUE(f.valid());
    EXPECT_EQ(f.source().family, "IPAGothic");
    EXPECT_EQ(f.ascent(), 64);
    EXPECT_EQ(f.fullAdvance(), 78);
    EXPECT_EQ(f.halfAdvance(), 39);
    // Without a width the face keeps its proportions: half of the 73-pixel em, rounded.
    EXPECT_EQ(rast.font(kGothic, 78, 0, false).halfAdvance(), 37);
    // The same request gives the same font object.
    EXPECT_EQ(&f, &rast.font(kGothic, 78, 39, false));
}

TEST_F(GlyphRasterizerTest, TextSitsOnTheBaselineInsideTheCell) {
    // IPAGothic's "A" spans 104..1538 units above the baseline, its "_" -246..-195: at a
    // 73-pixel em with the baseline 64 pixels down that is rows 9.2..60.3 and 70.96..72.8.
    Ink a = inkOf(draw("A")), underscore = inkOf(draw("_"));
    EXPECT_EQ((std::vector{a.top, a.bottom, underscore.top, underscore.bottom}),
              (std::vector{9, 60, 70, 72}));
    EXPECT_LT(a.right, 39);

    // Full-width characters fill the 78 × 78 cell without touching or crossing its edges (あ, 漢
    // and 「, regular and bold, are fixed to the pixel by GlyphGoldenTest).
    for (const char* ch : {"」", "ぎ", "ー"}) {
        Ink ink = inkOf(draw(S(ch)));
        EXPECT_TRUE(ink.any() && ink.left > 0 && ink.top > 0 && ink.right < 77 && ink.bottom < 77)
            << ch;
    }
    // 」 sits in the lower left.
    Ink close = inkOf(draw(S("」")));
    EXPECT_TRUE(close.right < 39 && close.top > 8);
}

TEST_F(GlyphRasterizerTest, HalfWidthCharactersShareTheCell) {
    // A pair is the first character at 0 and the second one half cell further.
    GreyRaster pair = draw("Ab");
    EXPECT_EQ(pair.pixels, maxOf(draw("A"), draw("b", false, 39, 0)).pixels);
    // Half-width katakana are one-byte characters too; a lone byte draws in the left half only.
    auto halves = [](const GreyRaster& r) {
        return std::vector{inkOf(r, 0, 39).any(), inkOf(r, 39, 78).any(), inkOf(r, 78).any()};
    };
    EXPECT_EQ(halves(pair), (std::vector{true, true, false}));
    EXPECT_EQ(halves(draw(S("ｱｲ"))), (std::vector{true, true, false}));
    EXPECT_EQ(halves(draw("W")), (std::vector{true, false, false}));
}

TEST_F(GlyphRasterizerTest, DrawingIsClippedToTheRaster) {
    GreyRaster whole = draw(S("漢"));
    for (auto [dx, dy] : {std::pair(90, 70), {-40, -30}}) {
        GreyRaster moved = draw(S("漢"), false, dx, dy);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x)
                ASSERT_EQ(moved.at(x, y), whole.at(x - dx, y - dy)) << x << "," << y;
    }
    // A raster smaller than the cell.
    GreyRaster small(20, 10);
    rast.drawText(rast.font(kGothic, 78, 39, false), S("漢"), small, 0, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(small.at(x, y), whole.at(x, y));
}

TEST_F(GlyphRasterizerTest, FacesAndOddBytes) {
    // The face name matters.
    GreyRaster mincho(128, 128);
    rast.drawText(rast.font("ＭＳ 明朝", 78, 39, false), S("漢"), mincho, 0, 0);
    EXPECT_TRUE(inkOf(mincho).any());
    EXPECT_NE(mincho.pixels, draw(S("漢")).pixels);
    // A pair without a character shows the code page's default character, the middle dot.
    EXPECT_EQ(draw("\x85\x40").pixels, draw(S("・")).pixels);
    // A font with no height draws nothing.
    GreyRaster r(128, 128);
    rast.drawText(rast.font(kGothic, 0, 39, false), S("漢"), r, 0, 0);
    EXPECT_FALSE(inkOf(r).any());
    // Drawing is deterministic and adds to what is there.
    GreyRaster twice = draw(S("漢"));
    rast.drawText(rast.font(kGothic, 78, 39, false), S("漢"), twice, 0, 0);
    EXPECT_EQ(twice.pixels, draw(S("漢")).pixels);
}
