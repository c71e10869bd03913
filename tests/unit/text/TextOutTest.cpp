// --text-out: each finished page one line of UTF-8, written as the page ends, to a file or to
// standard output; and the player's switch that puts each page on the clipboard.
#include "TestSupport.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

class TextOut : public ::testing::Test {
protected:
    void SetUp() override {
        // Two lines on the first page, a page cleared with nothing on it, a second page.
        game_.write("0.txt", sjis::fromUtf8("*define\ngame\n*start\n雨の駅\n二人は\\\n"
                                            "textclear\n別れた@\nend\n"));
    }
    // The program through a shell, standard output into out.txt.
    test::RunResult run(const std::string& options) {
        return test::runProgram({"/bin/sh", "-c",
                                 "\"$0\" --headless --auto-click " + options + " \"$1\" > out.txt",
                                 test::orvaneBinary().string(), game_.path().string()},
                                work_.path());
    }
    std::string file(const std::string& name) { return test::readFile(work_.path() / name); }

    test::TempDir game_, work_;
};

TEST_F(TextOut, EachFinishedPageIsOneLineInAFileOrOnStandardOutput) {
    ASSERT_EQ(run("--text-out pages.txt").status, 0);
    // The last page never ended: it is not out.
    EXPECT_EQ(file("pages.txt"), "雨の駅二人は\n");
    ASSERT_EQ(run("--text-out -").status, 0);
    EXPECT_EQ(file("out.txt"), "雨の駅二人は\n");
}

TEST_F(TextOut, TheClipboardSwitchCopiesEachPage) {
    game_.write("orvane.ini", "textout.clipboard=1\n");
    const test::RunResult result = run("");
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(result.stderrText, "[clipboard] 雨の駅二人は\n");
}

} // namespace
} // namespace orv
