// A scenario loop that never waits must not freeze the window: the statement loop lets the
// window's messages through while it runs, so an end request is heard.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace orv {
namespace {

TEST(BusyLoopWindow, AnEndRequestIsHeardDuringALoopThatNeverWaits) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "DISPLAY not set; run under xvfb-run";

    test::TempDir dir;
    test::TempDir runtime;
    dir.write("game/0.txt", "*define\ngame\n*start\n*l\ngoto *l\n");
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
    // Long enough for the window to open and the loop to spin.
    std::this_thread::sleep_for(std::chrono::seconds(2));
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
    ASSERT_TRUE(ended) << "the window never heard SIGTERM while the loop ran";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

} // namespace
} // namespace orv
