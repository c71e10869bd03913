// The mixer on its own: what it adds up, at what volume, when a channel ends or starts over,
// and how a source of another rate is stretched to the device's.
#include "sound/Mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using namespace orv;

namespace {

// `frames` frames of one constant value.
class SteadySource final : public SoundSource {
public:
    SteadySource(int rate, int channels, size_t frames, float value)
        : rate_(rate), channels_(channels), frames_(frames), value_(value) {}
    int rate() const override { return rate_; }
    int channels() const override { return channels_; }
    size_t read(float* out, size_t frames) override {
        const size_t n = std::min(frames, frames_ - pos_);
        std::fill_n(out, n * size_t(channels_), value_);
        pos_ += n;
        return n;
    }
    bool rewind() override {
        pos_ = 0;
        return true;
    }

private:
    int rate_, channels_;
    size_t frames_, pos_ = 0;
    float value_;
};

std::unique_ptr<SoundSource> steady(size_t frames, float value, int rate = 44100,
                                    int channels = 2) {
    return std::make_unique<SteadySource>(rate, channels, frames, value);
}

std::vector<int16_t> pull(Mixer& mixer, size_t frames) {
    std::vector<int16_t> out(frames * 2);
    mixer.mix(out.data(), frames);
    return out;
}

TEST(Mixer, ChannelsAddUpAtTheirVolumes) {
    Mixer mixer({44100, 2}, false);
    mixer.play(SoundChannel::Cd, steady(100, 0.25f), false);
    mixer.play(SoundChannel::Wav, steady(100, 0.5f), false);
    mixer.setVolume(SoundChannel::Wav, 50);
    const std::vector<int16_t> out = pull(mixer, 100);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 16384; }));
}

TEST(Mixer, LoudSumsClipInsteadOfWrapping) {
    Mixer mixer({44100, 2}, false);
    for (SoundChannel c : {SoundChannel::Cd, SoundChannel::Midi, SoundChannel::Mp3})
        mixer.play(c, steady(10, 0.9f), false);
    EXPECT_EQ(pull(mixer, 10)[0], 32767);
}

TEST(Mixer, AChannelFallsSilentAtItsEnd) {
    Mixer mixer({44100, 2}, false);
    mixer.play(SoundChannel::Wav, steady(3000, 0.5f), false);
    std::vector<int16_t> out = pull(mixer, 2000);
    EXPECT_TRUE(mixer.playing(SoundChannel::Wav));
    out = pull(mixer, 2000);
    EXPECT_EQ(out[999 * 2], 16384);
    EXPECT_EQ(out[1000 * 2], 0);
    EXPECT_FALSE(mixer.playing(SoundChannel::Wav));
}

TEST(Mixer, ALoopingChannelStartsOverWithoutAGap) {
    Mixer mixer({44100, 2}, false);
    mixer.play(SoundChannel::Wav, steady(700, 0.5f), true);
    const std::vector<int16_t> out = pull(mixer, 5000);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 16384; }));
    EXPECT_TRUE(mixer.playing(SoundChannel::Wav));
    EXPECT_GE(mixer.restarts(SoundChannel::Wav), 7u);
}

TEST(Mixer, StopAndRestart) {
    Mixer mixer({44100, 2}, false);
    mixer.play(SoundChannel::Midi, steady(500, 0.5f), false);
    pull(mixer, 1000);
    EXPECT_FALSE(mixer.playing(SoundChannel::Midi));
    mixer.restart(SoundChannel::Midi);
    EXPECT_TRUE(mixer.playing(SoundChannel::Midi));
    EXPECT_EQ(pull(mixer, 1)[0], 16384);
    mixer.stop(SoundChannel::Midi);
    EXPECT_FALSE(mixer.playing(SoundChannel::Midi));
    EXPECT_EQ(pull(mixer, 1)[0], 0);
}

TEST(Mixer, OtherRatesAndMonoAreStretchedToTheDevice) {
    Mixer mixer({44100, 2}, false);
    // A second of mono at 11025 Hz lasts a second at 44100 Hz, on both sides.
    mixer.play(SoundChannel::Wav, steady(11025, 0.5f, 11025, 1), false);
    const std::vector<int16_t> out = pull(mixer, 44200);
    const auto sounding = std::count(out.begin(), out.end(), int16_t(16384));
    EXPECT_NEAR(double(sounding), 2 * 44100.0, 8.0);
}

TEST(Mixer, DecoderThreadFeedsTheDevice) {
    Mixer mixer({44100, 2}, true);
    mixer.play(SoundChannel::Wav, steady(100000, 0.5f), false);
    // The queue fills on the decoder's own thread; the pull takes what is there by then.
    std::vector<int16_t> out;
    for (int i = 0; i < 100000 && std::count(out.begin(), out.end(), int16_t(16384)) == 0; ++i)
        out = pull(mixer, 64);
    EXPECT_GT(std::count(out.begin(), out.end(), int16_t(16384)), 0);
}

} // namespace
