// --explore on a small game whose routes branch at a choice, a text-link wait and a button wait:
// the error planted on one route comes with an events file that replays it, and the game folder
// is left as it was. The reports themselves are tests/scenarios/explore-*.
#include "maker/Explore.h"
#include "BmpBuilder.h"
#include "TestSupport.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace orv::test {
namespace {

constexpr const char* kBranchingGame = "*define\n"
                                       "game\n"
                                       "*start\n"
                                       "select \"一\",*a,\"二\",*b,\"三\",*c\n"
                                       "*a\n"
                                       "どちらを<1はい>と<2いいえ>\n"
                                       "tbtnwait %0\n"
                                       "if %0 = 1 goto *a1\n"
                                       "end\n" // 9
                                       "*a1\n"
                                       "end\n" // 11
                                       "*b\n"
                                       "btndef \"btn.bmp\"\n"
                                       "btn 1,0,0,40,40,0,0\n"
                                       "btn 2,100,0,40,40,0,0\n"
                                       "btnwait %0\n"
                                       "if %0 = 2 goto *b2\n"
                                       "end\n" // 18
                                       "*b2\n"
                                       "end\n" // 20
                                       "*c\n"
                                       "goto *nowhere\n" // 22: the planted error
                                       "*never\n"
                                       "end\n";

class ExploreTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_.write("0.txt", sjis::fromUtf8(kBranchingGame));
        game_.write(
            "btn.bmp",
            buildBmp({.width = 200, .height = 40, .pixels = std::string(size_t(600) * 40, '\0')}));
    }

    std::string explore(uint64_t seed, int* status = nullptr) {
        ExploreOptions options;
        options.gameDir = game_.path().string();
        options.plays = 40;
        options.seed = seed;
        options.outDir = out_.path().string();
        std::ostringstream report, err;
        const int s = runExplore(options, report, err);
        if (status) *status = s;
        EXPECT_EQ(err.str(), "");
        return report.str();
    }

    TempDir game_;
    TempDir out_;
};

TEST_F(ExploreTest, TheEventsFileReplaysTheError) {
    explore(7);
    const std::filesystem::path events = out_.path() / "explore-error-1.events";
    ASSERT_TRUE(std::filesystem::exists(events));
    TempDir saves;
    const RunResult run =
        runProgram({orvaneBinary().string(), "--headless", "--events", events.string(),
                    "--save-dir", saves.path().string(), game_.path().string()},
                   out_.path());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.stderrText.find("ラベル*nowhereは存在しません"), std::string::npos)
        << run.stderrText;
    EXPECT_NE(run.stderrText.find("0.txt line:22"), std::string::npos) << run.stderrText;
}

// The player's files (envdata at every end, and here the globals and the read-file log) are kept
// in a folder of the explorer's own, never in the game's.
TEST_F(ExploreTest, LeavesTheGameFolderAsItWas) {
    game_.write("0.txt", sjis::fromUtf8("*define\nglobalon\nfilelog\ngame\n*start\n"
                                        "mov %200,1\nbg \"btn.bmp\",1\nあ@\nend\n"));
    auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::recursive_directory_iterator(game_.path()))
            names.push_back(e.path().filename().string() + " " +
                            std::to_string(e.is_regular_file() ? e.file_size() : 0));
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = listing();
    int status = -1;
    const std::string report = explore(1, &status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("ended normally: 40\n"), std::string::npos) << report;
    EXPECT_EQ(listing(), before);
}

} // namespace
} // namespace orv::test
