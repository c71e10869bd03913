#include "platform/headless/HeadlessAudio.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

struct Pulls {
    std::vector<size_t> sizes;
    uint64_t total = 0;
    AudioDevice::Pull pull() {
        return [this](int16_t*, size_t frames) {
            sizes.push_back(frames);
            total += frames;
        };
    }
};

TEST(HeadlessAudio, PullsWhatWouldHavePlayedByTheVirtualClock) {
    HeadlessAudio audio(512);
    Pulls p;
    ASSERT_TRUE(audio.open({22050, 2}, p.pull(), nullptr));
    EXPECT_EQ(audio.format(), (AudioFormat{22050, 2}));
    audio.runUntil(1);
    EXPECT_EQ(p.total, 22u); // 22.05 frames are due: never run ahead of the clock
    audio.runUntil(1000);
    EXPECT_EQ(p.total, 22050u);
    for (size_t n : p.sizes) EXPECT_LE(n, 512u);
    audio.runUntil(500); // an earlier moment plays nothing again
    EXPECT_EQ(p.total, 22050u);
    audio.close();
    audio.runUntil(5000);
    EXPECT_EQ(p.total, 22050u);
    EXPECT_FALSE(audio.isOpen());
}

TEST(HeadlessAudio, RefusesAFormatWithoutSamplesOrSource) {
    HeadlessAudio audio;
    Pulls p;
    std::string error;
    EXPECT_FALSE(audio.open({0, 2}, p.pull(), &error));
    EXPECT_FALSE(audio.open({44100, 2}, nullptr, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(audio.isOpen());
}

} // namespace
} // namespace orv
