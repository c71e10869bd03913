#include "text/GlyphCache.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

using orv::downFilter;
using orv::GlyphCache;
using orv::GlyphCell;
using orv::GreyRaster;
using orv::S;

namespace {

const std::string kGothicSjis = S("ＭＳ ゴシック");

long inkIn(const GlyphCell& c, int x0, int x1, int y0 = 0, int y1 = -1) {
    if (y1 < 0) y1 = c.height;
    long sum = 0;
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) sum += c.at(i, j);
    return sum;
}

const GlyphCell& cellOf(GlyphCache& cache, const char* utf8, bool bold = false, int size = 26) {
    std::string b = S(utf8);
    return cache.cell(kGothicSjis, size, size, bold, static_cast<unsigned char>(b[0]),
                      b.size() > 1 ? static_cast<unsigned char>(b[1]) : 0);
}

} // namespace

TEST(DownFilter, WeighsCornersEdgesAndCentre) {
    // Five cells side by side, each from its own 3 × 3 block.
    GreyRaster g(15, 3);
    auto set = [&](int x, int y, uint8_t v) { g.pixels[size_t(y) * g.width + x] = v; };
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) set(x, y, 255); // cell 0: all white
    set(4, 1, 255);                                 // cell 1: centre only
    set(6, 0, 100);                                 // cell 2: the four corners
    set(8, 0, 101);
    set(6, 2, 102);
    set(8, 2, 103);
    set(10, 0, 16); // cell 3: the four edge centres
    set(9, 1, 32);
    set(11, 1, 48);
    set(10, 2, 64);
    const uint8_t mixed[9] = {1, 20, 3, 40, 5, 60, 7, 80, 9}; // cell 4
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) set(12 + x, y, mixed[y * 3 + x]);

    GlyphCell c = downFilter(g, 5, 1);
    ASSERT_EQ(std::pair(c.width, c.height), std::pair(5, 1));
    // Centre 4 * 255 / 16 = 63.75; corners; edges twice. The mixed cell: corners 1 + 3 + 7 + 9,
    // edges 20 + 40 + 60 + 80, centre 5: (20 + 400 + 20) / 16.
    EXPECT_EQ(c.coverage, (std::pmr::vector<uint8_t>{255, 63, (100 + 101 + 102 + 103) / 16,
                                                     2 * (16 + 32 + 48 + 64) / 16, 27}));
}

TEST(DownFilter, PixelsOutsideTheRasterAreBlack) {
    GreyRaster g(4, 4);
    g.pixels.assign(16, 255);
    // Block (3, 0) has only column 3 (corner, edge, corner), block (0, 3) only row 3, block
    // (3, 3) a single corner.
    const uint8_t edge = (255 + 2 * 255 + 255) / 16;
    EXPECT_EQ(downFilter(g, 3, 2).coverage, (std::pmr::vector<uint8_t>{255, edge, 0, edge, 15, 0}));
    EXPECT_TRUE(downFilter(g, 0, 5).coverage.empty());
}

// What a cell looks like is fixed by GlyphGoldenTest; these are the cache's own duties.
TEST(GlyphCache, EachKeyIsRenderedOnce) {
    GlyphCache cache;
    const GlyphCell& first = cellOf(cache, "あ");
    EXPECT_EQ(cache.renderCount(), 1u);
    EXPECT_EQ(&first, &cellOf(cache, "あ"));
    EXPECT_EQ(cache.renderCount(), 1u);

    // Every part of the key makes its own cell.
    cellOf(cache, "あ", true);
    cellOf(cache, "い");
    cellOf(cache, "あ", false, 24);
    cache.cell(kGothicSjis, 26, 24, false, 0x82, 0xA0);
    cache.cell(S("ＭＳ 明朝"), 26, 26, false, 0x82, 0xA0);
    EXPECT_EQ(cache.renderCount(), 6u);
    EXPECT_EQ(cache.size(), 6u);
    // Filling the cache does not move cells already handed out.
    for (unsigned c = 0x40; c < 0x7F; ++c) cache.cell(kGothicSjis, 26, 26, false, 'a', c);
    EXPECT_EQ(&first, &cellOf(cache, "あ"));
    EXPECT_EQ(cache.renderCount(), 6u + 0x3F);

    // An empty cell is not rendered at all.
    EXPECT_TRUE(cache.cell(kGothicSjis, 0, 26, false, 0x82, 0xA0).coverage.empty());
    EXPECT_EQ(cache.renderCount(), 6u + 0x3F);
}

TEST(GlyphCache, LargeCellsAreNotClippedByTheInitialSurface) {
    // 50 × 50 needs a 150 × 150 surface; the 128 × 128 one is enlarged.
    GlyphCache cache;
    const GlyphCell& big = cellOf(cache, "漢", false, 50);
    ASSERT_EQ(big.coverage.size(), 50u * 50u);
    EXPECT_GT(inkIn(big, 0, 50, 43, 50), 0);
    EXPECT_GT(inkIn(big, 43, 50, 0, 50), 0);
    // The enlarged surface leaves smaller cells as they were.
    GlyphCache fresh;
    EXPECT_EQ(cellOf(cache, "あ").coverage, cellOf(fresh, "あ").coverage);
}
