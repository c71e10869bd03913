#include "TestSupport.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace orv::test {

fs::path testdataDir() {
    if (const char* env = std::getenv("ORVANE_TESTDATA"); env && *env) {
        if (fs::is_directory(env)) return fs::path(env);
    }
    fs::path guess = fs::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "testdata";
    if (fs::is_directory(guess)) return guess;
    return {};
}

TempDir::TempDir() {
    std::random_device rd;
    fs::path base = fs::temp_directory_path();
    for (;;) {
        path_ = base / ("orvane-test-" + std::to_string(rd()));
        if (fs::create_directory(path_)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path TempDir::write(const std::string& name, const std::string& bytes) const {
    fs::path p = path_ / name;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return p;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

fs::path sourceDir() {
    return fs::path(ORVANE_SOURCE_DIR);
}
fs::path orvaneBinary() {
    return fs::path(ORVANE_BINARY);
}

RunResult runProgram(const std::vector<std::string>& args, const fs::path& cwd) {
    fs::path errPath = cwd / "stderr.txt";
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0) _exit(127);
        // Opened close-on-exec: the program sees only its three standard streams.
        const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
        dup2(open(errPath.c_str(), flags, 0644), 2);
        dup2(open((cwd / "stdout.txt").c_str(), flags, 0644), 1);
        dup2(open("/dev/null", O_RDONLY | O_CLOEXEC), 0);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    RunResult result;
    int waitStatus = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    for (;;) {
        pid_t done = waitpid(pid, &waitStatus, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &waitStatus, 0);
            result.stderrText = "(killed after 120 s)";
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
    result.stderrText = readFile(errPath);
    result.stdoutText = readFile(cwd / "stdout.txt");
    return result;
}

} // namespace orv::test
