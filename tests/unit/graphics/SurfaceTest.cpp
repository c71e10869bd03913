#include "graphics/Surface.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orv {
namespace {

TEST(Surface, CreateLaysOutBottomUpRowsPaddedToFourBytes) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 5, 3, 24));
    // 15 bytes of pixels + 1 of padding a row, all black.
    EXPECT_EQ(std::tuple(s.bitsPerPixel, s.stride, s.imageBytes()), std::tuple(24, 16, 48));
    EXPECT_EQ(s.pixels, std::vector<uint8_t>(48, 0));
    EXPECT_TRUE(s.palette.empty());

    // Screen row 0 is the last row in memory; pixels are blue, green, red.
    EXPECT_EQ(s.row(0), s.pixels.data() + 32);
    EXPECT_EQ(s.row(2), s.pixels.data());
    setPixel(s, 1, 0, 0x112233);
    EXPECT_EQ(std::vector<uint8_t>(&s.pixels[35], &s.pixels[38]),
              (std::vector<uint8_t>{0x33, 0x22, 0x11}));
    EXPECT_EQ(pixelColor(s, 1, 0), 0x112233u);

    Surface p;
    ASSERT_TRUE(createSurface(p, 5, 2, 8));
    EXPECT_EQ(std::tuple(p.stride, p.paletteEntries()), std::tuple(8, 256));
    EXPECT_EQ(std::tuple(surfaceStride(1, 24), surfaceStride(4, 8), surfaceStride(33, 1)),
              std::tuple(4, 4, 8));
}

TEST(Surface, CreateRefusesOddDepthsAndSizesAndKeepsAttributes) {
    Surface s;
    s.transMode = TransMode::Copy;
    s.cellCount = 3;
    ASSERT_TRUE(createSurface(s, 2, 2, 24));
    for (int bits : {1, 4, 16, 32, 0}) EXPECT_FALSE(createSurface(s, 2, 2, bits)) << bits;
    EXPECT_TRUE(s.empty());
    ASSERT_TRUE(createSurface(s, 2, 2, 24));
    for (auto [w, h] : {std::pair{0, 5}, {5, -1}, {kMaxSurfaceDimension + 1, 1}})
        EXPECT_FALSE(createSurface(s, w, h, 24)) << w << "x" << h;
    EXPECT_TRUE(s.empty() && s.width == 0);
    EXPECT_TRUE(createSurface(s, kMaxSurfaceDimension, 1, 8));
    // A new bitmap does not change how the picture is drawn.
    EXPECT_TRUE(s.transMode == TransMode::Copy && s.cellCount == 3);
}

TEST(Surface, ReleaseEmptiesTheBitmapOnly) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 4, 4, 8));
    s.blendLevel = 100;
    releaseSurface(s);
    EXPECT_TRUE(s.empty() && s.palette.empty());
    EXPECT_EQ(std::tuple(s.width, s.height, s.bitsPerPixel, s.blendLevel),
              std::tuple(0, 0, 0, 100));
    releaseSurface(s); // releasing twice is harmless
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(pixelColor(s, 0, 0), 0u);
    fillSurface(s, 0xffffff); // nothing to fill
}

TEST(Surface, FillRectIsClippedAndExcludesRightAndBottom) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 5, 3, 24));
    fillRect(s, -5, 1, 2, 99, 0xff8000);
    fillRect(s, 3, 0, 2, 3, 0x123456); // empty rectangle
    fillRect(s, 5, 0, 9, 3, 0x123456); // entirely outside
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixelColor(s, x, y), (y >= 1 && x < 2) ? 0xff8000u : 0u) << x << "," << y;

    fillSurface(s, 0x010203);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(pixelColor(s, x, y), 0x010203u);
        EXPECT_EQ(s.row(y)[15], 0); // the padding byte is not part of the picture
    }
}

TEST(Surface, FillOnPalettisedSurfaceUsesNearestEntry) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 3, 2, 8));
    s.palette[5] = PaletteEntry{250, 0, 0, 0};                 // blue
    s.palette[9] = s.palette[10] = PaletteEntry{0, 0, 240, 0}; // red
    fillSurface(s, 0xff0000);
    fillRect(s, 1, 1, 3, 2, 0x0000ff);
    // The first of two equal entries; out of range is -1.
    EXPECT_EQ(std::tuple(pixelIndex(s, 0, 0), pixelIndex(s, 0, 1), pixelIndex(s, 1, 1),
                         pixelIndex(s, 3, 1)),
              std::tuple(9, 9, 5, -1));
    EXPECT_EQ(pixelColor(s, 2, 1), 0x0000fau);
}

TEST(Surface, DisplayedWidthFollowsCellsAndAlphaMode) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 400, 10, 24));
    EXPECT_EQ(displayedWidth(s), 400);
    s.cellCount = 2;
    EXPECT_EQ(std::tuple(cellWidth(s), displayedWidth(s)), std::tuple(200, 200));
    s.transMode = TransMode::Alpha; // picture half and mask half per cell
    EXPECT_EQ(displayedWidth(s), 100);
    s.cellCount = 3;
    EXPECT_EQ(std::tuple(cellWidth(s), displayedWidth(s)), std::tuple(133, 66));
}

} // namespace
} // namespace orv
