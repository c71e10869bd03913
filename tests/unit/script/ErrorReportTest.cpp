#include "script/ErrorReport.h"
#include "EngineHarness.h"
#include "script/ScenarioLoader.h"
#include "util/gamefs.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::TempDir;

namespace {

ScriptBuffer loadFrom(const TempDir& dir) {
    ScriptBuffer buffer;
    loadScenarioFiles(GameFs(dir.path()), buffer);
    return buffer;
}

int32_t offsetOf(const ScriptBuffer& b, std::string_view needle) {
    return int32_t(b.text().find(needle));
}

} // namespace

using orv::test::scrambled;

TEST(ErrorPosition, NamesTheFileAndLineAndQuotesTheLinesBefore) {
    std::string longFile;
    for (int i = 0; i < 50; ++i) longFile += "line " + std::to_string(i) + "\n";
    // Line counts restart in each file; the excerpt runs over a file boundary, the position line
    // does not; the terminator counts in the last file.
    const struct {
        std::vector<std::pair<const char*, std::string>> files;
        std::string before; // the error lies just before this text, or at the end when empty
        int shift;
        std::string expected;
    } cases[] = {
        {{{"0.txt", "bad command here\nnext\n"}}, " command", 0, "0.txt line:1\nbad"},
        {{{"0.txt", longFile}, {"1.txt", "first\nsecond\nthird error\n"}},
         " error",
         0,
         "1.txt line:3\n\n|first\n|second\n>third"},
        {{{"0.txt", "a\nb"}, {"2.txt", "c\nd e"}}, " e", 0, "2.txt line:2\n\n|b\n|c\n>d"},
        {{{"0.txt", "x\n"}, {"5.txt", "y\nz\n"}}, "", 0, "5.txt line:4\n\n|z\n|\n>"},
        {{{"orvane.dat", scrambled("one\ntwo\nthree", ScenarioSource::Scrambled)}},
         "three",
         0,
         "orvane.dat line:3\none\n|two\n>"},
        {{{"orvane_sec.dat", scrambled("a\nb", ScenarioSource::SecScrambled)}},
         "b",
         1,
         "orvane_sec.dat line:2\na\n>b"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const auto& [name, text] : c.files) dir.write(name, text);
        ScriptBuffer b = loadFrom(dir);
        int32_t pos = c.before.empty() ? b.length() : offsetOf(b, c.before) + c.shift;
        EXPECT_EQ(errorPosition(b, pos), c.expected);
    }
}

TEST(ErrorPosition, TheLineFeedAfterAFileBelongsToIt) {
    TempDir dir;
    dir.write("0.txt", "a\nb");
    dir.write("2.txt", "c\nd e");
    ScriptBuffer b = loadFrom(dir);
    EXPECT_EQ(errorPosition(b, b.fileEnds()[0]).substr(0, 13), "0.txt line:2\n");
}

TEST(ErrorPosition, EmptyScenario) {
    ScriptBuffer b;
    EXPECT_EQ(errorPosition(b, 0), "0.txt line:1\n");
}

TEST(ErrorPosition, ScrambledScenarioNamesItsFile) {
    TempDir dir;
    std::string text = "one\ntwo\nthree";
    scramble(text, ScenarioSource::Scrambled);
    dir.write("orvane.dat", text);
    ScriptBuffer b = loadFrom(dir);
    EXPECT_EQ(errorPosition(b, offsetOf(b, "three")), "orvane.dat line:3\none\n|two\n>");

    TempDir sec;
    std::string secText = "a\nb";
    scramble(secText, ScenarioSource::SecScrambled);
    sec.write("orvane_sec.dat", secText);
    ScriptBuffer s = loadFrom(sec);
    EXPECT_EQ(errorPosition(s, 3), "orvane_sec.dat line:2\na\n>b");
}

TEST(FormatMessage, ReplacesTheFirstPlaceholder) {
    EXPECT_EQ(formatMessage("a%sb%s", "X"), "aXb%s");
    EXPECT_EQ(formatMessage("line:%d", int64_t(-12)), "line:-12");
    EXPECT_EQ(formatMessage("none", "X"), "none");
}

// Reporting an error in a run (the text, status 2, the shut-down) is ScenarioErrorTest.
