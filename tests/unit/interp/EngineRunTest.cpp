#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

TEST(StatementLoop, StatementsLabelsCommentsAndColons) {
    Harness h;
    h.scenario("; a comment before everything\n*define\n\tmov %200,1 : mov %201,2\n"
               "  game  ; trailing comment\n*start\n*another ; label line\nmov %0,1:mov %1,2\n"
               ";mov %2,3\nend\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    const auto& n = h.engine().vars.num;
    EXPECT_EQ((std::vector{n[200], n[201], n[0], n[1], n[2]}), (std::vector{1, 2, 1, 2, 0}));
    EXPECT_EQ(h.transcript(), "");
}

namespace {

// The line handed to the text window, as assembled from the scenario.
std::string nextDisplayLine(Harness& h) {
    std::string line = assembleDisplayLine(h.engine());
    ++h.engine().script.pos; // the line feed
    return sjis::toUtf8(line);
}

} // namespace

TEST(StatementLoop, DisplayLinesExpandVariables) {
    Harness h;
    Variables& vars = h.engine().vars;
    vars.num[7] = 3;
    vars.num[3] = -45;
    vars.num[5] = 2147483647;
    vars.num[6] = -2147483647 - 1;
    vars.str[1] = S("名前");
    h.load("値は%3と%4です\n"
           "%5 %6\n"
           "$1さん　$1  !w%5@\\\n"
           "!s%3待つ!d%3\n"
           "100%%7\n");
    std::vector<std::string> lines;
    for (int i = 0; i < 5; ++i) lines.push_back(nextDisplayLine(h));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "値は－４５と０です", "２１４７４８３６４７－２１４７４８３６４８",
                         "名前さん　名前!w%5@\\", "!s%3待つ!d%3", "100－４５"}));
}

TEST(StatementLoop, LongDisplayLinesAreKeptWhole) {
    Harness h;
    std::string line;
    for (int i = 0; i < 400; ++i) line += "あ";
    h.engine().vars.str[0] = S(line.substr(0, 3 * 100));
    h.load(line + "$0$0\n");
    EXPECT_EQ(nextDisplayLine(h), line + line.substr(0, 600));
}

TEST(EngineRun, ResetAfterADisplayLineKeepsGlobalsAndClearsLocals) {
    Harness h;
    h.scenario(std::string(kPrologue) +
               "if %200 = 1 goto *second\n"
               "mov %199,5:mov $199,\"x\":mov %200,1:mov $200,\"kept\":gosub *sub\n"
               "*sub\ntrap *nowhere\n"
               "テキスト\n"
               "*second\nmov %300,%199\nend\n");
    // As the system menu's reset would, during the display line.
    h.platform().onTranscript = [&](std::string_view) {
        h.engine().interp.resetRequested = true;
        h.engine().shell.skipMode = true; // the reset ends skipping too
    };
    ASSERT_EQ(h.run(), 0) << h.log();
    const Engine& e = h.engine();
    EXPECT_EQ(h.transcript(), "テキスト\n");
    EXPECT_EQ((std::vector{e.vars.num[199], e.vars.num[200], e.vars.num[300]}),
              (std::vector{0, 1, 0}));
    EXPECT_EQ((std::vector{e.vars.str[199], e.vars.str[200]}),
              (std::vector<std::string>{"", "kept"}));
    EXPECT_EQ((std::vector{e.interp.gosubStack.empty(), e.interp.trapLabel.empty(),
                           e.interp.resetRequested, e.shell.skipMode}),
              (std::vector{true, true, false, false}));
}

TEST(EngineRun, StatementLimitEndsAnEndlessLoop) {
    Harness h;
    h.scenario(std::string(kPrologue) + "*l\ngoto *l\n");
    h.engine().interp.statementLimit = 5000;
    EXPECT_EQ(h.run(), 4);
    EXPECT_GE(h.engine().interp.statementCount, 5000u);
    EXPECT_LT(h.engine().interp.statementCount, 5000u + 2048u);
}
