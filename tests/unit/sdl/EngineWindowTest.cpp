// The whole program in a real window: a scenario's picture commands must reach
// the X display through the effect runner and the SDL backend.
#include "TestSupport.h"
#include "platform/Png.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace fs = std::filesystem;

namespace orv {
namespace {

// Game pixel (x, y) on the X screen: the window sits at the origin with the
// 20-pixel menu strip above the picture and no decorations (no window manager).
bool screenPixelIs(const RgbImage& shot, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    int sy = y + 20;
    if (x >= shot.width || sy >= shot.height) return false;
    const uint8_t* p = shot.rgb.data() + (size_t(sy) * shot.width + x) * 3;
    return p[0] == r && p[1] == g && p[2] == b;
}

TEST(EngineWindow, PrintShowsTheNewPictureInTheRealWindow) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "DISPLAY not set; run under xvfb-run";
    if (!fs::exists("/usr/bin/import")) GTEST_SKIP() << "/usr/bin/import absent";

    test::TempDir dir;
    test::TempDir runtime; // own lock, so a desktop copy of the game does not interfere
    dir.write("game/0.txt", "*define\ngame\n*start\nbg #0000ff,0\nprint 1\nwait 5000\n"
                            "bg #ff0000,10,300\nwait 600000\nend\n");
    pid_t pid = fork();
    if (pid == 0) {
        setenv("ORVANE_WINDOW_AT_ORIGIN", "1", 1);
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        std::string binary = test::orvaneBinary().string();
        std::string game = (dir.path() / "game").string();
        execl(binary.c_str(), binary.c_str(), game.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);

    auto waitFor = [&](uint8_t r, uint8_t g, uint8_t b) {
        fs::path file = dir.path() / "shot.png";
        for (int attempt = 0; attempt < 60; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            std::string cmd = "/usr/bin/import -window root '" + file.string() + "' 2>/dev/null";
            if (std::system(cmd.c_str()) != 0) continue;
            auto shot = readPng(file.string());
            if (shot && screenPixelIs(*shot, 320, 240, r, g, b) &&
                screenPixelIs(*shot, 0, 0, r, g, b) && screenPixelIs(*shot, 639, 479, r, g, b))
                return true;
        }
        return false;
    };
    bool blue = waitFor(0, 0, 255);
    bool red = blue && waitFor(255, 0, 0);

    // SIGTERM ends the program without asking (nobody is there to answer).
    kill(pid, SIGTERM);
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 100 && !ended; ++i) {
        ended = waitpid(pid, &status, WNOHANG) == pid;
        if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    EXPECT_TRUE(blue) << "print 1 never showed the blue background";
    EXPECT_TRUE(red) << "the crossfade never reached the red background";
    EXPECT_TRUE(ended) << "SIGTERM did not end the program";
}

} // namespace
} // namespace orv
