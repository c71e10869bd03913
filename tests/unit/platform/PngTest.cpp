#include "platform/Png.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Png, FrameRoundTripKeepsOrientationAndChannels) {
    FrameBuffer frame;
    for (int y = 0; y < frame.height; ++y) {
        uint8_t* row = frame.row(y);
        for (int x = 0; x < frame.width; ++x) {
            row[x * 3 + 0] = uint8_t(x);     // blue
            row[x * 3 + 1] = uint8_t(y);     // green
            row[x * 3 + 2] = uint8_t(x ^ y); // red
        }
    }
    test::TempDir dir;
    std::string path = (dir.path() / "f.png").string();
    std::string error;
    ASSERT_TRUE(writePng(path, frame, &error)) << error;
    auto image = readPng(path, &error);
    ASSERT_TRUE(image) << error;
    ASSERT_EQ(std::pair(image->width, image->height), std::pair(640, 480));
    // Screen row 0 is the top of the PNG; pixels come back red-green-blue.
    const uint8_t* p = image->pixel(300, 479);
    EXPECT_EQ(std::vector<int>(p, p + 3),
              (std::vector<int>{uint8_t(300 ^ 479), uint8_t(479), uint8_t(300)}));
    EXPECT_EQ(*image, toRgb(frame));
}

TEST(Png, RgbImageRoundTripAndFailures) {
    RgbImage small{3, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}};
    test::TempDir dir;
    std::string path = (dir.path() / "s.png").string();
    ASSERT_TRUE(writePng(path, small));
    auto back = readPng(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, small);

    std::string error;
    EXPECT_FALSE(readPng((dir.path() / "none.png").string(), &error));
    EXPECT_FALSE(error.empty());
    auto junk = dir.write("junk.png", "not a picture at all");
    EXPECT_FALSE(readPng(junk.string()));
    EXPECT_FALSE(writePng((dir.path() / "no/such/dir/x.png").string(), small, &error));
    EXPECT_FALSE(writePng(path, RgbImage{2, 2, {1, 2, 3}}));
}

} // namespace
} // namespace orv
