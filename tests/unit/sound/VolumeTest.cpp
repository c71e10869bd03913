// The player's volumes: a gain on top of the scenario's level, the WAV channel at the voices' or
// the effects' level by what it plays, changes in the sound log and kept in orvane.ini.
#include "EngineHarness.h"
#include "SoundFiles.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/Mixer.h"
#include "sound/SoundLog.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

class SteadySource final : public SoundSource {
public:
    int rate() const override { return 44100; }
    int channels() const override { return 2; }
    size_t read(float* out, size_t frames) override {
        std::fill_n(out, frames * 2, 0.5f);
        return frames;
    }
    bool rewind() override { return true; }
};

TEST(PlayerVolume, TheGainScalesOnTopOfTheScenariosLevel) {
    Mixer mixer({44100, 2}, false);
    mixer.play(SoundChannel::Cd, std::make_unique<SteadySource>(), true);
    int16_t full[2], scaled[2];
    mixer.mix(full, 1);
    mixer.setVolume(SoundChannel::Cd, 50);
    mixer.setGain(SoundChannel::Cd, 50);
    mixer.mix(scaled, 1);
    EXPECT_NEAR(scaled[0], full[0] / 4, 1);
}

TEST(PlayerVolume, EffectsVoicesMenuAndMuteKey) {
    // Music lowered twice from the menu; the first page's click starts its voice; M on the second.
    test::Harness h("menu 41030\nmenu 41030\nclick\nkey m\nclick\n");
    h.file("se.wav", test::wavBytes(5000));
    h.file("v.wav", test::wavBytes(5000));
    h.file("orvane.ini", "volume.voices=30\nvolume.effects=60\nvolume.video=40\n");
    h.scenario("*define\nclickvoice \"\",\"v.wav\"\ngame\n*start\nwave \"se.wav\"\n"
               "!s0あ\\\n!s0い\\\nend\n");
    Engine& e = h.engine();
    e.sound.makeDevice = [] { return std::make_unique<HeadlessAudio>(); };
    e.sound.log = std::make_unique<SoundLog>();
    std::vector<int> wavGain; // at each page's character
    int videoGain = -1;
    h.platform().onTranscript = [&](std::string_view utf8) {
        if (utf8 == "あ" || utf8 == "い") wavGain.push_back(e.sound.mixer->gain(SoundChannel::Wav));
        if (utf8 == "あ") videoGain = e.sound.mixer->gain(SoundChannel::Video);
    };
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(wavGain, (std::vector<int>{60, 30})) << "the effect, then the page's voice";
    EXPECT_EQ(videoGain, 40) << "a video's sound has the video level";
    EXPECT_EQ(e.sound.mixer->gain(SoundChannel::Wav), 0) << "muted";
    const std::string& log = e.sound.log->text();
    for (const char* line : {"volume music 75\n", "volume music 50\n", "mute on\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    const std::string ini = test::readFile(h.dir() / "orvane.ini");
    EXPECT_NE(ini.find("volume.music=50\nvolume.mute=1"), std::string::npos) << ini;
}

} // namespace
} // namespace orv
