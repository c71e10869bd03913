// What a game folder without a readable scenario, or with a NUL byte in its
// text, tells the game maker.
#include "EngineHarness.h"
#include "util/gamefs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace orv;
using namespace std::string_literals;
using orv::test::Harness;
using orv::test::TempDir;
namespace fs = std::filesystem;

namespace {

// The exit status and the notices on stderr.
std::pair<int, std::string> run(Harness& h) {
    std::ostringstream notices;
    h.engine().script.notices = &notices;
    int status = h.run();
    return {status, notices.str()};
}

} // namespace

TEST(ScenarioFiles, AFolderWithoutAScenarioIsAStartUpFailure) {
    Harness h;
    h.file("bg.bmp", "not a scenario");
    EXPECT_EQ(run(h), std::pair(1, "orvane: no scenario found in " + h.dir().string() +
                                       " (looked for 0.txt to 99.txt, orvane_sec.dat and "
                                       "orvane.dat)\n"));
    EXPECT_EQ(h.log(), "");
}

TEST(ScenarioFiles, AScenarioFileThatCannotBeReadSaysWhy) {
    struct Case {
        const char* name;
        const char* reason;
        bool linkOutside;
    };
    for (const Case& c :
         {Case{"0.txt", "Is a directory", false}, Case{"1.txt", "Is a directory", false},
          Case{"orvane.dat", "Is a directory", false},
          Case{"0.txt", "it lies outside the game folder", true}}) {
        SCOPED_TRACE(c.name);
        TempDir outside;
        Harness h;
        if (std::string(c.name) == "1.txt") h.scenario("*define\ngame\n*start\nend\n");
        fs::path path = h.dir() / c.name;
        if (c.linkOutside)
            fs::create_symlink(outside.write("0.txt", "*define\ngame\n*start\nend\n"), path);
        else
            fs::create_directory(path);
        EXPECT_EQ(run(h), std::pair(1, "orvane: cannot read the scenario file " + path.string() +
                                           ": " + c.reason + "\n"));
    }
}

TEST(ScenarioFiles, ANulByteIsWarnedAboutOnceWithItsFileAndLine) {
    struct Case {
        const char* file;
        std::string text;
        int line;
    };
    for (const Case& c : {Case{"0.txt", "*define\ngame\n*start\n\0あ\n\0\n"s, 4},
                          Case{"1.txt", "\r\n\r\n;\0y\r\n"s, 3}}) {
        SCOPED_TRACE(c.file);
        Harness h;
        if (std::string(c.file) == "1.txt") h.scenario("*define\ngame\n*start\n");
        h.file(c.file, c.text);
        EXPECT_EQ(run(h), std::pair(2, "orvane: warning: " + (h.dir() / c.file).string() +
                                           " holds a NUL byte at line " + std::to_string(c.line) +
                                           "; the scenario ends there\n"));
        EXPECT_EQ(h.firstMessage(), "[スクリプトエラー] ファイルの終端に達しました。");
    }
}

TEST(ScenarioFiles, ReadingStopsAtTheLimitWhateverTheFileSize) {
    Harness h;
    fs::path big = h.dir() / "0.txt";
    std::ofstream(big) << "*define\n";
    // Sparse: a gigabyte on paper that reading in full would have to allocate.
    fs::resize_file(big, std::uintmax_t(1) << 30);
    std::string error;
    std::optional<std::string> head = readFilePrefix(big, 10, &error);
    ASSERT_TRUE(head) << error;
    EXPECT_EQ(*head, "*define\n\0\0"s);

    EXPECT_EQ(run(h).first, 2);
    EXPECT_EQ(h.firstMessage(), "[エラー] シナリオが長すぎます。");
}
