// What the SDL tests share: environment overrides, screenshots of the X display and the
// command-line tools they drive it with. The window tests skip themselves without DISPLAY.
#pragma once

#include "platform/Platform.h"
#include "platform/Png.h"
#include "platform/sdl/SdlPlatform.h"

#include "ScopedEnv.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_TEST_SANITIZED 1
#endif
#endif

namespace orv::test {

using Rgb = std::array<int, 3>;

// The colours the window tests paint and look for; kDialogFace is the dialogs' own grey.
inline constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0}, kYellow{255, 255, 0}, kDialogFace{0xC0, 0xC0, 0xC0};

// A window on the test's X display. A loaded X server now and then refuses SDL's connection, and
// SDL then falls back to its invisible driver: a few tries tell a busy server from a missing one.
inline std::unique_ptr<Platform> openXWindow(const SdlOptions& options, std::string* error) {
    for (int attempt = 1;; ++attempt) {
        std::unique_ptr<Platform> p = createSdlPlatform(options, error);
        if (p || attempt == 3) return p;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
}

// A screenshot of the whole X display.
struct Shot {
    RgbImage image;
    int width() const { return image.width; }
    int height() const { return image.height; }
    // (-1, -1, -1) off the picture, so a failed screenshot fails the checks.
    Rgb at(int x, int y) const {
        if (x < 0 || y < 0 || x >= image.width || y >= image.height) return {-1, -1, -1};
        const uint8_t* p = image.pixel(x, y);
        return {p[0], p[1], p[2]};
    }
    // Pixels clearly darker than the grey furniture: label ink and check marks.
    int dark(int x, int y, int w, int h) const {
        int n = 0;
        for (int py = y; py < y + h; ++py)
            for (int px = x; px < x + w; ++px) {
                const Rgb c = at(px, py);
                n += c[0] >= 0 && c[0] < 0x60 && c[1] < 0x60 && c[2] < 0x60;
            }
        return n;
    }
};

// Paints the window's pixels [l, r) x [t, b) one colour (the buffer holds blue, green, red).
inline void fillRect(FrameBuffer& f, int l, int t, int r, int b, Rgb c) {
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) {
            uint8_t* p = f.row(y) + size_t(x) * 3;
            p[0] = uint8_t(c[2]), p[1] = uint8_t(c[1]), p[2] = uint8_t(c[0]);
        }
}

inline bool runTool(const std::string& cmd) {
    return std::system((cmd + " 2>/dev/null").c_str()) == 0;
}

inline std::optional<Shot> screenshot(const std::filesystem::path& file) {
    if (!runTool("/usr/bin/import -window root '" + file.string() + "'")) return std::nullopt;
    std::optional<RgbImage> image = readPng(file.string());
    if (!image) return std::nullopt;
    return Shot{std::move(*image)};
}

// Mesa's GL driver leaves allocations behind when it is unloaded with the display, which the
// leak checker reports: sanitized builds draw through SDL's software renderer instead.
struct SanitizedRendering {
#ifdef ORVANE_TEST_SANITIZED
    ScopedEnv renderer{"SDL_RENDER_DRIVER", "software"};
    ScopedEnv acceleration{"SDL_FRAMEBUFFER_ACCELERATION", "0"};
#endif
};

// Takes the platform's events, repainting on Paint and keeping the others but timers.
inline void pumpEvents(Platform& p, std::vector<Event>* kept = nullptr) {
    Event e;
    while (p.takeEvent(e)) {
        if (e.kind == EventKind::Paint)
            p.present({0, 0, 640, 480});
        else if (kept && e.kind != EventKind::Timer)
            kept->push_back(e);
    }
}

// The X server draws asynchronously to the screenshot client: pump and shoot again until the
// probe pixel shows (bounded, not timed).
inline Shot shootUntil(Platform& p, const std::filesystem::path& file, int x, int y, Rgb expected,
                       std::vector<Event>* kept = nullptr) {
    std::optional<Shot> shot;
    for (int attempt = 0; attempt < 20; ++attempt) {
        pumpEvents(p, kept);
        shot = screenshot(file);
        if (shot && shot->at(x, y) == expected) break;
        p.sleep(50);
    }
    if (!shot) ADD_FAILURE() << "screenshot failed";
    return shot ? *shot : Shot{};
}

// The whole program in its window at the screen's origin (no window manager: no decorations),
// with the 20-pixel menu strip above the picture. Killed if still running at the end.
class GameProcess {
public:
    static constexpr int kStrip = 20;

    GameProcess() = default;
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;
    ~GameProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    void start(const std::string& scenario) {
        dir_.write("game/0.txt", scenario);
        const std::filesystem::path suppressions = dir_.write("lsan.supp", "leak:libdbus-1.so\n");
        pid_ = fork();
        if (pid_ == 0) {
#ifdef ORVANE_TEST_SANITIZED
            // The exit status is checked, so the leak checker must not fail the run for what the
            // GL driver and D-Bus leave behind.
            setenv("SDL_RENDER_DRIVER", "software", 1);
            setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
            setenv("LSAN_OPTIONS", ("suppressions=" + suppressions.string()).c_str(), 1);
#endif
            setenv("ORVANE_WINDOW_AT_ORIGIN", "1", 1);
            // Its own lock, so a desktop copy of the game does not interfere.
            setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
            const int err =
                ::open((dir_.path() / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (err >= 0) dup2(err, 2);
            const std::string binary = orvaneBinary().string();
            const std::string game = (dir_.path() / "game").string();
            execl(binary.c_str(), binary.c_str(), game.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid_, 0);
    }

    // Shoots the screen until the check holds (bounded attempts, the X server draws late).
    bool screenShows(const std::function<bool(const Shot&)>& check) {
        for (int attempt = 0; attempt < 60; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            if (auto shot = screenshot(dir_.path() / "shot.png"); shot && check(*shot)) return true;
        }
        return false;
    }
    // Game pixel (x, y) on the screen.
    static Rgb gamePixel(const Shot& shot, int x, int y) {
        return shot.at(x, y + kStrip);
    }
    bool gameCentreIs(Rgb colour) {
        return screenShows([&](const Shot& s) { return gamePixel(s, 320, 240) == colour; });
    }

    bool running() {
        return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
    }
    void signal(int sig) {
        kill(pid_, sig);
    }
    // The exit status once the program ended by itself; -1 when it did not within ten seconds
    // or was killed by a signal.
    int exitStatus() {
        for (int i = 0; i < 200 && pid_ > 0; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }
    std::string stderrText() const {
        return readFile(dir_.path() / "stderr.txt");
    }

private:
    TempDir dir_;
    TempDir runtime_;
    pid_t pid_ = -1;
};

// Skips the current test unless an X display and the screenshot tool are there.
#define ORVANE_REQUIRE_X_DISPLAY()                                                                 \
    do {                                                                                           \
        const char* display = std::getenv("DISPLAY");                                              \
        if (!display || !*display) GTEST_SKIP() << "DISPLAY not set; run under xvfb-run";          \
        if (!std::filesystem::exists("/usr/bin/import"))                                           \
            GTEST_SKIP() << "/usr/bin/import (ImageMagick) absent";                                \
    } while (0)

} // namespace orv::test
