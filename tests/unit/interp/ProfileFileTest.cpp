#include "interp/ProfileFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using Names = std::vector<std::string>;

std::string fixture(const std::filesystem::path& dir, const char* name) {
    return test::readFile(dir / "ini" / "fixtures" / name);
}

// The lookups of the conformance rows, against the same file with CR LF and with CR-only line ends.
TEST(ProfileFile, ConformanceGetStringRows) {
    ORVANE_REQUIRE_TESTDATA(dir);
    for (const char* name : {"getstring_crlf.ini", "getstring_cr.ini"}) {
        SCOPED_TRACE(name);
        const std::string text = fixture(dir, name);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(readProfileString(text, "", "name1", "default"), "default");
        EXPECT_EQ(readProfileString(text, "notasection", "name1", "default"), "default");
        EXPECT_EQ(readProfileString(text, "", "name1", ""), "");
        EXPECT_EQ(readProfileString(text, "", "name1", "default  "), "default");
        EXPECT_EQ(readProfileString(text, "", "name1", "one two  "), "one two");
        EXPECT_EQ(readProfileString(text, "section1", "", "default"), "default");
        EXPECT_EQ(readProfileString(text, "section1", "notakey", "default"), "default");
        EXPECT_EQ(readProfileString(text, "section1", "name1", "default"), "val1");
        EXPECT_EQ(readProfileString(text, "section1", "name2", "default"), "val2");
        EXPECT_EQ(readProfileString(text, "section1", "NaMe1", "default"), "val1");
        EXPECT_EQ(readProfileString(text, "section1", "name3", "default"), "default");
        EXPECT_EQ(readProfileString(text, "section1", "name4", "default"), "a");
        EXPECT_EQ(readProfileString(text, "section2", "DoesntExist", ""), "");
        EXPECT_EQ(profileSectionNames(text), (Names{"section1", "section2"}));
        EXPECT_EQ(profileKeyNames(text, "section1"), (Names{"name1", "name2", "name4"}));
    }
}

TEST(ProfileFile, ConformanceSectionAndKeyShapes) {
    ORVANE_REQUIRE_TESTDATA(dir);
    const std::string keys = fixture(dir, "keys_enum.ini");
    EXPECT_EQ(profileKeyNames(keys, "s"), (Names{"name1", "name2", "name4"}));
    EXPECT_EQ(readProfileString(keys, "s", "name2", "x"), "");

    // "[]" is a section named ""; keys above the first header are unreachable.
    const std::string nosection = fixture(dir, "nosection.ini");
    EXPECT_EQ(readProfileString(nosection, "", "key", ""), "val_e_section");
    EXPECT_EQ(readProfileString(nosection, "s", "", ""), "val_no_key");
    EXPECT_EQ(profileSectionNames(nosection), (Names{"", "s", "t"}));

    const std::string sections = fixture(dir, "sections.ini");
    EXPECT_EQ(profileKeyNames(sections, "section2"), Names{});
    EXPECT_EQ(readProfileString(sections, "section3", "", "x"), "val5");
    EXPECT_EQ(readProfileString(sections, "section1", "name2", "x"), "");

    EXPECT_EQ(profileSectionNames(fixture(dir, "section_names.ini")),
              (Names{"section1", "section2", "section3"}));
    EXPECT_EQ(readProfileString(fixture(dir, "lf_only.ini"), "Test", "ProfileInt", ""), "123");
    EXPECT_EQ(profileSectionNames(fixture(dir, "before_first_section_nuls.ini")), Names{});
}

TEST(ProfileFile, ReadsFilesAndFallsBackWhenMissing) {
    ORVANE_REQUIRE_TESTDATA(dir);
    const auto fixtures = dir / "ini" / "fixtures";
    EXPECT_EQ(readProfileFile(fixtures / "getstring_crlf.ini", "SECTION1", "name2", ""), "val2");
    EXPECT_EQ(readProfileFile(fixtures / "nonexistent.ini", "section1", "name1", "default"),
              "default");
    EXPECT_EQ(readProfileFile(fixtures, "section1", "name1", "dir "), "dir");
}

TEST(ProfileFile, TrimsBlanksAroundNamesAndValues) {
    const std::string text = "  [ Game ]  \r\n\t Title \t=\t My Game \x1A\r\n"
                             "; [Other]\r\n"
                             "Key==x=\r\n";
    EXPECT_EQ(readProfileString(text, "game", "title", ""), "My Game");
    EXPECT_EQ(readProfileString(text, " GAME\t", "  TITLE ", ""), "My Game");
    // The comment line neither opens a section nor ends the current one.
    EXPECT_EQ(readProfileString(text, "game", "key", ""), "=x=");
    EXPECT_EQ(profileSectionNames(text), Names{"Game"});
}

TEST(ProfileFile, QuotesDuplicatesAndBrokenHeaders) {
    const std::string text = "[q]\nd=\"a b \"\ns=' x'\nm=\"ab'\nlone=\"\nempty=\"\"\n"
                             "dup=first\ndup=second\n"
                             "[broken\nafter=1\n"
                             "[Q]\nlate=1\n";
    EXPECT_EQ(readProfileString(text, "q", "d", ""), "a b ");
    EXPECT_EQ(readProfileString(text, "q", "s", ""), " x");
    EXPECT_EQ(readProfileString(text, "q", "m", ""), "\"ab'");
    EXPECT_EQ(readProfileString(text, "q", "lone", ""), "\"");
    EXPECT_EQ(readProfileString(text, "q", "empty", "x"), "");
    EXPECT_EQ(readProfileString(text, "q", "dup", ""), "first");
    // A header without ']' does not end the section.
    EXPECT_EQ(readProfileString(text, "q", "after", ""), "1");
    // Only the first section of a name is searched.
    EXPECT_EQ(readProfileString(text, "q", "late", "none"), "none");
}

TEST(ProfileFile, ShiftJisNamesFoldOnlyAsciiLetters) {
    // 0x83 0x5D has ']' as its trail byte, 0x83 0x41 an 'A', 0x83 0x61 an 'a'.
    const std::string text = "[\x83\x5D] ; \x83\x5D\nk=1\n[\x83\x41x]\n\x83\x41=2\n";
    EXPECT_EQ(readProfileString(text, "\x83\x5D", "K", ""), "1");
    EXPECT_EQ(readProfileString(text, "\x83\x41X", "\x83\x41", ""), "2");
    EXPECT_EQ(readProfileString(text, "\x83\x61x", "\x83\x41", "no"), "no");
    EXPECT_EQ(readProfileString(text, "\x83\x41x", "\x83\x61", "no"), "no");
}

TEST(ProfileFile, ValueIsCutToTheEngineBuffer) {
    const std::string longValue(300, 'v');
    EXPECT_EQ(readProfileString("[s]\nk=" + longValue, "s", "k", ""), std::string(255, 'v'));
    EXPECT_EQ(readProfileString("[s]\nk=\"" + std::string(255, 'q') + "\"", "s", "k", ""),
              std::string(255, 'q'));
    EXPECT_EQ(readProfileString("", "s", "k", longValue), std::string(255, 'v'));

    // 128 two-byte characters: the 128th would straddle the cut and is dropped whole.
    std::string wide;
    for (int i = 0; i < 128; ++i) wide += "\x82\xA0";
    EXPECT_EQ(readProfileString("[s]\nk=" + wide, "s", "k", ""), wide.substr(0, 254));
    EXPECT_EQ(readProfileString("[s]\nk=a" + wide, "s", "k", ""), "a" + wide.substr(0, 254));
}

TEST(ProfileFile, NulEndsValuesAsInACString) {
    const std::string text = std::string("[s]\nk=ab\0cd\nq=\"x\0\"\n", 19);
    EXPECT_EQ(readProfileString(text, "s", "k", ""), "ab");
    EXPECT_EQ(readProfileString(text, "s", "q", ""), "\"x");
}

} // namespace
} // namespace orv
