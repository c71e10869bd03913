#include "graphics/Surface.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orv;

namespace {

struct FillCase {
    int width, height, bitsPerPixel;
    int left, top, right, bottom;
    uint32_t rgb;
};

// Every pixel a value of its own, so a fill that spills over is seen.
uint32_t patternAt(int x, int y) {
    return 0x010203u * uint32_t(1 + x + 7 * y) & 0xffffff;
}

} // namespace

// Rows end to end (no padding) and padded rows, full-width bands, partial and clipped rectangles,
// grey and coloured fills: every pixel must be either filled or as it was.
TEST(FillRect, FillsExactlyTheClippedRectangle) {
    const FillCase cases[] = {
        {8, 6, 24, 0, 2, 8, 4, 0x404040}, {8, 6, 24, -3, 1, 20, 5, 0x123456},
        {8, 6, 24, 0, 0, 8, 6, 0x204060}, {5, 6, 24, 0, 2, 5, 4, 0x404040},
        {4, 6, 8, 0, 1, 4, 5, 0x000000},  {5, 6, 8, 0, 3, 9, 9, 0x000000},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << "x" << c.bitsPerPixel << " [" << c.left << ","
                     << c.top << ")-[" << c.right << "," << c.bottom << ")");
        Surface s;
        ASSERT_TRUE(createSurface(s, c.width, c.height, c.bitsPerPixel));
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) setPixel(s, x, y, patternAt(x, y));
        fillRect(s, c.left, c.top, c.right, c.bottom, c.rgb);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                if (c.bitsPerPixel == 8) // an all-black palette: index 0 is nearest
                    EXPECT_EQ(pixelIndex(s, x, y), inside ? 0 : int(patternAt(x, y) & 0xff))
                        << x << "," << y;
                else
                    EXPECT_EQ(pixelColor(s, x, y), inside ? c.rgb : patternAt(x, y))
                        << x << "," << y;
            }
    }
}
