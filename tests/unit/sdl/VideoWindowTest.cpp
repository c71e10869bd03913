// A video in a real window: decoded ahead on its thread, shown through the SDL backend, its
// sound pulled by a sound device (SDL's dummy one, which plays nothing at the real rate) and
// the pictures' clock following that sound to the video's end.
#include "VideoWriter.h"
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orv {
namespace {

TEST(VideoWindow, PicturesShowAndTheSoundsClockRunsToTheEnd) {
    ORVANE_REQUIRE_X_DISPLAY();
    test::TempDir dir;
    test::TempDir runtime;
    dir.write("game/0.txt", "*define\ngame\n*start\navi \"v.avi\",0\nwait 600000\nend\n");
    videowriter::VideoPlan plan; // 2 s of green with a tone
    plan.frames = 20;
    plan.soundCodec = "pcm_s16le";
    ASSERT_TRUE(videowriter::writeVideo(
        dir.path() / "game" / "v.avi", plan,
        [](int, std::vector<uint8_t>& rgb) {
            for (size_t i = 0; i < rgb.size(); i += 3) rgb[i + 1] = 255;
        },
        nullptr));
    const std::filesystem::path log = dir.path() / "sound.log";
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("ORVANE_WINDOW_AT_ORIGIN", "1", 1);
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        const int err = ::open((dir.path() / "stderr.txt").c_str(), O_WRONLY | O_CREAT, 0600);
        if (err >= 0) dup2(err, 2);
        const std::string binary = test::orvaneBinary().string();
        execl(binary.c_str(), binary.c_str(), "--sound-log", log.c_str(),
              (dir.path() / "game").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    bool green = false;
    for (int attempt = 0; attempt < 40 && !green; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (auto shot = test::screenshot(dir.path() / "shot.png")) {
            // Near green: the picture went through the encoder's colour space and back.
            const test::Rgb c = shot->at(320, 240 + test::GameProcess::kStrip);
            green = c[0] < 24 && c[1] > 231 && c[2] < 24;
        }
    }
    bool ended = false;
    for (int attempt = 0; attempt < 100 && !ended; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ended = test::readFile(log).find("end video v.avi") != std::string::npos;
    }
    kill(pid, SIGTERM);
    int status = -1;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(green) << "the video's picture never reached the window";
    EXPECT_TRUE(ended) << "the video never ended: " << test::readFile(log)
                       << test::readFile(dir.path() / "stderr.txt");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The sound had a device, so its clock (not the platform's) led the pictures.
    EXPECT_EQ(test::readFile(dir.path() / "stderr.txt").find("no sound device"), std::string::npos);
}

} // namespace
} // namespace orv
