// --text-out: each finished page one line of UTF-8, written as the page ends, to a file or to
// standard output. The player's switch that puts each page on the clipboard is the scenario
// folder text-out-clipboard.
#include "TestSupport.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(TextOut, EachFinishedPageIsOneLineInAFileOrOnStandardOutput) {
    test::TempDir game, work;
    // Two lines on the first page, a page cleared with nothing on it, a second page.
    game.write("0.txt", sjis::fromUtf8("*define\ngame\n*start\n雨の駅\n二人は\\\n"
                                       "textclear\n別れた@\nend\n"));
    for (const auto& [option, file] :
         {std::pair{"pages.txt", "pages.txt"}, std::pair{"-", "out.txt"}}) {
        // The program through a shell, standard output into out.txt.
        const test::RunResult run =
            test::runProgram({"/bin/sh", "-c",
                              "\"$0\" --headless --auto-click --text-out " + std::string(option) +
                                  " \"$1\" > out.txt",
                              test::orvaneBinary().string(), game.path().string()},
                             work.path());
        ASSERT_EQ(run.status, 0) << run.stderrText;
        // The last page never ended: it is not out.
        EXPECT_EQ(test::readFile(work.path() / file), "雨の駅二人は\n") << option;
    }
}

} // namespace
} // namespace orv
