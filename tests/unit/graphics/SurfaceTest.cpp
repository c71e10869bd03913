#include "graphics/Surface.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Surface, CreateLaysOutBottomUpRowsPaddedToFourBytes) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 5, 3, 24));
    EXPECT_EQ(s.bitsPerPixel, 24);
    EXPECT_EQ(s.stride, 16); // 15 bytes of pixels + 1 of padding
    EXPECT_EQ(s.imageBytes(), 48);
    ASSERT_EQ(s.pixels.size(), 48u);
    EXPECT_TRUE(s.palette.empty());
    for (uint8_t b : s.pixels) ASSERT_EQ(b, 0);

    // Screen row 0 is the last row in memory.
    EXPECT_EQ(s.row(0), s.pixels.data() + 32);
    EXPECT_EQ(s.row(2), s.pixels.data());

    // Pixels are blue, green, red in memory.
    setPixel(s, 1, 0, 0x112233);
    EXPECT_EQ(s.pixels[32 + 3], 0x33);
    EXPECT_EQ(s.pixels[32 + 4], 0x22);
    EXPECT_EQ(s.pixels[32 + 5], 0x11);
    EXPECT_EQ(pixelColor(s, 1, 0), 0x112233u);

    Surface p;
    ASSERT_TRUE(createSurface(p, 5, 2, 8));
    EXPECT_EQ(p.stride, 8);
    EXPECT_EQ(p.paletteEntries(), 256);
    EXPECT_EQ(surfaceStride(1, 24), 4);
    EXPECT_EQ(surfaceStride(4, 8), 4);
    EXPECT_EQ(surfaceStride(33, 1), 8);
}

TEST(Surface, CreateRefusesOddDepthsAndSizesAndKeepsAttributes) {
    Surface s;
    s.transMode = TransMode::Copy;
    s.cellCount = 3;
    ASSERT_TRUE(createSurface(s, 2, 2, 24));
    for (int bits : {1, 4, 16, 32, 0}) EXPECT_FALSE(createSurface(s, 2, 2, bits)) << bits;
    EXPECT_TRUE(s.empty());
    EXPECT_FALSE(createSurface(s, 0, 5, 24));
    EXPECT_FALSE(createSurface(s, 5, -1, 24));
    EXPECT_FALSE(createSurface(s, kMaxSurfaceDimension + 1, 1, 24));
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.width, 0);
    EXPECT_TRUE(createSurface(s, kMaxSurfaceDimension, 1, 8));
    // A new bitmap does not change how the picture is drawn.
    EXPECT_EQ(s.transMode, TransMode::Copy);
    EXPECT_EQ(s.cellCount, 3);
}

TEST(Surface, ReleaseEmptiesTheBitmapOnly) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 4, 4, 8));
    s.blendLevel = 100;
    releaseSurface(s);
    EXPECT_TRUE(s.empty());
    EXPECT_TRUE(s.palette.empty());
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.height, 0);
    EXPECT_EQ(s.bitsPerPixel, 0);
    EXPECT_EQ(s.blendLevel, 100);
    releaseSurface(s); // releasing twice is harmless
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(pixelColor(s, 0, 0), 0u);
    fillSurface(s, 0xffffff); // nothing to fill
}

TEST(Surface, FillRectIsClippedAndExcludesRightAndBottom) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 5, 3, 24));
    fillRect(s, -5, 1, 2, 99, 0xff8000);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint32_t want = (y >= 1 && x < 2) ? 0xff8000 : 0;
            EXPECT_EQ(pixelColor(s, x, y), want) << x << "," << y;
        }
    fillRect(s, 3, 0, 2, 3, 0x123456); // empty rectangle
    fillRect(s, 5, 0, 9, 3, 0x123456); // entirely outside
    EXPECT_EQ(pixelColor(s, 3, 0), 0u);

    fillSurface(s, 0x010203);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(pixelColor(s, x, y), 0x010203u);
    // The padding byte at the end of each row is not part of the picture.
    for (int y = 0; y < 3; ++y) EXPECT_EQ(s.row(y)[15], 0);
}

TEST(Surface, FillOnPalettisedSurfaceUsesNearestEntry) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 3, 2, 8));
    s.palette[5] = PaletteEntry{250, 0, 0, 0}; // blue
    s.palette[9] = PaletteEntry{0, 0, 240, 0}; // red
    s.palette[10] = PaletteEntry{0, 0, 240, 0};
    fillSurface(s, 0xff0000);
    EXPECT_EQ(pixelIndex(s, 0, 0), 9); // first of two equal entries
    fillRect(s, 1, 1, 3, 2, 0x0000ff);
    EXPECT_EQ(pixelIndex(s, 0, 1), 9);
    EXPECT_EQ(pixelIndex(s, 1, 1), 5);
    EXPECT_EQ(pixelColor(s, 2, 1), 0x0000fau);
    EXPECT_EQ(pixelIndex(s, 3, 1), -1);
}

TEST(Surface, DisplayedWidthFollowsCellsAndAlphaMode) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 400, 10, 24));
    EXPECT_EQ(displayedWidth(s), 400);
    s.cellCount = 2;
    EXPECT_EQ(cellWidth(s), 200);
    EXPECT_EQ(displayedWidth(s), 200);
    s.transMode = TransMode::Alpha;
    EXPECT_EQ(displayedWidth(s), 100); // picture half and mask half per cell
    s.cellCount = 3;
    EXPECT_EQ(cellWidth(s), 133);
    EXPECT_EQ(displayedWidth(s), 66);
}

} // namespace
} // namespace orv
