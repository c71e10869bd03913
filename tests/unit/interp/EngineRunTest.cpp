#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

// The line handed to the text window, as assembled from the scenario.
std::string nextDisplayLine(Harness& h) {
    std::string line = assembleDisplayLine(h.engine());
    ++h.engine().script.pos; // the line feed
    return sjis::toUtf8(line);
}

} // namespace

// How display lines show variables is the scenario folder core-display-lines; a number after a
// wait or speed mark is the mark's own.
TEST(StatementLoop, DisplayLinesLeaveTheArgumentsOfMarksAlone) {
    Harness h;
    h.engine().vars.num[3] = -45;
    h.load("!s%3待つ!d%3!w%3@\\\n");
    EXPECT_EQ(nextDisplayLine(h), "!s%3待つ!d%3!w%3@\\");
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
