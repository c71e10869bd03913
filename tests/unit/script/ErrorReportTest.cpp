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

TEST(ErrorPosition, FirstLineOfTheFirstFile) {
    TempDir dir;
    dir.write("0.txt", "bad command here\nnext\n");
    ScriptBuffer b = loadFrom(dir);
    EXPECT_EQ(errorPosition(b, 3), "0.txt line:1\nbad");
}

TEST(ErrorPosition, LineCountsRestartInEachFile) {
    TempDir dir;
    std::string longFile;
    for (int i = 0; i < 50; ++i) longFile += "line " + std::to_string(i) + "\n";
    dir.write("0.txt", longFile);
    dir.write("1.txt", "first\nsecond\nthird error\n");
    ScriptBuffer b = loadFrom(dir);
    int32_t pos = offsetOf(b, "third error") + 5;
    EXPECT_EQ(errorPosition(b, pos), "1.txt line:3\n\n|first\n|second\n>third");
}

TEST(ErrorPosition, FileAfterAGap) {
    TempDir dir;
    dir.write("0.txt", "a\nb");
    dir.write("2.txt", "c\nd e");
    ScriptBuffer b = loadFrom(dir);
    // The excerpt runs over the file boundary; the position line does not.
    EXPECT_EQ(errorPosition(b, offsetOf(b, "d e") + 1), "2.txt line:2\n\n|b\n|c\n>d");
    // The LF appended after a file still belongs to it.
    EXPECT_EQ(errorPosition(b, b.fileEnds()[0]).substr(0, 13), "0.txt line:2\n");
}

TEST(ErrorPosition, TheTerminatorCountsInTheLastFile) {
    TempDir dir;
    dir.write("0.txt", "x\n");
    dir.write("5.txt", "y\nz\n");
    ScriptBuffer b = loadFrom(dir);
    EXPECT_EQ(errorPosition(b, b.length()), "5.txt line:4\n\n|z\n|\n>");
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

TEST(ErrorPosition, LongExcerptKeepsItsEndOnACharacterBoundary) {
    TempDir dir;
    // Two-byte characters on a long line, so a plain cut could split one.
    std::string line;
    for (int i = 0; i < 1500; ++i) line += "\x82\xa0";
    dir.write("0.txt", "x\n" + line + "\n" + "a" + line + "\nend");
    ScriptBuffer b = loadFrom(dir);
    std::string position = errorPosition(b, b.length() - 1);
    std::string excerpt = position.substr(position.find('\n') + 1);
    EXPECT_LE(excerpt.size(), kMaxExcerptBytes);
    EXPECT_GE(excerpt.size(), kMaxExcerptBytes - 1);
    EXPECT_EQ(excerpt.substr(excerpt.size() - 5), "\n>end");
    // Every two-byte character is whole: the text converts without a replacement.
    EXPECT_EQ(sjis::toUtf8(excerpt).find("\xef\xbf\xbd"), std::string::npos);
}

TEST(FormatMessage, ReplacesTheFirstPlaceholder) {
    EXPECT_EQ(formatMessage("a%sb%s", "X"), "aXb%s");
    EXPECT_EQ(formatMessage("line:%d", int64_t(-12)), "line:-12");
    EXPECT_EQ(formatMessage("none", "X"), "none");
}

// Reporting an error in a run (the text, status 2, the shut-down) is ScenarioErrorTest.
