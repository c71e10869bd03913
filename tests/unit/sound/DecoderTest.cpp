// The built-in decoders, chosen by content: what each makes of a real file, and that a broken
// file of any kind is refused or ends, never read past.
#include "SoundFiles.h"
#include "TestSupport.h"
#include "sound/MidiSource.h"
#include "sound/SoundDecoders.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orv;

namespace {

SoundBytes bytes(std::string s) {
    return std::make_shared<const std::string>(std::move(s));
}

std::shared_ptr<MidiSynth> noSynth(std::string* error) {
    *error = "no synthesizer in this test";
    return nullptr;
}

// Reads the whole source; its peak level.
float peak(SoundSource& s, size_t maxFrames = 1 << 20) {
    std::vector<float> block(1024 * size_t(s.channels()));
    float top = 0;
    for (size_t total = 0, n; total < maxFrames && (n = s.read(block.data(), 1024)) > 0; total += n)
        for (size_t i = 0; i < n * size_t(s.channels()); ++i)
            top = std::max(top, std::abs(block[i]));
    return top;
}

TEST(Decoders, ContentDecidesTheDecoder) {
    struct Row {
        std::string bytes;
        SoundContent content;
    };
    const Row rows[] = {
        {"MThd\0\0\0\x06", SoundContent::Midi},
        {std::string("RIFF\0\0\0\0RMID", 12), SoundContent::Midi},
        {"ID3\x04", SoundContent::Mp3},
        {"\xFF\xFB\x90\x00", SoundContent::Mp3},
        {"\xFF\xF9\x90\x00", SoundContent::Other}, // sync bits with layer 0: not an MP3 frame
        {"RIFF\0\0\0\0WAVE", SoundContent::Other},
        {"", SoundContent::Other},
    };
    for (const Row& r : rows) EXPECT_EQ(sniffSound(r.bytes), r.content) << r.bytes;
}

TEST(Decoders, WavDecodesToItsSamples) {
    std::string error;
    auto source = openSound(bytes(test::wavBytes(100, 8000, 2, 16384)), noSynth, &error);
    ASSERT_TRUE(source) << error;
    EXPECT_EQ(source->rate(), 8000);
    EXPECT_EQ(source->channels(), 2);
    std::vector<float> all(2000);
    EXPECT_EQ(source->read(all.data(), 1000), 800u);
    EXPECT_FLOAT_EQ(all[0], 0.5f);
    EXPECT_TRUE(source->rewind());
    EXPECT_EQ(source->read(all.data(), 1000), 800u);
}

TEST(Decoders, Mp3DecodesToSound) {
    test::TempDir dir;
    const std::string mp3 = test::mp3Bytes(300, dir.path() / "t.mp3");
    if (mp3.empty()) GTEST_SKIP() << "this libsndfile cannot write MP3";
    std::string error;
    auto source = openSound(bytes(mp3), noSynth, &error);
    ASSERT_TRUE(source) << error;
    EXPECT_EQ(source->rate(), 22050);
    EXPECT_GT(peak(*source), 0.3f);
    EXPECT_TRUE(source->rewind());
    EXPECT_GT(peak(*source), 0.3f);
}

TEST(Decoders, MidiSoundsThroughTheSynthesizer) {
    const std::string font = findSoundFont();
    if (font.empty()) GTEST_SKIP() << "no General MIDI sound font installed";
    std::string error;
    std::shared_ptr<MidiSynth> synth = loadMidiSynth(font, 44100, &error);
    ASSERT_TRUE(synth) << error;
    auto source = openSound(
        bytes(test::midiBytes(200)), [&](std::string*) { return synth; }, &error);
    ASSERT_TRUE(source) << error;
    // The note sounds, and the file ends (within a second) rather than playing on.
    EXPECT_GT(peak(*source, 44100), 0.001f);
    std::vector<float> block(2048);
    EXPECT_EQ(source->read(block.data(), 1024), 0u);
}

TEST(Decoders, BrokenFilesAreRefusedOrEnd) {
    const std::string wav = test::wavBytes(50);
    const std::string broken[] = {
        "",
        "RIFF",
        wav.substr(0, 30),
        "ID3\x04\0\0\0\0\0\x7F garbage",
        std::string("\xFF\xFB\x90\x00", 4) + std::string(300, '\x55'),
        std::string(4096, '\xFF'),
        "OggS not really",
        std::string("RIFF\0\0\0\0RMID no midi", 21),
    };
    for (const std::string& b : broken) {
        std::string error;
        auto source = openSound(bytes(b), noSynth, &error);
        if (source) peak(*source); // must end by itself
        SUCCEED();
    }
}

} // namespace
