// Skipping read text across runs of the program: what one run showed, the next skips while Ctrl
// is held or after Tab, up to the first line it has not shown; an edited line is unread again.
#include "TestSupport.h"
#include "text/ReadMarks.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

class ReadSkip : public ::testing::Test {
protected:
    // Plays the lines (one page each) with the events; the exit status.
    int play(const std::vector<std::string>& lines, const std::string& events) {
        std::string scenario = "*define\ngame\n*start\n";
        for (const std::string& line : lines) scenario += line + "\\\n";
        game_.write("0.txt", sjis::fromUtf8(scenario + "end\n"));
        const auto eventsFile = work_.write("run.events", events);
        return test::runProgram({test::orvaneBinary().string(), "--headless", "--events",
                                 eventsFile.string(), "--save-dir", saves_.path().string(),
                                 game_.path().string()},
                                work_.path())
            .status;
    }

    test::TempDir game_, saves_, work_;
};

// Each run's events give as many clicks as the pages that should wait: one click too few ends
// the run with status 3, one too many is left over (status 0 either way, so the count is exact
// only with the last page waiting).
TEST_F(ReadSkip, CtrlSkipsWhatAnEarlierRunShowedAndStopsAtTheFirstUnreadLine) {
    ASSERT_EQ(play({"あいう", "えおか"}, "click\nclick\n"), 0);
    EXPECT_EQ(play({"あいう", "えおか", "きくけ"}, "hold ctrl\nclick\n"), 0)
        << "the two read pages went by; the new one took the click";
    EXPECT_EQ(play({"あいう", "えおか", "きくけ"}, "click\n"), 3)
        << "without Ctrl the read pages wait as before";
}

TEST_F(ReadSkip, AnEditedLineIsUnreadAgain) {
    ASSERT_EQ(play({"あいう", "えおか"}, "click\nclick\n"), 0);
    // Same length, other words: the offset is the same, the content is not.
    EXPECT_EQ(play({"さしす", "えおか"}, "hold ctrl\nclick\n"), 0)
        << "the edited page waited for the click, the unchanged one went by";
    EXPECT_EQ(play({"たちつ", "えおか"}, "hold ctrl\n"), 3);
}

TEST_F(ReadSkip, TabSkipsFromThisWaitUntilTheNextUnreadLine) {
    ASSERT_EQ(play({"あいう", "えおか", "きくけ"}, "click\nclick\nclick\n"), 0);
    // Tab ends the first wait and the two read pages after it go by; the fourth page is new and
    // takes a click, and so does the fifth.
    EXPECT_EQ(play({"あいう", "えおか", "きくけ", "こさし", "すせそ"}, "key tab\nclick\nclick\n"),
              0);
    // All five are read now: Tab goes past them to the sixth, which takes the click, and stops
    // there, so the seventh waits with no click left.
    EXPECT_EQ(play({"あいう", "えおか", "きくけ", "こさし", "すせそ", "たちつ", "てとな"},
                   "key tab\nclick\n"),
              3);
}

TEST(ReadMarksFile, AFileThatIsNotOursReadsAsNoMarks) {
    ReadMarks marks, back;
    marks.add(42);
    const std::string good = marks.serialize();
    ASSERT_TRUE(back.parse(good) && back.contains(42) && !back.changed());
    for (const std::string& bad :
         {good.substr(0, good.size() - 1), good + "x", "X" + good.substr(1)})
        EXPECT_FALSE(back.parse(bad) || back.size() != 0) << bad.size();
}

} // namespace
} // namespace orv
