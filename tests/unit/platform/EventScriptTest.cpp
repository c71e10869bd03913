// The events file: its lines, and what it may be: a regular file or a pipe, read no further
// than the limit.
#include "platform/headless/EventScript.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <tuple>

namespace orv {
namespace {

std::vector<ScriptEvent> parseOk(std::string_view text) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_TRUE(parseEventScript(text, events, error)) << error;
    return events;
}

std::string parseError(std::string_view text) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_FALSE(parseEventScript(text, events, error));
    return error;
}

// Every field of an event, so one comparison covers the whole parse.
using Fields = std::tuple<ScriptEventKind, int, bool, int, int, int, std::u32string, ScriptAnswer,
                          uint64_t, std::string>;

std::vector<Fields> fields(const std::vector<ScriptEvent>& events) {
    std::vector<Fields> out;
    for (const ScriptEvent& e : events)
        out.emplace_back(e.kind, e.line, e.hasPosition, e.x, e.y, e.code, e.text, e.answer, e.ms,
                         e.file);
    return out;
}

using K = ScriptEventKind;
constexpr ScriptAnswer kOk = ScriptAnswer::Ok;

TEST(EventScript, EveryKindOfEvent) {
    const auto ev = parseOk("click\nclick 10 -20\nrclick 639 479\nrclick\nmove 5 6\n"
                            "key space\nkey enter\nkey escape\nkey a\nkey \xE3\x81\x82\nkey #\n"
                            "text  Hello, w\xC3\xB6rld a#b  \nmenu 40005\nanswer yes\nanswer no\n"
                            "answer ok\nwait 250\nshot out/first shot.png\n");
    const std::vector<Fields> want = {
        {K::Click, 1, false, 0, 0, 0, U"", kOk, 0, ""},
        {K::Click, 2, true, 10, -20, 0, U"", kOk, 0, ""},
        {K::RClick, 3, true, 639, 479, 0, U"", kOk, 0, ""},
        {K::RClick, 4, false, 0, 0, 0, U"", kOk, 0, ""},
        {K::Move, 5, true, 5, 6, 0, U"", kOk, 0, ""},
        {K::Key, 6, false, 0, 0, 32, U"", kOk, 0, ""},
        {K::Key, 7, false, 0, 0, 13, U"", kOk, 0, ""},
        {K::Key, 8, false, 0, 0, 27, U"", kOk, 0, ""},
        {K::Key, 9, false, 0, 0, 'a', U"", kOk, 0, ""},
        {K::Key, 10, false, 0, 0, 0x3042, U"", kOk, 0, ""},
        {K::Key, 11, false, 0, 0, '#', U"", kOk, 0, ""},
        {K::Text, 12, false, 0, 0, 0, U"Hello, w\u00F6rld a#b", kOk, 0, ""},
        {K::Menu, 13, false, 0, 0, 40005, U"", kOk, 0, ""},
        {K::Answer, 14, false, 0, 0, 0, U"", ScriptAnswer::Yes, 0, ""},
        {K::Answer, 15, false, 0, 0, 0, U"", ScriptAnswer::No, 0, ""},
        {K::Answer, 16, false, 0, 0, 0, U"", kOk, 0, ""},
        {K::Wait, 17, false, 0, 0, 0, U"", kOk, 250, ""},
        {K::Shot, 18, false, 0, 0, 0, U"", kOk, 0, "out/first shot.png"},
    };
    EXPECT_EQ(fields(ev), want);
}

TEST(EventScript, CommentsBlankLinesAndLineEnds) {
    auto ev = parseOk("\xEF\xBB\xBF# a whole-line comment\r\n"
                      "\r\n"
                      "   \t\n"
                      "click 1 2   # after the event\r\n"
                      "  # indented comment\n"
                      "text hi # there\n"
                      "wait 0");
    EXPECT_EQ(fields(ev), (std::vector<Fields>{{K::Click, 4, true, 1, 2, 0, U"", kOk, 0, ""},
                                               {K::Text, 6, false, 0, 0, 0, U"hi", kOk, 0, ""},
                                               {K::Wait, 7, false, 0, 0, 0, U"", kOk, 0, ""}}));
    EXPECT_TRUE(parseOk("").empty());
}

TEST(EventScript, MalformedLinesNameTheirLine) {
    EXPECT_EQ(parseError("click\n\nfrobnicate\n"), "events file 3: unknown event 'frobnicate'");
    // Malformed first lines and the start of their message past "events file 1: "; for the
    // second list any message (an overlong encoding and an encoded surrogate are no characters).
    const std::pair<const char*, const char*> cases[] = {
        {"click x 2\n", "bad X"},      {"click 99999999999 0\n", "bad X"},
        {"rclick 2 y\n", "bad Y"},     {"key ab\n", "unknown key"},
        {"menu 12x\n", "bad menu id"}, {"answer maybe\n", "bad answer"},
        {"wait -5\n", "bad wait"},     {"wait 5000000000\n", "bad wait"}};
    for (const auto& [text, start] : cases)
        EXPECT_EQ(parseError(text).rfind("events file 1: " + std::string(start), 0), 0u) << text;
    for (const char* text :
         {"click 1\n", "move\n", "move 1\n", "key\n", "key \xFF\n", "key a b\n", "menu\n", "text\n",
          "text \xC3\n", "text \xC0\xAF\n", "text \xED\xA0\x80\n", "answer\n", "wait\n", "shot\n"})
        EXPECT_EQ(parseError(text).rfind("events file 1: ", 0), 0u) << text;
    EXPECT_EQ(parseError("# c\nclick 1 2 3\n").rfind("events file 2: ", 0), 0u);
    EXPECT_EQ(parseError("click\nclick\r\nwait 1\nmove a b\n").rfind("events file 4: ", 0), 0u);
}

TEST(EventScript, LoadsFromFile) {
    test::TempDir dir;
    auto path = dir.write("ev.txt", "click 3 4\nwait 10\n");
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(loadEventScript(path.string(), events, error)) << error;
    EXPECT_EQ(events.size(), 2u);
    EXPECT_FALSE(loadEventScript((dir.path() / "missing.txt").string(), events, error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
}

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
