// The pictures of a video in time, decoded on demand (headless) or ahead on a thread (in a
// window): each comes when due, in order, late ones dropped, and the video ends after the last.
#include "video/VideoDecoder.h"
#include "TestSupport.h"
#include "VideoWriter.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace orv;

namespace {

std::unique_ptr<VideoFile> tenPictures(const test::TempDir& dir) {
    const std::filesystem::path path = dir.path() / "v.avi";
    videowriter::VideoPlan plan; // 10 pictures, 100 ms each
    EXPECT_TRUE(videowriter::writeVideo(
        path, plan, [](int, std::vector<uint8_t>&) {}, nullptr));
    VideoOpenError why;
    return VideoFile::open(path, 0, &why);
}

// Takes what is due at 0, 100, ... ms until the decoder has finished; the times of the pictures
// taken. A clock step of stepMs per call.
std::vector<int64_t> taken(VideoDecoder& decoder, int64_t stepMs) {
    std::vector<int64_t> times;
    VideoPicture picture;
    for (int64_t now = 0; !decoder.finished(); now += stepMs) {
        if (decoder.takeDue(now, picture)) times.push_back(picture.ms);
        // The decoder thread needs the processor to get ahead of a fast clock.
        std::this_thread::yield();
    }
    return times;
}

TEST(VideoDecoder, OnDemandGivesEveryPictureWhenItIsDue) {
    test::TempDir dir;
    VideoDecoder decoder(tenPictures(dir), false);
    EXPECT_EQ(taken(decoder, 100),
              (std::vector<int64_t>{0, 100, 200, 300, 400, 500, 600, 700, 800, 900}));
    EXPECT_EQ(decoder.endMs(), 1000);
}

TEST(VideoDecoder, OnDemandDropsPicturesThatAreLate) {
    test::TempDir dir;
    VideoDecoder decoder(tenPictures(dir), false);
    EXPECT_EQ(taken(decoder, 250), (std::vector<int64_t>{0, 200, 500, 700, 900}));
}

TEST(VideoDecoder, AheadOnAThreadGivesPicturesInOrderUpToTheLast) {
    test::TempDir dir;
    VideoDecoder decoder(tenPictures(dir), true);
    const std::vector<int64_t> times = taken(decoder, 1);
    ASSERT_FALSE(times.empty());
    for (size_t i = 1; i < times.size(); ++i) EXPECT_LT(times[i - 1], times[i]);
    EXPECT_EQ(times.back(), 900);
    EXPECT_EQ(decoder.endMs(), 1000);
}

} // namespace
