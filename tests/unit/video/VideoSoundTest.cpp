// A video's sound on its way to the mixer: converted to the mixer's rate in stereo, as long as
// the pictures, silence while the decoder is behind, and the channel's count of mixed frames
// (the pictures' clock) ending with the sound.
#include "video/VideoSound.h"
#include "TestSupport.h"
#include "VideoWriter.h"
#include "sound/Mixer.h"
#include "video/VideoFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace orv;

namespace {

TEST(VideoSound, ComesAtTheMixersRateAndLastsAsLongAsThePictures) {
    test::TempDir dir;
    const std::filesystem::path path = dir.path() / "v.avi";
    videowriter::VideoPlan plan; // 1 s of pictures, a 440 Hz tone at 22050 Hz in mono
    plan.soundCodec = "pcm_s16le";
    ASSERT_TRUE(videowriter::writeVideo(
        path, plan, [](int, std::vector<uint8_t>&) {}, nullptr));
    VideoOpenError why;
    std::unique_ptr<VideoFile> video = VideoFile::open(path, 44100, &why);
    ASSERT_TRUE(video);
    ASSERT_TRUE(video->sound());
    VideoPicture picture;
    int pictures = 0;
    while (video->nextPicture(picture)) ++pictures;
    EXPECT_EQ(pictures, plan.frames);
    const std::shared_ptr<VideoSoundQueue> sound = video->sound();
    EXPECT_TRUE(sound->finished());
    // A second of sound, give or take the encoder's last block.
    EXPECT_NEAR(double(sound->queuedFrames()), 44100.0, 2500.0);

    Mixer mixer({44100, 2}, false);
    const size_t total = sound->queuedFrames();
    mixer.play(SoundChannel::Video, makeVideoSoundSource(sound), false);
    std::vector<int16_t> out(1024 * 2);
    int16_t loudest = 0;
    while (mixer.playing(SoundChannel::Video)) {
        mixer.mix(out.data(), 1024);
        for (int16_t s : out) loudest = std::max<int16_t>(loudest, int16_t(std::abs(s)));
    }
    EXPECT_EQ(mixer.framesMixed(SoundChannel::Video), total);
    // The tone was written at a quarter of full scale.
    EXPECT_NEAR(loudest, 8000, 800);
}

TEST(VideoSound, PlaysSilenceWhileTheDecoderIsBehindAndEndsWhenItHasFinished) {
    VideoSoundQueue queue(44100);
    const float two[] = {0.5f, -0.5f, 0.25f, -0.25f};
    queue.append(two, 2);
    std::vector<float> out(8, 1.f);
    EXPECT_EQ(queue.read(out.data(), 4), 4u);
    EXPECT_EQ(out, (std::vector<float>{0.5f, -0.5f, 0.25f, -0.25f, 0, 0, 0, 0}));
    queue.append(two, 1);
    queue.finish();
    EXPECT_EQ(queue.read(out.data(), 4), 1u);
    EXPECT_EQ(queue.read(out.data(), 4), 0u);
}

} // namespace
