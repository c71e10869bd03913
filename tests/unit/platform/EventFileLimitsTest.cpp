// What an events file may be: a regular file or a pipe, read no further than the limit.
#include "platform/headless/EventScript.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

namespace orv {
namespace {

// Writes bytes into a new FIFO from a thread, as a shell's process substitution does: first
// the head, then the filler byte up to the total.
class FifoWriter {
public:
    FifoWriter(const std::filesystem::path& path, std::string head, size_t bytes, char fill) {
        // The reader stops early on purpose; the writer must see an error, not die.
        std::signal(SIGPIPE, SIG_IGN);
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
        thread_ = std::thread([path, head, bytes, fill] {
            const int fd = ::open(path.c_str(), O_WRONLY);
            if (fd < 0) return;
            std::string chunk = head;
            size_t left = bytes;
            while (left > 0) {
                if (chunk.empty()) chunk.assign(65536, fill);
                const size_t n = std::min(left, chunk.size());
                if (::write(fd, chunk.data(), n) != ssize_t(n)) break;
                left -= n;
                chunk.clear();
            }
            ::close(fd);
        });
    }
    ~FifoWriter() { thread_.join(); }

private:
    std::thread thread_;
};

TEST(EventFileLimits, APipeIsReadLikeAFile) {
    test::TempDir dir;
    const auto path = dir.path() / "fifo";
    // The README's demo command: --events <(echo move 100 350)
    const std::string line = "move 100 350\n";
    FifoWriter writer(path, line, line.size(), ' ');
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(loadEventScript(path.string(), events, error)) << error;
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, ScriptEventKind::Move);
    EXPECT_EQ(events[0].y, 350);
}

TEST(EventFileLimits, MoreThanTheLimitIsRefusedFromAFileOrAPipe) {
    test::TempDir dir;
    std::vector<ScriptEvent> events;
    std::string error;

    // A sparse file past the limit is refused by its size, before any of it is read.
    const auto big = dir.write("big.txt", "");
    std::filesystem::resize_file(big, kMaxEventScriptBytes + 1);
    EXPECT_FALSE(loadEventScript(big.string(), events, error));
    EXPECT_NE(error.find("larger than 64 MiB"), std::string::npos) << error;

    // Blank lines up to the limit are fine; one byte more from a pipe is not.
    const auto path = dir.path() / "fifo";
    error.clear();
    {
        FifoWriter writer(path, "", kMaxEventScriptBytes + 1, '\n');
        EXPECT_FALSE(loadEventScript(path.string(), events, error));
    }
    EXPECT_NE(error.find("larger than 64 MiB"), std::string::npos) << error;
}

} // namespace
} // namespace orv
