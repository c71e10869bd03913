// Desktop full screen and back under a real window manager (openbox inside the test's X
// display): F11 fills the screen with the letterboxed picture, the menu bar comes when the
// pointer reaches the top, and F11 again gives the window back its size. Skipped without DISPLAY,
// xdotool or openbox.
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace orv {
namespace {

using test::Rgb;
using test::runTool;

using test::kBlue;

// The output of a shell command, or nothing when it failed.
std::optional<std::string> capture(const std::string& cmd) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((cmd + " 2>/dev/null").c_str(), "r"), pclose);
    if (!pipe) return std::nullopt;
    std::string out;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
    if (pclose(pipe.release()) != 0) return std::nullopt;
    return out;
}

// A child process, killed at the end.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}) {
        pid_ = fork();
        if (pid_ == 0) {
            for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
            const int null = ::open("/dev/null", O_WRONLY);
            if (null >= 0) {
                dup2(null, 1);
                dup2(null, 2);
            }
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    bool running() { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
};

// Repeats probe (bounded, the display and the manager work asynchronously) until it holds.
bool eventually(const std::function<bool()>& probe) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (probe()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return false;
}

TEST(FullScreenUnderAWindowManager, FillsTheScreenAndGivesTheWindowBack) {
    ORVANE_REQUIRE_X_DISPLAY();
    if (!runTool("command -v xdotool >/dev/null")) GTEST_SKIP() << "xdotool absent";
    if (!runTool("command -v openbox >/dev/null")) GTEST_SKIP() << "openbox absent";
    test::TempDir dir;
    test::TempDir runtime;
    Child manager({"openbox", "--sm-disable"});
    // The manager owns the screen once it answers for the root window.
    ASSERT_TRUE(eventually(
        [] { return runTool("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"); }));

    const std::string name = "orvane-fullscreen-test";
    dir.write(name + "/0.txt", "*define\ngame\n*start\nbg #0000ff,1\nwait 600000\nend\n");
    Child game({test::orvaneBinary().string(), (dir.path() / name).string()},
               {"XDG_RUNTIME_DIR=" + runtime.path().string()});
    std::string window;
    // The title names the game folder until a caption: that is how the window is found.
    ASSERT_TRUE(eventually([&] {
        auto id = capture("xdotool search --onlyvisible --name '^" + name + "$'");
        if (id && !id->empty()) window = id->substr(0, id->find('\n'));
        return !window.empty();
    })) << "the window never showed";
    auto geometry = [&] { return capture("xdotool getwindowgeometry " + window).value_or(""); };
    const std::string before = geometry();
    ASSERT_NE(before.find("Geometry: 640x500"), std::string::npos) << before;
    const std::string size = capture("xdotool getdisplaygeometry").value_or("");
    int screenW = 0, screenH = 0;
    ASSERT_EQ(std::sscanf(size.c_str(), "%d %d", &screenW, &screenH), 2) << size;

    auto press = [&](const std::string& key) {
        return runTool("xdotool windowactivate --sync " + window + " key " + key);
    };
    auto shot = [&] { return test::screenshot(dir.path() / "shot.png"); };
    // The picture's middle, bottom and side edges (a screen wider than 4:3 leaves bars beside
    // it), away from the bar's rows.
    auto filled = [&] {
        auto s = shot();
        if (!s) return false;
        const int x = screenW / 2, y = screenH / 2;
        const int left = screenW / 2 - screenH * 2 / 3;
        const bool bars = left < 2 || s->at(0, y) != kBlue;
        return s->at(x, y) == kBlue && s->at(x, screenH - 1) == kBlue &&
               s->at(left + 1, y) == kBlue && s->at(screenW - left - 2, y) == kBlue && bars;
    };
    ASSERT_TRUE(press("F11"));
    runTool("xdotool mousemove " + std::to_string(screenW / 2) + " " + std::to_string(screenH / 2));
    EXPECT_TRUE(eventually(filled)) << "full screen never filled the screen with the picture";
    // The pointer at the top brings the bar over the picture's first rows. The pointer is moved
    // again on each try (between two rows at the top): on a loaded machine a single motion can
    // reach the window before it has settled in full screen and be lost.
    int row = 2;
    EXPECT_TRUE(eventually([&] {
        row = 5 - row;
        runTool("xdotool mousemove " + std::to_string(screenW / 2) + " " + std::to_string(row));
        auto s = shot();
        return s && s->at(screenW / 2 - screenH * 2 / 3 + 4, 4) != kBlue;
    })) << "the menu bar never came in full screen";

    ASSERT_TRUE(press("F11"));
    EXPECT_TRUE(eventually([&] {
        const std::string now = geometry();
        return now.find("Geometry: 640x500") != std::string::npos;
    })) << "leaving full screen did not restore the window: "
        << geometry();
    EXPECT_TRUE(game.running());
}

} // namespace
} // namespace orv
