// The players heard through SDL's recording audio driver, which writes what it plays to a file:
// each decoder makes sound on the window's device, and two channels sound at once.
#include "EngineHarness.h"
#include "ScopedEnv.h"
#include "SoundFiles.h"
#include "platform/sdl/SdlAudio.h"
#include "sound/MidiSource.h"
#include "sound/SoundPlayback.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace orv {
namespace {

class SoundOnDisk : public ::testing::Test {
protected:
    // Plays what `start` starts until the recording holds `ms` of sound; the recorded samples.
    std::vector<int16_t> record(const std::function<void(Engine&)>& start, int ms = 400) {
        const std::filesystem::path out = harness.dir() / "recorded.raw";
        test::ScopedEnv driver("SDL_AUDIODRIVER", "disk");
        test::ScopedEnv file("SDL_DISKAUDIOFILE", out.c_str());
        Engine& engine = harness.engine();
        engine.sound.makeDevice = createSdlAudio;
        start(engine);
        const auto wanted = std::uintmax_t(44100 * 4) * std::uintmax_t(ms) / 1000;
        std::error_code ec;
        // The driver writes at the pace of a real device: wait (bounded) for enough of it. On a
        // loaded machine the first buffers can go out before the sound starts, so a silent
        // recording is given more time.
        for (int i = 0; i < 500; ++i) {
            if (std::filesystem::file_size(out, ec) >= wanted && peak(samplesIn(out)) > 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        stopAllSound(engine);
        return samplesIn(out);
    }

    static std::vector<int16_t> samplesIn(const std::filesystem::path& file) {
        const std::string bytes = test::readFile(file);
        std::vector<int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

    static int peak(const std::vector<int16_t>& samples) {
        int top = 0;
        for (int16_t s : samples) top = std::max(top, std::abs(int(s)));
        return top;
    }

    test::Harness harness;
};

TEST_F(SoundOnDisk, WavSounds) {
    harness.file("se.wav", test::wavBytes(300, 22050, 1, 8000));
    EXPECT_EQ(peak(record([](Engine& e) { playWave(e, "se.wav", false); })), 8000);
}

TEST_F(SoundOnDisk, MidiSounds) {
    if (findSoundFont().empty()) GTEST_SKIP() << "no General MIDI sound font installed";
    harness.file("bgm.mid", test::midiBytes(300));
    EXPECT_GT(peak(record([](Engine& e) { playMidi(e, "bgm.mid", false); })), 300);
}

TEST_F(SoundOnDisk, Mp3Sounds) {
    const std::string mp3 = test::mp3Bytes(300, harness.dir() / "scratch.mp3");
    if (mp3.empty()) GTEST_SKIP() << "this libsndfile cannot write MP3";
    harness.file("m.mp3", mp3);
    EXPECT_GT(peak(record([](Engine& e) { playMp3(e, "m.mp3", false); })), 10000);
}

TEST_F(SoundOnDisk, TwoChannelsSoundTogether) {
    // Two steady levels: only their sum reaches 12000.
    harness.file("se.wav", test::wavBytes(300, 44100, 2, 6000));
    harness.file("m.mp3", test::wavBytes(300, 44100, 2, 6000));
    EXPECT_EQ(peak(record([](Engine& e) {
                  playWave(e, "se.wav", false);
                  playMp3(e, "m.mp3", false);
              })),
              12000);
}

} // namespace
} // namespace orv
