#include "platform/Png.h"
#include "platform/Transcript.h"

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
    ASSERT_EQ(image->width, 640);
    ASSERT_EQ(image->height, 480);
    // Screen row 0 is the top of the PNG; pixels come back red-green-blue.
    const uint8_t* p = image->pixel(7, 0);
    EXPECT_EQ(p[0], 7);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 7);
    p = image->pixel(300, 479);
    EXPECT_EQ(p[0], uint8_t(300 ^ 479));
    EXPECT_EQ(p[1], uint8_t(479));
    EXPECT_EQ(p[2], uint8_t(300));
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

TEST(Transcript, WritesBytesAsGivenAndReportsFailure) {
    test::TempDir dir;
    auto path = dir.path() / "t.txt";
    {
        std::string error;
        auto t = Transcript::open(path.string(), &error);
        ASSERT_TRUE(t) << error;
        t->write("\xE3\x81\x82");
        t->write("");
        t->write("b\n\f");
    }
    EXPECT_EQ(test::readFile(path), "\xE3\x81\x82"
                                    "b\n\f");
    std::string error;
    EXPECT_FALSE(Transcript::open((dir.path() / "no/dir/t.txt").string(), &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace orv
