// The demo asks the player's name before its closing page and greets them by it; a headless run
// with automatic clicks answers the dialog with the default name.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace orv::test;

TEST(DemoName, TheClosingPageGreetsThePlayerByTheNameTheDialogGot) {
    TempDir work;
    const std::filesystem::path transcript = work.path() / "transcript.txt";
    const RunResult run =
        runProgram({orvaneBinary().string(), "--headless", "--auto-click", "--events",
                    work.write("name.events", "move 100 350\n").string(), "--transcript",
                    transcript.string(), "--save-dir", work.path().string(), ORVANE_DEMO_DIR},
                   work.path());
    ASSERT_EQ(run.status, 0) << run.stderrText;
    EXPECT_NE(readFile(transcript).find("遊んでくれて、ありがとう。\n名無しさん、また雨の駅で。"),
              std::string::npos);
}

} // namespace
