// Message boxes drawn inside the real window (xvfb-run, no window manager, so no system dialog
// could ever answer): the whole program is run, and the X screen is read back.
#include "TestSupport.h"
#include "platform/DialogView.h"
#include "platform/Png.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_BOX_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_BOX_TEST_SANITIZED 1
#endif
#endif

namespace fs = std::filesystem;

namespace orv {
namespace {

constexpr int kStrip = 20; // the menu strip above the picture at scale 1

class MessageBoxWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) GTEST_SKIP() << "DISPLAY not set; run under xvfb-run";
        for (const char* tool : {"/usr/bin/import", "/usr/bin/xdotool"})
            if (!fs::exists(tool)) GTEST_SKIP() << tool << " absent";
    }

    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    void start(const std::string& scenario) {
        dir_.write("game/0.txt", scenario);
        const fs::path suppressions = dir_.write("lsan.supp", "leak:libdbus-1.so\n");
        pid_ = fork();
        if (pid_ == 0) {
#ifdef ORVANE_BOX_TEST_SANITIZED
            // The exit status is checked, so the leak checker must not fail the run for what the
            // GL driver and D-Bus leave behind: draw in software, pass over D-Bus.
            setenv("SDL_RENDER_DRIVER", "software", 1);
            setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
            setenv("LSAN_OPTIONS", ("suppressions=" + suppressions.string()).c_str(), 1);
#endif
            setenv("ORVANE_WINDOW_AT_ORIGIN", "1", 1);
            setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
            const int err =
                ::open((dir_.path() / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (err >= 0) dup2(err, 2);
            const std::string binary = test::orvaneBinary().string();
            const std::string game = (dir_.path() / "game").string();
            execl(binary.c_str(), binary.c_str(), game.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid_, 0);
    }

    // Shoots the screen until the check holds (bounded attempts, the X server draws late).
    bool screenShows(const std::function<bool(const RgbImage&)>& check) {
        const fs::path file = dir_.path() / "shot.png";
        for (int attempt = 0; attempt < 60; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            const std::string cmd =
                "/usr/bin/import -window root '" + file.string() + "' 2>/dev/null";
            if (std::system(cmd.c_str()) != 0) continue;
            if (auto shot = readPng(file.string()); shot && check(*shot)) return true;
        }
        return false;
    }

    static Rgb8 gamePixel(const RgbImage& shot, int x, int y) {
        const int sy = y + kStrip;
        if (x < 0 || sy < 0 || x >= shot.width || sy >= shot.height) return {1, 2, 3};
        const uint8_t* p = shot.rgb.data() + (size_t(sy) * size_t(shot.width) + size_t(x)) * 3;
        return {p[0], p[1], p[2]};
    }

    bool centreIs(Rgb8 colour) {
        return screenShows(
            [&](const RgbImage& shot) { return gamePixel(shot, 320, 240) == colour; });
    }

    static void xdotool(const std::string& args) {
        ASSERT_EQ(std::system(("/usr/bin/xdotool " + args).c_str()), 0) << args;
    }

    bool running() {
        return waitpid(pid_, nullptr, WNOHANG) == 0;
    }

    // The exit status once the program ended by itself; -1 when it did not.
    int exitStatus() {
        for (int i = 0; i < 200; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

    test::TempDir dir_;
    test::TempDir runtime_; // own lock, so a desktop copy of the game does not interfere
    pid_t pid_ = -1;
};

const Rgb8 kBlue{0, 0, 255};
const Rgb8 kDialogFace{0xC0, 0xC0, 0xC0};

int measure(std::string_view label) {
    static UiText text(kMenuTextPixels);
    return text.measure(label);
}

TEST_F(MessageBoxWindowTest, TheQuitQuestionWaitsNoKeepsTheGameYesEndsIt) {
    start("*define\ngame\n*start\nbg #0000ff,0\nprint 1\nwait 600000\nend\n");
    ASSERT_TRUE(centreIs(kBlue)) << "the game never showed its picture";

    // 終了 is the first entry of the menu bar: the question comes, and stays.
    xdotool("mousemove 8 10 click 1");
    ASSERT_TRUE(centreIs(kDialogFace)) << "the quit question never appeared";
    EXPECT_TRUE(running()) << "the question was answered for the player";

    xdotool("mousemove 320 300 key Escape");
    ASSERT_TRUE(centreIs(kBlue)) << "No did not close the question";
    EXPECT_TRUE(running()) << "No ended the game";

    xdotool("mousemove 8 10 click 1");
    ASSERT_TRUE(centreIs(kDialogFace));
    // Yes with the mouse, where the dialog model puts it.
    const DialogView d(
        measure, "\xE7\xB5\x82\xE4\xBA\x86\xE7\xA2\xBA\xE8\xAA\x8D",
        "\xE7\xB5\x82\xE4\xBA\x86\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x99\xE3\x81\x8B"
        "\xEF\xBC\x9F",
        {{"\xE3\x81\xAF\xE3\x81\x84", 1}, {"\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88", 2}}, 2);
    const MenuBox yes = d.buttonBoxes()[0];
    xdotool("mousemove " + std::to_string(yes.x + yes.w / 2) + " " +
            std::to_string(yes.y + yes.h / 2 + kStrip) + " click 1");
    EXPECT_EQ(exitStatus(), 0) << "Yes did not end the game";
}

TEST_F(MessageBoxWindowTest, AHangUpEndsTheRunEvenWhileTheQuestionIsOpen) {
    start("*define\ngame\n*start\nbg #0000ff,0\nprint 1\nwait 600000\nend\n");
    ASSERT_TRUE(centreIs(kBlue));
    xdotool("mousemove 8 10 click 1");
    ASSERT_TRUE(centreIs(kDialogFace));
    kill(pid_, SIGHUP);
    EXPECT_EQ(exitStatus(), 0) << "the hang-up did not end the run through its shut-down";
}

TEST_F(MessageBoxWindowTest, AnErrorBoxShowsItsTextBeforeTheProgramEnds) {
    start("*define\ngame\n*start\nbg #0000ff,0\nprint 1\nnosuchcommand\nend\n");
    ASSERT_TRUE(centreIs(kDialogFace)) << "the error box never appeared";
    EXPECT_TRUE(running()) << "the program ended before the player saw the error";

    // The box as the model lays it out for the text the program reported.
    const std::string err = test::readFile(dir_.path() / "stderr.txt");
    const size_t close = err.find("] ");
    ASSERT_TRUE(err.starts_with("[") && close != std::string::npos) << err;
    std::string text = err.substr(close + 2);
    if (text.ends_with('\n')) text.pop_back();
    const DialogView d(measure, err.substr(1, close - 1), text, {{"OK", 0}}, 0);
    ASSERT_TRUE(screenShows([&](const RgbImage& shot) {
        // Ink on the first line of the text: dark pixels where the model puts it.
        for (int y = d.textTop(); y < d.textTop() + kDialogLineHeight; ++y)
            for (int x = d.textLeft(); x < d.box().x + d.box().w; ++x)
                if (gamePixel(shot, x, y).r < 0x40 && gamePixel(shot, x, y).b < 0x40) return true;
        return false;
    })) << "the error text is not drawn";

    xdotool("mousemove 320 300 key Return");
    EXPECT_EQ(exitStatus(), 2);
}

} // namespace
} // namespace orv
