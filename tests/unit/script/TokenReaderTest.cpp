#include "script/TokenReader.h"
#include "EngineHarness.h"
#include "script/ErrorCaptions.h"

#include <gtest/gtest.h>

#include <array>

using namespace orv;
using orv::test::Harness;

namespace {

// A harness whose buffer holds text (UTF-8 here, Shift-JIS in the buffer).
struct Reader : Harness {
    explicit Reader(const std::string& text) { load(text); }
    int32_t pos() { return engine().script.pos; }
    char current() { return engine().script.current(); }
    // Runs fn; returns the first message box line when it reports an error, else "".
    std::string error(const std::function<void()>& fn) {
        int status = capture(fn);
        if (status == -1) return "";
        EXPECT_EQ(status, 2);
        return firstMessage();
    }
};

std::string toSjis(const std::string& utf8) {
    return sjis::fromUtf8(utf8);
}

} // namespace

TEST(ReadWord, FoldsCaseAndStopsAtTheFirstNonWordByte) {
    // A digit cannot start a word: the word is empty and the byte is left. A double-byte
    // character ends a word. Up to 254 bytes are accepted.
    const struct {
        std::string text, word;
        char next;
        int32_t pos;
    } cases[] = {{"  MoV_2x  ,next", "mov_2x", ',', 10},
                 {"9abc", "", '9', 0},
                 {"abcあ", "abc", '\x82', 3},
                 {std::string(254, 'A') + " x", std::string(254, 'a'), 'x', 255}};
    for (const auto& c : cases) {
        Reader r(c.text);
        std::string word;
        EXPECT_EQ(readWord(r.engine(), word), c.next) << c.text;
        EXPECT_EQ(word, c.word);
        EXPECT_EQ(r.pos(), c.pos) << c.text;
    }
}

TEST(ReadNumber, LiteralsSignsAndTheirLimits) {
    struct Case {
        const char* text;
        int32_t value;
        int32_t endPos;
    };
    for (const Case& c :
         {Case{"0", 0, 1}, Case{"-0", 0, 2}, Case{"-", 0, 1}, Case{"+7 ,", 7, 3},
          Case{"  -123abc", -123, 6}, Case{"2147483647", 2147483647, 10},
          Case{"-2147483648", int32_t(0x80000000u), 11},
          // Beyond 32 bits the value wraps.
          Case{"4294967297", 1, 10},
          Case{"999999999999999999", int32_t(uint32_t(999999999999999999ull)), 18}}) {
        Reader r(c.text);
        EXPECT_EQ(readNumber(r.engine()), c.value) << c.text;
        EXPECT_EQ(r.pos(), c.endPos) << c.text;
    }
}

TEST(ReadNumber, VariablesIndirectionAndAliases) {
    Reader r("%3 %%0 % %0 max MAXI");
    r.engine().vars.num[0] = 3;
    r.engine().vars.num[3] = 42;
    r.engine().vars.addNumAlias("max", 9);
    r.engine().vars.addNumAlias("maxi", -2);
    // %%0: variable number %0 = 3; blanks are allowed after each %.
    std::vector<int32_t> read;
    for (int i = 0; i < 5; ++i) read.push_back(readNumber(r.engine()));
    EXPECT_EQ(read, (std::vector<int32_t>{42, 42, 42, 9, -2}));
    EXPECT_EQ(r.current(), '\0');
}

TEST(ReadNumber, ALongRunOfIndirectionsDoesNotRecurse) {
    Reader r(std::string(200000, '%') + "0");
    EXPECT_EQ(readNumber(r.engine()), 0);
}

TEST(ReadString, LiteralsVariablesAndAliases) {
    Reader r(R"("あいう" , $2 $%0 greet""x)");
    r.engine().vars.num[0] = 2;
    r.engine().vars.str[2] = toSjis("値");
    r.engine().vars.addStrAlias("greet", toSjis("こんにちは"));
    EXPECT_EQ(readString(r.engine()), toSjis("あいう"));
    EXPECT_EQ(r.current(), ',');
    ++r.engine().script.pos;
    std::vector<std::string> read;
    for (int i = 0; i < 4; ++i) read.push_back(readString(r.engine()));
    EXPECT_EQ(read, (std::vector{toSjis("値"), toSjis("値"), toSjis("こんにちは"), std::string()}));
    EXPECT_EQ(r.current(), 'x');
}

TEST(ReadString, LongVariablesAreCopiedWhole) {
    Reader r("$1");
    r.engine().vars.str[1] = std::string(1000, 'z');
    EXPECT_EQ(readString(r.engine()).size(), 1000u);
}

TEST(ReadString, LiteralLimitsAndErrors) {
    Reader ok("\"" + std::string(254, 'a') + "\"");
    EXPECT_EQ(readString(ok.engine()), std::string(254, 'a'));

    // The other errors are rows of ScenarioErrorTest; this one needs the text to end here.
    Reader end("\"abc");
    EXPECT_EQ(end.error([&] { readString(end.engine()); }),
              "[構文エラー] 文字列中に改行が有ります。");
}

TEST(ReadLabel, AllForms) {
    Reader r("*Start $5 \"*Other\" ");
    r.engine().vars.str[5] = "*Start";
    EXPECT_EQ(readLabel(r.engine()), "start");
    // A string keeps its case; the lookup folds it.
    EXPECT_EQ(readLabel(r.engine()), "Start");
    EXPECT_EQ(readLabel(r.engine()), "Other");

    Reader empty("$0");
    EXPECT_NE(empty.error([&] { readLabel(empty.engine()); }), "");
    // String aliases are not labels.
    Reader alias("lbl");
    alias.engine().vars.addStrAlias("lbl", "*start");
    EXPECT_NE(alias.error([&] { readLabel(alias.engine()); }), "");
}

TEST(ReadColor, SixHexDigitsInEitherCase) {
    Reader r("");
    EXPECT_EQ((std::vector{readColor(r.engine(), "75fe1b"), readColor(r.engine(), "75FE1B"),
                           readColor(r.engine(), "000000 trailing")}),
              (std::vector<uint32_t>{0x75fe1bu, 0x75fe1bu, 0u}));
    const std::string message = "[構文エラー] カラー指定が間違っています。HTMLと同じ形式（例：#"
                                "75fe1b）で指定してください。";
    for (const char* bad : {"75fe1 ", "75fe1", "g00000", ""})
        EXPECT_EQ(r.error([&] { readColor(r.engine(), bad); }), message) << bad;
}

TEST(ExpectComma, SkipsBlanksBeforeOnly) {
    Reader r(" \t, x");
    expectComma(r.engine());
    EXPECT_EQ(r.pos(), 3);
    Reader newline("\n,");
    EXPECT_NE(newline.error([&] { expectComma(newline.engine()); }), "");
}

TEST(SkipBlanks, LineFeedsOnlyForTheSecondForm) {
    Reader r(" \t\n \nx");
    skipBlanks(r.engine());
    EXPECT_EQ(r.current(), '\n');
    EXPECT_EQ(skipBlanksAndNewlines(r.engine()), 'x');
    EXPECT_EQ(r.pos(), 5);
}

TEST(ReadVariableRef, TakesTheSigilAndTheNumber) {
    const struct {
        const char* text;
        char sigil;
        int32_t number;
    } cases[] = {{"%7,", '%', 7}, {" \t$12 ,", '$', 12}, {"%%3", '%', 40}};
    for (const auto& c : cases) {
        Reader r(c.text);
        r.engine().vars.num[3] = 40;
        EXPECT_EQ(readVariableRef(r.engine(), c.sigil, caption::kSyntax, "unused"), c.number)
            << c.text;
    }
}

TEST(ReadVariableRef, ReportsTheCallersCaptionAndMessage) {
    for (const char* text : {"$1", "1", "", "\n%1"}) {
        Reader r(text);
        EXPECT_EQ(r.error([&] { readVariableRef(r.engine(), '%', caption::kError, "独自の文"); }),
                  "[エラー] 独自の文")
            << text;
    }
    Reader outside("%4096");
    EXPECT_EQ(outside.error([&] { readVariableRef(outside.engine(), '%', caption::kSyntax, "x"); })
                  .rfind("[実行時エラー] 変数番号", 0),
              0u);
}

TEST(ReadColourLiteral, StepsOverTheSevenBytes) {
    Reader r("#75fe1b,x");
    EXPECT_EQ(readColourLiteral(r.engine()), 0x75fe1bu);
    EXPECT_EQ(r.pos(), 7);
}

TEST(ReadNumbers, ReadsAFixedCommaSeparatedList) {
    Reader r("1, -2 ,%0 , 4");
    r.engine().vars.num[0] = 30;
    EXPECT_EQ((readNumbers<3>(r.engine())), (std::array<int32_t, 3>{1, -2, 30}));
    EXPECT_EQ(r.engine().script.current(), ',');
    Reader missing("1, 2 3");
    EXPECT_EQ(missing.error([&] { readNumbers<3>(missing.engine()); }),
              "[構文エラー] コンマが必要なところにコンマが有りません。");
}
