// What the players do as a scenario sees and hears it, through the sound log of a headless run
// whose device is pulled by the virtual clock: starts, stops, loops and ends at their times.
#include "EngineHarness.h"
#include "SoundFiles.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/MidiSource.h"
#include "sound/SoundLog.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

// A headless game with a sound device and a log; se.wav lasts 300 ms, every CD track 500 ms.
class SoundGame {
public:
    explicit SoundGame(const std::string& events = "", bool autoClick = false)
        : harness(events, 600000, autoClick) {
        Engine& e = harness.engine();
        e.sound.log = std::make_unique<SoundLog>();
        e.sound.makeDevice = [] { return std::make_unique<HeadlessAudio>(); };
        e.tempDirectory = temp.path();
        harness.file("se.wav", test::wavBytes(300));
        harness.file("cd/track02.wav", test::wavBytes(500));
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

struct PlayerCase {
    const char* name;
    std::string define;
    std::string body;
    std::string expectedLog;
    std::string events = "";
    std::string configTxt = "";
};

const PlayerCase kPlayerCases[] = {
    {"wave-plays-once", "", "wave \"se.wav\"\nwait 600\n", "0 wave se.wav\n300 end wave se.wav\n"},
    {"waveloop-plays-until-stopped", "", "waveloop \"se.wav\"\nwait 1000\nwavestop\n",
     "0 wave se.wav loop\n1000 stop wave\n"},
    {"empty-wave-stops", "", "waveloop \"se.wav\"\nwait 100\nwave \"\"\n",
     "0 wave se.wav loop\n100 stop wave\n"},
    {"voice-wave-replaces-loop", "", "waveloop \"se.wav\"\nwait 100\nwave \"se.wav\"\nwait 400\n",
     "0 wave se.wav loop\n100 stop wave\n100 wave se.wav\n400 end wave se.wav\n"},
    {"wave-off-plays-nothing", "", "wait 10\nwave \"se.wav\"\nwait 100\n", "", "menu 40018\n"},
    {"skip-mode-plays-no-wave", "", "wait 10\nwave \"se.wav\"\nwait 100\n", "", "menu 40006\n"},
    {"cd-loops-on-its-end", "cdfadeout 0\n", "play \"*2\"\nwait 1100\n",
     "0 play cd 2 loop\n500 play cd 2 loop\n1000 play cd 2 loop\n1100 stop cd\n"},
    {"playonce-ends", "", "playonce \"*2\"\nwait 700\n", "0 play cd 2\n500 end cd 2\n"},
    {"same-track-while-playing-does-nothing", "cdfadeout 0\n",
     "play \"*2\"\nwait 200\nplay \"*2\"\nwait 100\n", "0 play cd 2 loop\n300 stop cd\n"},
    {"same-track-after-its-end-plays-again", "cdfadeout 0\n",
     "playonce \"*2\"\nwait 600\nplayonce \"*2\"\n",
     "0 play cd 2\n500 end cd 2\n600 play cd 2\n600 stop cd\n"},
    {"track-zero-stops", "cdfadeout 0\n", "play \"*2\"\nwait 100\nplay \"*0\"\n",
     "0 play cd 2 loop\n100 stop cd\n"},
    {"short-fade-takes-99-steps", "cdfadeout 50\n", "play \"*2\"\nwait 100\nplaystop\n",
     "0 play cd 2 loop\n100 fade cd 50\n199 stop cd\n"},
    // The track ended during the fade (no notice is handled meanwhile): the stop is not heard.
    {"fade-of-a-second", "", "play \"*2\"\nwait 100\nplaystop\nwave \"se.wav\"\n",
     "0 play cd 2 loop\n100 fade cd 1000\n1090 wave se.wav\n1090 stop wave\n"},
    {"cdfadeoff-stops-at-once", "", "play \"*2\"\nwait 100\nplaystop\n",
     "0 play cd 2 loop\n100 stop cd\n", "", "cdfadeoff and more\n"},
    {"indented-cdfadeoff-is-no-switch", "cdfadeout 50\n", "play \"*2\"\nwait 100\nplaystop\n",
     "0 play cd 2 loop\n100 fade cd 50\n199 stop cd\n", "", " cdfadeoff\n"},
    {"playstop-leaves-wave-and-stop-leaves-mp3", "cdfadeout 0\n",
     "play \"*2\"\nwaveloop \"se.wav\"\nmp3loop \"m.mp3\"\nwait 100\nplaystop\nwait 100\n"
     "stop\nwait 100\nmp3 \"\"\n",
     "0 play cd 2 loop\n0 wave se.wav loop\n0 mp3 m.mp3 loop\n100 stop cd\n200 stop wave\n"
     "300 stop mp3\n"},
    {"mp3-plays-once", "", "mp3 \"m.mp3\"\nwait 700\n", "0 mp3 m.mp3\n500 end mp3 m.mp3\n"},
    {"everything-stops-at-the-end", "", "play \"*2\"\nwaveloop \"se.wav\"\nwait 100\n",
     "0 play cd 2 loop\n0 wave se.wav loop\n100 stop cd\n100 stop wave\n"},
};

class Players : public ::testing::TestWithParam<PlayerCase> {};

TEST_P(Players, LogWhatSoundsWhen) {
    const PlayerCase& c = GetParam();
    SoundGame game(c.events);
    // The mp3 player goes by content as every player does: a WAV of 500 ms will do.
    game.harness.file("m.mp3", test::wavBytes(500));
    if (!c.configTxt.empty()) game.harness.file("config.txt", c.configTxt);
    EXPECT_EQ(game.run(c.define, c.body), c.expectedLog);
}

INSTANTIATE_TEST_SUITE_P(All, Players, ::testing::ValuesIn(kPlayerCases), test::CaseName());

TEST(Players, HigherTrackPlaysTheLastAndNumbersKeepTheirTracks) {
    SoundGame game;
    game.harness.file("CD/TRACK05.WAV", test::wavBytes(200));
    EXPECT_EQ(game.run("cdfadeout 0\n", "playonce \"*9\"\nwait 300\nplayonce \"*2\"\nwait 100\n"),
              "0 play cd 5\n200 end cd 5\n300 play cd 2\n400 stop cd\n");
}

TEST(Players, VoicesOfClickAndPageWaitsSound) {
    SoundGame game("", true);
    game.harness.file("c.wav", test::wavBytes(50));
    game.harness.file("p.wav", test::wavBytes(50));
    const std::string log = game.run("clickvoice \"c.wav\",\"p.wav\"\n", "あ@い\\\n");
    const size_t click = log.find(" wave c.wav\n");
    const size_t page = log.find(" wave p.wav\n");
    ASSERT_NE(click, std::string::npos) << log;
    EXPECT_NE(page, std::string::npos) << log;
    EXPECT_LT(click, page);
}

TEST(Players, ChoiceVoicesSoundWhenShownMovedAndDecided) {
    // はい spans x 9-86 on line 0 (y 16-43).
    SoundGame game("click 30 20\n");
    game.harness.file("s.wav", test::wavBytes(50));
    game.harness.file("m.wav", test::wavBytes(50));
    game.harness.file("d.wav", test::wavBytes(50));
    const std::string log =
        game.run("selectvoice \"s.wav\",\"m.wav\",\"d.wav\"\n", "select \"はい\",*yes\n*yes\n");
    const size_t shown = log.find(" wave s.wav\n");
    const size_t moved = log.find(" wave m.wav\n");
    const size_t decided = log.find(" wave d.wav\n");
    ASSERT_NE(shown, std::string::npos) << log;
    ASSERT_NE(moved, std::string::npos) << log;
    EXPECT_NE(decided, std::string::npos) << log;
    EXPECT_LT(shown, moved);
    EXPECT_LT(moved, decided);
}

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

TEST(Players, UpperCaseExtensionNeedsARegistration) {
    SoundGame game;
    game.harness.file("SE.WAV", test::wavBytes(100));
    game.harness.scenario(std::string(kPrologue) + "wave \"SE.WAV\"\nend\n");
    EXPECT_EQ(game.harness.run(), 2);
    EXPECT_EQ(game.harness.firstMessage(), "[ロードエラー] ファイルSE.WAVを開けません。");
}

} // namespace
