// Shared helpers for the unit tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {

// ../shared/testdata (or $ORVANE_TESTDATA); empty when absent, so tests skip.
std::filesystem::path testdataDir();

// A fresh, empty directory removed when the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes bytes to a file below the directory, creating folders; returns its path.
    std::filesystem::path write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);

// The source tree and the built program, for tests that run the binary.
std::filesystem::path sourceDir();
std::filesystem::path orvaneBinary();

struct RunResult {
    int status = -1; // the exit status, 128 + the signal, or -1 when killed after two minutes
    std::string stderrText;
    std::string stdoutText;
};

// Runs a program (args[0] a path) in cwd with stdin from /dev/null; stdout and stderr are kept
// (in cwd/stdout.txt and cwd/stderr.txt).
RunResult runProgram(const std::vector<std::string>& args, const std::filesystem::path& cwd);

} // namespace orv::test

// Skip the current test when the shared test data is absent.
#define ORVANE_REQUIRE_TESTDATA(dir)                                                               \
    auto dir = ::orv::test::testdataDir();                                                         \
    if (dir.empty()) GTEST_SKIP() << "shared test data absent; skipping"
