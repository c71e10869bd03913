// The player's conveniences keep to Orvane's own files: a run that uses them leaves envdata, the
// save slot, the global variables and the read-file log byte for byte as a run without them.
#include "Pictures.h"
#include "TestSupport.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr const char* kGame = R"(*define
rmenu "セーブ",save
globalon
filelog
game
*start
mov %200,5
bg "a.bmp",1
あいう\
えおか\
end
)";

// At the first page: the menu's one entry, slot 1, yes; then a click for each page.
constexpr const char* kPlay = "rclick\nclick 320 250\nclick 300 170\nclick 250 280\nclick\nclick\n";
// Auto-forward on and off again, volumes, mute, the clipboard switch, Ctrl held.
constexpr const char* kFeatures = "menu 41030\nmenu 41020\nhold ctrl\nkey a\nkey a\nkey m\n";

TEST(PlayerFeatures, LeaveTheGamesOwnFilesAsTheyWere) {
    test::TempDir game, plain, featured, work;
    game.write("0.txt", sjis::fromUtf8(kGame));
    game.write("a.bmp", test::bmp24(4, 4, [](int, int) { return 0x336699u; }));
    auto play = [&](const test::TempDir& saves, const std::string& events,
                    std::vector<std::string> extra) {
        const auto eventsFile = work.write("run.events", events);
        std::vector<std::string> args = {
            test::orvaneBinary().string(), "--headless", "--events",
            eventsFile.string(),           "--save-dir", saves.path().string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(game.path().string());
        return test::runProgram(args, work.path());
    };
    const test::RunResult a = play(plain, kPlay, {});
    ASSERT_EQ(a.status, 0) << a.stderrText;
    const test::RunResult b = play(featured, std::string(kFeatures) + kPlay,
                                   {"--text-out", (work.path() / "pages.txt").string()});
    ASSERT_EQ(b.status, 0) << b.stderrText;
    for (const char* name : {"envdata", "save1.dat", "gloval.sav", "Orvaneflog.dat"}) {
        ASSERT_TRUE(std::filesystem::exists(plain.path() / name)) << name;
        EXPECT_EQ(test::readFile(featured.path() / name), test::readFile(plain.path() / name))
            << name;
    }
    EXPECT_TRUE(std::filesystem::exists(featured.path() / "orvane.ini"));
}

} // namespace
} // namespace orv
