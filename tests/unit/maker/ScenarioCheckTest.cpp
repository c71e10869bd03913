// --check: each kind of mistake gives its finding at the line the runtime would name, in both
// forms, and the exit status says whether there is an error.
#include "maker/ScenarioCheck.h"
#include "EngineHarness.h"
#include "TestSupport.h"
#include "script/ScenarioPack.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace orv::test {
namespace {

struct CheckRun {
    int status;
    std::vector<std::string> lines;
};

CheckRun check(const TempDir& dir, bool json) {
    std::ostringstream out, err;
    CheckRun run{runCheck(dir.path().string(), json, out, err), {}};
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    return run;
}

// Scenario text is written in UTF-8 here and stored as Shift-JIS.
void writeScenario(const TempDir& dir, const std::string& name, const std::string& utf8) {
    dir.write(name, sjis::fromUtf8(utf8));
}

TEST(ScenarioCheck, EachMistakeGivesItsFindingInBothForms) {
    TempDir dir;
    writeScenario(dir, "0.txt",
                  "*define\n"
                  "bg \"pic.bmp\",1\n" // 2: a game command in the definition block
                  "game\n"
                  "*start\n"
                  "frobnicate 3\n"             // 5: no such command
                  "goto *nowhere\n"            // 6: no such label
                  "*island\n"                  // 7: never jumped to, nothing runs on into it
                  "bg \"missing.bmp\",1\n"     // 8: no such picture
                  "lsp 1,\":a;PIC.bmp\",0,0\n" // 9: the letter case differs
                  "こんにちは/です\n"          // 10: '/' not last
                  "mov $1,\"abc\n"             // 11: no closing quote
                  "select \"a\",*start,\n"
                  "  \"b\",*gone\n" // 13: no such label, on the list's second line
                  "*start\n"        // 14: defined twice
                  "end\n");
    dir.write("pic.bmp", "BM");
    dir.write("1.txt", "\xef\xbd\x81\n"); // full-width a, in UTF-8
    dir.write("2.txt", "\x82\xa0\xff\n"); // a byte no Shift-JIS text holds

    const CheckRun text = check(dir, false);
    EXPECT_EQ(text.status, 2);
    const std::vector<std::string> expected = {
        "0.txt:2: error: 'bg' belongs to the game block, not the definition block",
        "0.txt:5: error: unknown command 'frobnicate'",
        "0.txt:6: error: label *nowhere does not exist",
        "0.txt:7: warning: label *island is never jumped to and the text before it does not run "
        "on into it",
        "0.txt:8: error: picture file 'missing.bmp' exists neither on disk nor in an archive",
        "0.txt:9: warning: 'PIC.bmp' is 'pic.bmp' on disk: the letter case differs (found here, "
        "not inside an archive)",
        "0.txt:10: error: '/' in display text must end the line",
        "0.txt:11: error: string without its closing quote",
        "0.txt:13: error: label *gone does not exist",
        "0.txt:14: error: label *start is defined twice (first at 0.txt:4): the engine stops "
        "before the game starts",
        "1.txt:1: error: bytes that are not valid Shift-JIS: the file is saved as UTF-8; save it "
        "as Shift-JIS",
        "2.txt:1: error: bytes that are not valid Shift-JIS",
    };
    EXPECT_EQ(text.lines, expected);

    const CheckRun json = check(dir, true);
    EXPECT_EQ(json.status, 2);
    ASSERT_EQ(json.lines.size(), expected.size());
    EXPECT_EQ(json.lines[0], "{\"file\":\"0.txt\",\"line\":2,\"severity\":\"error\",\"code\":"
                             "\"wrong-block\",\"message\":\"'bg' belongs to the game block, not "
                             "the definition block\"}");
    EXPECT_EQ(json.lines[3], "{\"file\":\"0.txt\",\"line\":7,\"severity\":\"warning\",\"code\":"
                             "\"dead-label\",\"message\":\"label *island is never jumped to and "
                             "the text before it does not run on into it\"}");
    const std::vector<std::string> codes = {"wrong-block",     "unknown-command", "missing-label",
                                            "dead-label",      "missing-file",    "file-case",
                                            "slash-not-last",  "unclosed-string", "missing-label",
                                            "duplicate-label", "not-shift-jis",   "not-shift-jis"};
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_NE(json.lines[i].find("\"code\":\"" + codes[i] + "\""), std::string::npos)
            << json.lines[i];
}

TEST(ScenarioCheck, CleanScenarioGivesNothing) {
    TempDir dir;
    writeScenario(dir, "0.txt",
                  "; every form of jump and file the check reads\n"
                  "*define\n"
                  "effect 2,18,300,\"mask.bmp\"\n"
                  "game\n"
                  "*start\n"
                  "bg white,1 : bg \"Pics\\\\Room.bmp\",2\n"
                  "ld c,\":a/2,100,0;Pics/Room.bmp\",1\n"
                  "trap *after\n"
                  "はじめ／です。/\n"
                  "つづき@\n"
                  "gosub *routine\n"
                  "if %1 = 0 && %2 >= 1 goto *after\n"
                  "mov $1,\"*computed\"\n"
                  "select \"a\",*after,\n"
                  "\t\"b\",*after\n"
                  "*routine\n"
                  "return\n"
                  "*after\n"
                  "*computed\n"
                  "end\n");
    dir.write("mask.bmp", "BM");
    dir.write("Pics/Room.bmp", "BM");
    const CheckRun run = check(dir, false);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, std::vector<std::string>{});
}

TEST(ScenarioCheck, WarningsAloneExitZero) {
    TempDir dir;
    std::string text = "*define\ngame\n*start\n";
    // 17 lines of the default 23-character window without a page wait: one too many.
    for (int i = 0; i < 17; ++i) text += "あいうえおかきくけこさしすせそたちつてとなにぬ\n";
    text += "end\n";
    writeScenario(dir, "0.txt", text);
    const CheckRun run = check(dir, false);
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(run.lines[0].rfind("0.txt:20: warning: the text runs past the 16 lines", 0), 0u)
        << run.lines[0];
}

// The line a finding names is the line where the runtime stops with its error.
TEST(ScenarioCheck, ErrorsNameTheLineTheRuntimeStopsAt) {
    const std::vector<std::string> scenarios = {
        "*define\ngame\n*start\nmov %1,1\nfrobnicate\nend\n",
        "*define\nmov %1,1\nbg black,1\ngame\n*start\nend\n",
        "*define\ngame\n*start\n\nif %1 = 0 goto *nowhere\nend\n",
        "*define\ngame\n*start\nmov %1,1 : bg \"none.bmp\",1\nend\n",
        "*define\ngame\n*start\nあい/う\nend\n",
        "*define\ngame\n*start\nmov $1,\"open\nend\n",
        "*define\ngame\n*start\n*twice\n\n*TWICE\nend\n",
    };
    for (const std::string& scenario : scenarios) {
        SCOPED_TRACE(scenario);
        TempDir dir;
        writeScenario(dir, "0.txt", scenario);
        const CheckRun checked = check(dir, false);
        ASSERT_EQ(checked.status, 2);
        const std::string first =
            *std::find_if(checked.lines.begin(), checked.lines.end(), [](const std::string& l) {
                return l.find(": error: ") != std::string::npos;
            });
        const std::string line = first.substr(6, first.find(':', 6) - 6);

        Harness harness;
        ASSERT_EQ(harness.run(scenario), 2);
        EXPECT_NE(harness.log().find("0.txt line:" + line + "\n"), std::string::npos)
            << harness.log() << "\nchecked: " << first;
    }
}

// Files and lines are counted as the loader joins the scenario: gaps between numbered files, and
// a scrambled file named by itself.
TEST(ScenarioCheck, NamesTheFileAsTheLoaderJoinedIt) {
    {
        TempDir dir;
        writeScenario(dir, "0.txt", "*define\ngame\n*start\ngoto *next\n");
        writeScenario(dir, "2.txt", "\n*next\nbogus\nend\n");
        EXPECT_EQ(check(dir, false).lines,
                  std::vector<std::string>{"2.txt:3: error: unknown command 'bogus'"});
    }
    {
        TempDir source;
        writeScenario(source, "0.txt", "*define\ngame\n*start\n\nbogus\nend\n");
        std::string error;
        ASSERT_TRUE(packScenario(source.path(), &error)) << error;
        TempDir dir;
        dir.write("orvane.dat", readFile(source.path() / "orvane.dat"));
        EXPECT_EQ(check(dir, false).lines,
                  std::vector<std::string>{"orvane.dat:5: error: unknown command 'bogus'"});
    }
}

} // namespace
} // namespace orv::test
