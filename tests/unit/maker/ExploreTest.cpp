// --explore keeps the player's files (envdata at every end, and here the globals and the read-file
// log) in a folder of its own, never in the game's. Its reports and the events file that replays
// an error are tests/scenarios/explore-*.
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

TEST(Explore, LeavesTheGameFolderAsItWas) {
    TempDir game, out;
    game.write("0.txt", sjis::fromUtf8("*define\nglobalon\nfilelog\ngame\n*start\n"
                                       "mov %200,1\nbg \"pic.bmp\",1\nあ@\nend\n"));
    game.write("pic.bmp", buildBmp({.width = 2, .height = 2, .pixels = std::string(16, '\0')}));
    auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::recursive_directory_iterator(game.path()))
            names.push_back(e.path().filename().string() + " " +
                            std::to_string(e.is_regular_file() ? e.file_size() : 0));
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = listing();
    ExploreOptions options;
    options.gameDir = game.path().string();
    options.plays = 40;
    options.outDir = out.path().string();
    std::ostringstream report, err;
    EXPECT_EQ(runExplore(options, report, err), 0) << report.str() << err.str();
    EXPECT_NE(report.str().find("ended normally: 40\n"), std::string::npos) << report.str();
    EXPECT_EQ(listing(), before);
}

} // namespace
} // namespace orv::test
