// The players beyond the sound-* scenario tests, through the sound log of an in-process run: MIDI
// (skipped where no sound font is installed) and the temporary file a registered extension plays
// through.
#include "EngineHarness.h"
#include "SoundFiles.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/MidiSource.h"
#include "sound/SoundLog.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;

namespace {

// A headless game with a sound device, a log and a temporary directory of its own.
class SoundGame {
public:
    SoundGame() {
        Engine& e = harness.engine();
        e.sound.log = std::make_unique<SoundLog>();
        e.sound.makeDevice = [] { return std::make_unique<HeadlessAudio>(); };
        e.tempDirectory = temp.path();
    }
    // Runs the definition lines and the game body (then `end`); the log of the run.
    std::string run(const std::string& define, const std::string& body) {
        harness.scenario("*define\n" + define + "game\n*start\n" + body + "end\n");
        EXPECT_EQ(harness.run(), 0) << harness.log();
        return harness.engine().sound.log->text();
    }

    test::TempDir temp;
    Harness harness;
};

TEST(Players, MidiLoopsByTheTimer) {
    if (findSoundFont().empty()) GTEST_SKIP() << "no General MIDI sound font installed";
    SoundGame game;
    game.harness.file("bgm.mid", test::midiBytes(250));
    const std::string log =
        game.run("", "play \"bgm.mid\"\nwait 1000\nplayonce \"bgm.mid\"\nwait 600\n");
    EXPECT_EQ(log.substr(0, log.find('\n')), "0 play midi bgm.mid loop");
    // Restarts while looping, none once played once.
    const size_t once = log.find("play midi bgm.mid\n");
    ASSERT_NE(once, std::string::npos) << log;
    EXPECT_NE(log.substr(0, once).find("loop midi bgm.mid"), std::string::npos) << log;
    EXPECT_EQ(log.substr(once).find("loop midi"), std::string::npos) << log;
    EXPECT_NE(log.substr(once).find("end midi bgm.mid"), std::string::npos) << log;
}

TEST(Players, AnUnreadableMidiFileEndsWithoutLooping) {
    if (findSoundFont().empty()) GTEST_SKIP() << "no General MIDI sound font installed";
    SoundGame game;
    // A header, then a track that claims 64 bytes and holds four.
    static const char kBadMidi[] = "MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x40junk";
    game.harness.file("bad.mid", std::string(kBadMidi, sizeof kBadMidi - 1));
    EXPECT_EQ(game.run("", "play \"bad.mid\"\nwait 500\n"),
              "0 play midi bad.mid loop\n100 end midi bad.mid\n");
}

TEST(Players, RegisteredExtensionPlaysThroughATemporaryFile) {
    SoundGame game;
    game.harness.file("se.ogg", test::wavBytes(300));
    const std::filesystem::path converted = game.temp.path() / "Orvanetmp.wav";
    bool convertedWhilePlaying = false;
    game.harness.platform().onTranscript = [&](std::string_view) {
        convertedWhilePlaying = std::filesystem::exists(converted);
    };
    const std::string log =
        game.run("soundpressplgin \"Conv.DLL|OGG\"\n", "waveloop \"se.ogg\"\nあ\nwavestop\n");
    EXPECT_EQ(log, "0 wave se.ogg loop\n" + log.substr(log.find('\n') + 1));
    EXPECT_TRUE(convertedWhilePlaying);
    EXPECT_FALSE(std::filesystem::exists(converted));
}

} // namespace
