// The argument readers that commands share: variables with the command's own
// error, colour literals and fixed number lists.
#include "EngineHarness.h"
#include "script/ErrorCaptions.h"
#include "script/TokenReader.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;

namespace {

struct Reader : Harness {
    explicit Reader(const std::string& text) { load(text); }
    int32_t pos() { return engine().script.pos; }
    std::string error(const std::function<void()>& fn) {
        EXPECT_EQ(capture(fn), 2);
        return firstMessage();
    }
};

} // namespace

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
