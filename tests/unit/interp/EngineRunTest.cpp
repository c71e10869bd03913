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
    EXPECT_EQ(n[200], 1);
    EXPECT_EQ(n[201], 2);
    EXPECT_EQ(n[0], 1);
    EXPECT_EQ(n[1], 2);
    EXPECT_EQ(n[2], 0);
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
    vars.num[4] = 0;
    vars.num[5] = 2147483647;
    vars.num[6] = -2147483647 - 1;
    vars.str[1] = S("名前");
    h.load("値は%3と%4です\n"
           "%5 %6\n"
           "$1さん　$1  !w%5@\\\n"
           "!s%3待つ!d%3\n"
           "100%%7\n");
    EXPECT_EQ(nextDisplayLine(h), "値は－４５と０です");
    EXPECT_EQ(nextDisplayLine(h), "２１４７４８３６４７－２１４７４８３６４８");
    EXPECT_EQ(nextDisplayLine(h), "名前さん　名前!w%5@\\");
    EXPECT_EQ(nextDisplayLine(h), "!s%3待つ!d%3");
    EXPECT_EQ(nextDisplayLine(h), "100－４５");
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
    EXPECT_EQ(e.vars.num[199], 0);
    EXPECT_EQ(e.vars.str[199], "");
    EXPECT_EQ(e.vars.num[200], 1);
    EXPECT_EQ(e.vars.str[200], "kept");
    EXPECT_EQ(e.vars.num[300], 0);
    EXPECT_TRUE(e.interp.gosubStack.empty());
    EXPECT_TRUE(e.interp.trapLabel.empty());
    EXPECT_FALSE(e.interp.resetRequested);
    EXPECT_FALSE(e.shell.skipMode);
}

TEST(EngineRun, DefineresetRunsEverythingAgain) {
    Harness h;
    // Aliases and bounds are cleared by each run, so defining them again is no
    // duplicate; the globals start empty again without a globals file. Only
    // the scenario timer carries over, and ends the second run.
    h.scenario("*define\nnumalias once,1\nintlimit 5,0,3\nadd %300,1\ngame\n*start\n"
               "mov %5,9\nwait 10\ngettimer %0\nパス%300と%5\nif %0 >= 20 end\ndefinereset\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(h.transcript(), "パス１と３\nパス１と３\n");
}

TEST(EngineRun, StatementLimitEndsAnEndlessLoop) {
    Harness h;
    h.scenario(std::string(kPrologue) + "*l\ngoto *l\n");
    h.engine().interp.statementLimit = 5000;
    EXPECT_EQ(h.run(), 4);
    EXPECT_GE(h.engine().interp.statementCount, 5000u);
    EXPECT_LT(h.engine().interp.statementCount, 5000u + 2048u);
}
