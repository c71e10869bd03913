// What a run sets up at start: the single-instance lock and its temporary directory, which is
// private, named after its process, left by no ending the system asks for, and cleared up after
// a run that could not clear up itself.
#include "shell/Startup.h"
#include "ScopedEnv.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace orv {
namespace {

// A process id that belonged to a process now gone.
pid_t goneProcess() {
    const pid_t pid = fork();
    if (pid == 0) _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

TEST(TempDirectoryNaming, CarriesThePidAndAMissingBaseIsNamed) {
    test::TempDir dir;
    {
        test::ScopedEnv tmp("TMPDIR", dir.path().c_str());
        auto t = TempDirectory::make(nullptr);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->path().parent_path(), dir.path());
        EXPECT_TRUE(
            t->path().filename().string().starts_with("orvane-" + std::to_string(getpid()) + "-"));
    }
    test::ScopedEnv tmp("TMPDIR", "/nonexistent");
    std::string error;
    EXPECT_FALSE(TempDirectory::make(&error));
    EXPECT_NE(error.find("/nonexistent"), std::string::npos) << error;
}

TEST(TempDirectoryCleanup, RemovesOnlyDirectoriesOfThisUsersGoneProcesses) {
    test::TempDir dir;
    const std::string gone = std::to_string(goneProcess());
    const std::string alive = std::to_string(getpid());
    struct Entry {
        std::string name;
        bool directory;
        bool removed;
    };
    const Entry entries[] = {
        {"orvane-" + gone + "-abcdef", true, true},
        {"orvane-" + alive + "-abcdef", true, false},
        {"orvane-" + gone + "-abcdef-more", true, false},
        {"orvane-" + gone, true, false},
        {"orvane-fuzz-" + gone + "-ab", true, false},
        {"orvane-" + gone + "-file00", false, false},
        {"other-" + gone + "-abcdef", true, false},
    };
    for (const Entry& e : entries) {
        if (e.directory)
            dir.write(e.name + "/extracted.bmp", "x");
        else
            dir.write(e.name, "x");
    }
    // A link to a gone run's directory is not the directory.
    fs::create_directory_symlink(dir.path() / entries[1].name,
                                 dir.path() / ("orvane-" + gone + "-link00"));

    TempDirectory::removeStale(dir.path());
    for (const Entry& e : entries) EXPECT_EQ(!fs::exists(dir.path() / e.name), e.removed) << e.name;
    EXPECT_TRUE(fs::exists(dir.path() / entries[1].name / "extracted.bmp"));
}

// A run stopped by each of the signals a terminal or a service manager sends ends through its
// shut-down: status 0, and its temporary directory gone.
TEST(TerminationSignals, EndTheRunThroughItsShutDown) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        test::TempDir dir;
        const fs::path tmp = dir.path() / "tmp";
        fs::create_directories(tmp);
        // A loop of timed waits runs until something ends it.
        dir.write("game/0.txt", "*define\ngame\n*start\n*l\nwait 10\ngoto *l\n");
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("TMPDIR", tmp.c_str(), 1);
            const std::string binary = test::orvaneBinary().string();
            const std::string game = (dir.path() / "game").string();
            execl(binary.c_str(), binary.c_str(), "--headless", game.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid, 0);
        bool started = false;
        for (int i = 0; i < 400 && !started; ++i) {
            started = !fs::is_empty(tmp);
            if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        kill(pid, sig);
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 400 && !ended; ++i) {
            ended = waitpid(pid, &status, WNOHANG) == pid;
            if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        if (!ended) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        EXPECT_TRUE(started) << "the run never made its temporary directory";
        ASSERT_TRUE(ended) << "the signal did not end the run";
        ASSERT_TRUE(WIFEXITED(status)) << "killed by the signal instead of shutting down";
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_TRUE(fs::is_empty(tmp)) << "the temporary directory was left behind";
    }
}

TEST(SingleInstanceLock, SecondCopyIsRefusedUntilTheFirstEnds) {
    test::TempDir dir;
    fs::path lockFile = dir.path() / "sub" / "orvane.lock";
    {
        auto first = SingleInstanceLock::acquire(lockFile);
        ASSERT_TRUE(first);
        EXPECT_FALSE(SingleInstanceLock::acquire(lockFile));
    }
    EXPECT_TRUE(SingleInstanceLock::acquire(lockFile));
}

TEST(TempDirectory, IsPrivateAndRemovedOnlyWhenEmpty) {
    fs::path kept;
    fs::path removed;
    {
        auto a = TempDirectory::make(nullptr);
        auto b = TempDirectory::make(nullptr);
        ASSERT_TRUE(a && b);
        EXPECT_NE(a->path(), b->path());
        EXPECT_TRUE(fs::is_directory(a->path()));
        removed = a->path();
        kept = b->path();
        std::ofstream(kept / "left-behind") << "x";
    }
    EXPECT_FALSE(fs::exists(removed));
    EXPECT_TRUE(fs::exists(kept / "left-behind"));
    fs::remove_all(kept);
}

} // namespace
} // namespace orv
