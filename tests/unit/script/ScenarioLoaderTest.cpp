#include "script/ScenarioLoader.h"
#include "EngineHarness.h"
#include "script/ScrambleKeys.h"
#include "util/gamefs.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace orv;
using orv::test::Harness;
using orv::test::TempDir;

namespace {

using orv::test::scrambled;

struct Loaded {
    bool fits;
    ScriptBuffer buffer;
};

Loaded load(const TempDir& dir) {
    Loaded result;
    result.fits = loadScenarioFiles(GameFs(dir.path()), result.buffer);
    return result;
}

// The recorded ends of files 0 .. n-1.
std::vector<int> ends(const Loaded& l, int n) {
    return std::vector<int>(l.buffer.fileEnds().begin(), l.buffer.fileEnds().begin() + n);
}

constexpr int kMissing = kMissingFileEnd;

} // namespace

TEST(TextMode, TranslatesLineEndsAndStopsAtCtrlZ) {
    // A CR without its LF stays, and so does one before the end of the input.
    for (auto [in, out] : {std::pair<std::string, std::string>("a\r\nb\r\n", "a\nb\n"),
                           {"a\rb\r", "a\rb\r"},
                           {"a\r\r\nb", "a\r\nb"},
                           {"ab\x1a"
                            "cd\r\n",
                            "ab"},
                           {std::string("a\0b", 3), std::string("a\0b", 3)}})
        EXPECT_EQ(textModeTranslate(in), out);
}

TEST(ScenarioLoading, JoinsNumberedFilesWithGapsAndRecordsTheirEnds) {
    TempDir dir;
    dir.write("0.txt", "zero\r\nline");
    dir.write("2.txt", "two");
    Loaded l = load(dir);
    ASSERT_TRUE(l.fits);
    EXPECT_EQ(l.buffer.text(), "zero\nline\ntwo\n");
    EXPECT_EQ(l.buffer.data()[l.buffer.length()], '\0');
    EXPECT_EQ(ends(l, 4), (std::vector{9, kMissing, 13, kMissing}));
    EXPECT_EQ(l.buffer.fileEnds()[99], kMissingFileEnd);
}

TEST(ScenarioLoading, WithoutFileZeroReadsTheLaterFilesInAnyCase) {
    TempDir dir;
    dir.write("1.TXT", "one");
    dir.write("10.txt", "ten");
    Loaded l = load(dir);
    EXPECT_EQ(l.buffer.text(), "one\nten\n");
    EXPECT_EQ(ends(l, 11), (std::vector{kMissing, 3, kMissing, kMissing, kMissing, kMissing,
                                        kMissing, kMissing, kMissing, kMissing, 7}));
}

TEST(ScenarioLoading, NoFileGivesAnEmptyScenario) {
    TempDir dir;
    Loaded l = load(dir);
    EXPECT_TRUE(l.fits);
    EXPECT_EQ(l.buffer.length(), 0);
    EXPECT_EQ(l.buffer.data()[0], '\0');
}

// Which scrambled file wins without 0.txt is the scenario test core-scrambled.
TEST(ScenarioLoading, FileZeroWinsOverBothScrambledFiles) {
    TempDir dir;
    dir.write("0.txt", "numbered");
    dir.write("orvane.dat", scrambled("dat", ScenarioSource::Scrambled));
    dir.write("orvane_sec.dat", scrambled("sec", ScenarioSource::SecScrambled));
    Loaded l = load(dir);
    EXPECT_EQ(l.buffer.text(), "numbered\n");
    EXPECT_EQ(l.buffer.source(), ScenarioSource::Numbered);
}

TEST(ScenarioLoading, ScramblingUsesTheKeysByteByByte) {
    std::string bytes(12, '\0');
    std::string five = scrambled(bytes, ScenarioSource::SecScrambled);
    for (size_t i = 0; i < five.size(); ++i)
        EXPECT_EQ(uint8_t(five[i]), kSecScrambleKey[i % 5]) << i;
    std::string one = scrambled(bytes, ScenarioSource::Scrambled);
    for (char c : one) EXPECT_EQ(uint8_t(c), kScrambleKey);
    EXPECT_EQ(scrambled(five, ScenarioSource::SecScrambled), bytes);
}

TEST(ScenarioLoading, ScrambledFileAtTheCapacityIsTooLong) {
    TempDir dir;
    dir.write("orvane.dat", std::string(size_t(kScriptCapacity - 2), 'a'));
    Loaded fits = load(dir);
    EXPECT_TRUE(fits.fits);
    EXPECT_EQ(fits.buffer.length(), kScriptCapacity - 1);

    dir.write("orvane.dat", std::string(size_t(kScriptCapacity - 1), 'a'));
    EXPECT_FALSE(load(dir).fits);
    // A longer file is read only up to the capacity.
    dir.write("orvane.dat", std::string(size_t(kScriptCapacity + 100), 'a'));
    Loaded over = load(dir);
    EXPECT_FALSE(over.fits);
    EXPECT_EQ(over.buffer.length(), kScriptCapacity);
}

TEST(ScenarioLoading, NumberedFilesStopAtTheCapacity) {
    TempDir dir;
    // Two files whose text and LFs fill the buffer exactly.
    const int half = kScriptCapacity / 2;
    dir.write("0.txt", std::string(size_t(half - 1), 'a'));
    dir.write("1.txt", std::string(size_t(half - 2), 'b'));
    EXPECT_TRUE(load(dir).fits);
    dir.write("1.txt", std::string(size_t(half - 1), 'b'));
    Loaded l = load(dir);
    EXPECT_FALSE(l.fits);
    EXPECT_EQ(l.buffer.length(), kScriptCapacity);
    // A later file would not even be looked at.
    dir.write("1.txt", std::string(size_t(half + 10), 'b'));
    dir.write("2.txt", "c");
    l = load(dir);
    EXPECT_FALSE(l.fits);
    EXPECT_EQ(ends(l, 3), (std::vector{half - 1, kScriptCapacity - 1, kMissing}));
}

TEST(ScenarioLoading, TooLongIsReportedAtTheEndOfTheOverflowingFile) {
    Harness h;
    h.file("0.txt", "*define\ngame\n");
    std::string big(size_t(kScriptCapacity), 'x');
    big[100] = '\n';
    big[200] = '\n';
    std::ofstream(h.dir() / "1.txt", std::ios::binary) << big;
    EXPECT_EQ(h.run(), 2);
    EXPECT_EQ(h.firstMessage(), "[エラー] シナリオが長すぎます。");
    EXPECT_NE(h.log().find("1.txt line:3\n"), std::string::npos) << h.log();
}
