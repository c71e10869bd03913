// The demo's right-click menu saves on the first page and loads the slot two pages later: the game
// goes back to that page and still reaches its end.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace fs = std::filesystem;
using namespace orv::test;

namespace {

TEST(DemoSave, TheMenuSavesAndLoadsASlot) {
    TempDir work;
    // The demo's menu has five entries (save fourth, load fifth); slot 1 of nine; yes. The
    // pointer then goes back over the title's start button and the choice's first line.
    const std::string events = "move 100 350\nclick\n"
                               "rclick\nclick 300 280\nclick 300 170\nclick 250 280\n"
                               "click\nclick\nclick\n"
                               "rclick\nclick 300 310\nclick 300 170\nclick 250 280\n"
                               "move 100 350\n";
    const RunResult run =
        runProgram({orvaneBinary().string(), "--headless", "--auto-click", "--events",
                    work.write("test.events", events).string(), "--save-dir", work.path().string(),
                    "--transcript", (work.path() / "transcript.txt").string(), ORVANE_DEMO_DIR},
                   work.path());
    ASSERT_EQ(run.status, 0) << run.stderrText;
    EXPECT_TRUE(fs::exists(work.path() / "save1.dat"));
    const std::string transcript = readFile(work.path() / "transcript.txt");
    const std::string firstLine = "三月の終わり、夕方の駅。";
    const size_t first = transcript.find(firstLine);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(transcript.find(firstLine, first + 1), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("遊んでくれて、ありがとう。"), std::string::npos);
}

} // namespace
