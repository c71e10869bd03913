// `avi` in headless runs, with videos made here by the media libraries' encoders: what is on
// the screen at fixed virtual times, when the sound log says the video started and stopped, and
// the clicks that end it.
#include "EngineHarness.h"
#include "VideoWriter.h"
#include "ZipBuilder.h"
#include "platform/Png.h"
#include "sound/SoundLog.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

// Picture i of every test video is kColours[i % 4] under a black band (its top quarter, which
// shows which way up it came); 10 pictures a second, 1 s long.
constexpr uint32_t kColours[] = {0xd02020, 0x20d020, 0x2020d0, 0xe0e0e0};

std::string makeVideo(const std::string& codec, const std::string& sound = "") {
    test::TempDir dir;
    const std::filesystem::path path = dir.path() / "v.avi";
    videowriter::VideoPlan plan;
    plan.codec = codec;
    plan.soundCodec = sound;
    std::string error;
    const bool written = videowriter::writeVideo(
        path, plan,
        [](int index, std::vector<uint8_t>& rgb) {
            const uint32_t c = kColours[index % 4];
            const size_t band = rgb.size() / 4;
            for (size_t i = 0; i < rgb.size(); i += 3) {
                rgb[i] = i < band ? 0 : uint8_t(c >> 16);
                rgb[i + 1] = i < band ? 0 : uint8_t(c >> 8);
                rgb[i + 2] = i < band ? 0 : uint8_t(c);
            }
        },
        &error);
    EXPECT_TRUE(written) << error;
    return test::readFile(path);
}

bool near(const uint8_t* rgb, uint32_t colour) {
    for (int k = 0; k < 3; ++k)
        if (std::abs(int(rgb[k]) - int((colour >> (16 - 8 * k)) & 0xff)) > 24) return false;
    return true;
}

class VideoGame {
public:
    // "DIR/" in the events stands for a folder of the test's own (for the shots).
    explicit VideoGame(std::string events = "") : harness(inTemp(events)) {
        harness.engine().sound.log = std::make_unique<SoundLog>();
        harness.engine().tempDirectory = temp.path();
    }
    // Runs the game body (then `end`); the sound log.
    std::string run(const std::string& body, const std::string& define = "") {
        harness.scenario("*define\n" + define + "game\n*start\n" + body + "end\n");
        EXPECT_EQ(harness.run(), 0) << harness.log();
        return harness.engine().sound.log->text();
    }

    test::TempDir temp;
    Harness harness;

private:
    std::string inTemp(std::string events) const {
        for (size_t at; (at = events.find("DIR/")) != std::string::npos;)
            events.replace(at, 4, temp.path().string() + "/");
        return events;
    }
};

struct CodecCase {
    const char* codec;
    const char* sound;
};

class VideoCodecs : public ::testing::TestWithParam<CodecCase> {};

TEST_P(VideoCodecs, PlaysToItsEndShowingEachPictureInItsTime) {
    VideoGame game("wait 50\nshot DIR/a.png\nwait 300\nshot DIR/b.png\nwait 300\nshot DIR/c.png\n");
    game.harness.file("v.avi", makeVideo(GetParam().codec, GetParam().sound));
    const std::string log = game.run("avi \"v.avi\",0\n");
    EXPECT_EQ(log, "0 video v.avi\n1000 end video v.avi\n");
    EXPECT_FALSE(game.harness.engine().shell.videoPlaying);
    // Nothing repaints the screen at the end: the last picture stays until the next redraw.
    const FrameBuffer& window = game.harness.platform().window();
    const uint8_t* last = window.row(240) + 320 * 3;
    EXPECT_TRUE(near(std::array<uint8_t, 3>{last[2], last[1], last[0]}.data(), kColours[9 % 4]));
    const int expected[] = {0, 3, 6}; // the pictures due at 50, 350 and 650 ms
    const char* shots[] = {"a.png", "b.png", "c.png"};
    for (int i = 0; i < 3; ++i) {
        std::optional<RgbImage> shot = readPng((game.temp.path() / shots[i]).string());
        ASSERT_TRUE(shot) << shots[i];
        EXPECT_TRUE(near(shot->pixel(320, 40), 0)) << shots[i];
        for (auto [x, y] : {std::pair{2, 200}, {320, 240}, {637, 477}})
            EXPECT_TRUE(near(shot->pixel(x, y), kColours[expected[i] % 4]))
                << shots[i] << " at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(All, VideoCodecs,
                         ::testing::Values(CodecCase{"mpeg4", "pcm_s16le"},
                                           CodecCase{"msvideo1", "adpcm_ms"},
                                           CodecCase{"cinepak", ""}),
                         [](const auto& info) { return std::string(info.param.codec); });

struct ClickCase {
    const char* name;
    std::string events;
    std::string body;
    std::string expectedLog;
};

const ClickCase kClickCases[] = {
    {"click-stops-a-click-to-stop-video", "wait 300\nclick\n", "avi \"v.avi\",1\n",
     "0 video v.avi\n300 stop video\n"},
    {"click-does-not-stop-a-plain-video", "wait 300\nclick\n", "avi \"v.avi\",0\n",
     "0 video v.avi\n1000 end video v.avi\n"},
    // The click during `wait` is recorded and never consumed: both videos end at once.
    {"earlier-click-ends-two-videos", "wait 20\nclick\n",
     "wait 100\navi \"v.avi\",1\navi \"v.avi\",1\n",
     "100 video v.avi\n100 stop video\n100 video v.avi\n100 stop video\n"},
};

class VideoClicks : public ::testing::TestWithParam<ClickCase> {};

TEST_P(VideoClicks, EndTheVideoOnlyWhenAllowed) {
    const ClickCase& c = GetParam();
    VideoGame game(c.events);
    game.harness.file("v.avi", makeVideo("mpeg4"));
    EXPECT_EQ(game.run(c.body), c.expectedLog);
}

INSTANTIATE_TEST_SUITE_P(All, VideoClicks, ::testing::ValuesIn(kClickCases), test::CaseName());

TEST(VideoFiles, OneInsideAnArchivePlaysAndItsCopyGoes) {
    VideoGame game;
    game.harness.file("movies.zip", test::zipBytes({{"v.avi", makeVideo("mpeg4")}}));
    EXPECT_EQ(game.run("avi \"v.avi\",0\n", "arc \"movies.zip|zip.dll\"\n"),
              "0 video v.avi\n1000 end video v.avi\n");
    // The extracted copy is gone: only what the test itself put there is left.
    EXPECT_TRUE(std::filesystem::is_empty(game.temp.path()));
}

TEST(VideoFiles, OneWithSoundOnlyIsRefused) {
    Harness h;
    h.file("s.avi", makeVideo("", "pcm_s16le"));
    EXPECT_EQ(h.run(std::string(kPrologue) + "avi \"s.avi\",0\n"), 2);
    EXPECT_EQ(h.firstMessage().substr(0, 14), "[AVI Error 2] ");
}

} // namespace
