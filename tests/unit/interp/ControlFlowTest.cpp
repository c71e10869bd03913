#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

struct Game : Harness {
    explicit Game(const std::string& body, const std::string& events = "") : Harness(events) {
        scenario(std::string(kPrologue) + body);
        status = run();
    }
    int status;
};

} // namespace

TEST(Conditions, ChainsOfIfAndNotif) {
    Game g("mov %0,5\n"
           "if %0 >= 5 && %0 < 10 mov %1,1\n"
           "if %0 > 5 mov %2,1\n"
           "notif %0 = 1 && %0 = 2 mov %3,1\n"
           "notif %0 = 5 && %0 = 9 mov %4,1\n"
           "if %0 == 5 & %0 <> 4 & %0 != 6 & 5 <= %0 & 6 > %0 mov %5,1\n"
           "if %0 = 5 mov %6,1 : mov %7,1\n"
           "if %0 = 4 mov %8,1 : mov %9,1\n"
           "mov %10,1\nend\n");
    ASSERT_EQ(g.status, 0) << g.log();
    const auto& n = g.engine().vars.num;
    EXPECT_EQ(n[1], 1);
    EXPECT_EQ(n[2], 0);
    EXPECT_EQ(n[3], 1);
    EXPECT_EQ(n[4], 0);
    EXPECT_EQ(n[5], 1);
    EXPECT_EQ(n[6], 1);
    EXPECT_EQ(n[7], 1);
    EXPECT_EQ(n[8], 0);
    EXPECT_EQ(n[9], 0);
    EXPECT_EQ(n[10], 1);
}

TEST(Conditions, RestOfTheLineMayBeDisplayText) {
    Game g("mov %0,1\nif %0 = 1 見える\nif %0 = 2 隠れる\n後\nend\n");
    ASSERT_EQ(g.status, 0);
    EXPECT_EQ(g.transcript(), "見える\n後\n");
}

TEST(Conditions, FailingOnTheLastLineReachesTheEnd) {
    Game g("if 1 = 2 end");
    EXPECT_EQ(g.status, 2);
    EXPECT_EQ(g.firstMessage(), "[スクリプトエラー] ファイルの終端に達しました。");
}

TEST(Conditions, Errors) {
    struct Case {
        const char* body;
        const char* message;
    };
    for (const Case& c : {
             Case{"if %0 =< 1 end\n", "[構文エラー] 数字がくるべきところに数字がありません。"},
             Case{"if %0 ! 1 end\n", "[エラー] if条件式が間違っています。"},
             Case{"if %0 1 end\n", "[エラー] if条件式が間違っています。"},
             Case{"if foo = 1 end\n", "[エラー] if条件式が間違っています。"},
             Case{"if Fchk \"a.bmp\" end\n",
                  "[構文エラー] 数字がくるべきところに数字がありません。"},
         }) {
        Game g(c.body);
        EXPECT_EQ(g.status, 2) << c.body;
        EXPECT_EQ(g.firstMessage(), c.message) << c.body;
    }
    Harness d;
    d.scenario("*define\nif fchk \"a.bmp\" mov %0,1\ngame\n");
    EXPECT_EQ(d.run(), 2);
    EXPECT_EQ(d.firstMessage(), "[エラー] fchk条件式は、定義ブロックでは使えません。");
}

TEST(Conditions, FchkAsksTheReadFileLog) {
    Harness h;
    h.scenario(std::string(kPrologue) +
               "if fchk \"CG\\A.BMP\" mov %0,1\nif fchk \"b.bmp\" mov %1,1\n"
               "notif fchk \"b.bmp\" && %0 = 1 mov %2,1\nend\n");
    h.engine().fileLog.names.push_back("cg\\a.bmp");
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(h.engine().vars.num[0], 1);
    EXPECT_EQ(h.engine().vars.num[1], 0);
    EXPECT_EQ(h.engine().vars.num[2], 0);
}

TEST(Cmp, ComparesBytesUnsigned) {
    Game g("cmp %0,\"abc\",\"abc\"\ncmp %1,\"abc\",\"abd\"\ncmp %2,\"b\",\"abc\"\n"
           "cmp %3,\"ab\",\"abc\"\ncmp %4,\"あ\",\"z\"\ncmp %5,\"\",\"\"\nend\n");
    ASSERT_EQ(g.status, 0) << g.log();
    const auto& n = g.engine().vars.num;
    EXPECT_EQ(n[0], 0);
    EXPECT_EQ(n[1], -1);
    EXPECT_EQ(n[2], 1);
    EXPECT_EQ(n[3], -1);
    EXPECT_EQ(n[4], 1);
    EXPECT_EQ(n[5], 0);
    Game bad("cmp $0,\"a\",\"b\"\n");
    EXPECT_EQ(bad.firstMessage(), "[構文エラー] cmpの第一引数は数字変数です。");
}

TEST(Jumps, GotoToComputedLabels) {
    Game g("mov $5,\"*Target\"\ngoto $5\nmov %0,1\n*target\ngoto \"*Next\" mov %1,1\n"
           "*next\nend\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.engine().vars.num[0], 0);
    EXPECT_EQ(g.engine().vars.num[1], 0);
}

TEST(Skip, MovesByLines) {
    Game g("skip 2\nmov %0,1\nmov %1,1\nskip 0 : mov %2,1\ngoto *back\n*fwd\nend\n"
           "*back\nmov %3,1\nskip -3\nmov %4,1\n");
    ASSERT_EQ(g.status, 0) << g.log();
    const auto& n = g.engine().vars.num;
    EXPECT_EQ(n[0], 0);
    EXPECT_EQ(n[1], 1);
    EXPECT_EQ(n[2], 1);
    EXPECT_EQ(n[3], 1);
    EXPECT_EQ(n[4], 0);
}

TEST(Skip, BackwardSkipFromTheMiddleOfALine) {
    // skip -1 from within the inc line goes back to the line before it.
    Game g("mov %0,1\ninc %1 : if %1 < 3 skip -1 : mov %2,%1\nend\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.engine().vars.num[1], 3);
    EXPECT_EQ(g.engine().vars.num[2], 0);
}

TEST(Skip, LeavingTheScenarioIsAnError) {
    const char* message = "[構文エラー] SKIPがスクリプトの範囲を飛び出しました。";
    // Three line feeds follow the skip (its own, end's, the one after the file).
    Game landing("skip 3\nend\n");
    EXPECT_EQ(landing.firstMessage(), "[スクリプトエラー] ファイルの終端に達しました。");
    Game forward("skip 4\nend\n");
    EXPECT_EQ(forward.status, 2);
    EXPECT_EQ(forward.firstMessage(), message);
    Harness first;
    first.scenario("*define\ngame\n*start\nskip -3\n");
    EXPECT_EQ(first.run(), 2);
    EXPECT_EQ(first.firstMessage(), message);
    // The line before is reachable, the first line never is.
    Harness second;
    second.scenario("*define\ngame\n*start\nskip -2\n");
    EXPECT_EQ(second.run(), 2);
    EXPECT_EQ(second.firstMessage(), "[構文エラー] 不正な命令\"game\"です。");
    Game huge("skip -2147483648\n");
    EXPECT_EQ(huge.firstMessage(), message);
}

TEST(Gosub, ReturnsAfterItsArgument) {
    Game g("gosub *sub : mov %1,%0\ngosub \"*sub\"\nmov %2,%0\nend\n*sub\ninc %0\nreturn\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.engine().vars.num[0], 2);
    EXPECT_EQ(g.engine().vars.num[1], 1);
    EXPECT_EQ(g.engine().vars.num[2], 2);
    EXPECT_TRUE(g.engine().interp.gosubStack.empty());
}

TEST(Gosub, ThousandLevelsDeep) {
    Game ok("*rec\ninc %0\nif %0 < 1000 gosub *rec\nmov %1,%0\nend\n");
    EXPECT_EQ(ok.status, 0) << ok.log();
    EXPECT_EQ(ok.engine().interp.gosubStack.size(), 999u);
    Game deep("*rec\ninc %0\ngosub *rec\n");
    EXPECT_EQ(deep.status, 2);
    EXPECT_EQ(deep.firstMessage(), "[スタックエラー] gosub文のせいでスタックが溢れました。");
    EXPECT_EQ(deep.engine().vars.num[0], 1001);
    Game unmatched("return\n");
    EXPECT_EQ(unmatched.firstMessage(),
              "[スタックエラー] returnとgosub文が正しく対応していません。");
}

TEST(Trap, ClickDuringAWaitJumpsToTheLabel) {
    Game g("trap *caught\nwait 1000\nmov %0,1\nend\n*caught\nmov %1,1\nwait 1000\nmov %2,1\nend\n",
           "wait 300\nclick 10 20\n");
    ASSERT_EQ(g.status, 0) << g.log();
    const auto& n = g.engine().vars.num;
    // The wait is not cut short: the trap fires when the next statement starts.
    EXPECT_EQ(n[0], 0);
    EXPECT_EQ(n[1], 1);
    EXPECT_EQ(n[2], 1);
    EXPECT_TRUE(g.engine().interp.trapLabel.empty());
    EXPECT_FALSE(g.engine().shell.clickFlag);
}

TEST(Trap, SpaceKeyFiresItThroughTheClickFlag) {
    Game g("trap *caught\nwait 500\nwait 10\nmov %0,1\nend\n*caught\nmov %1,1\nend\n",
           "wait 100\nkey space\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.engine().vars.num[0], 0);
    EXPECT_EQ(g.engine().vars.num[1], 1);
}

TEST(Trap, ArmingDropsEarlierClicksAndOffDisarms) {
    Harness h;
    h.scenario(
        std::string(kPrologue) +
        "trap *caught\nmov %0,1\ntrap off\ntrap OFF\nwait 10\nend\n*caught\nmov %1,1\nend\n");
    h.platform().postEvent({EventKind::LButtonUp, 0, 0, 0});
    h.platform().postEvent({EventKind::Char, 0, 0, 'a'});
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(h.engine().vars.num[0], 1);
    EXPECT_EQ(h.engine().vars.num[1], 0);
    Game bad("trap start\n");
    EXPECT_EQ(bad.firstMessage(), "[エラー] trap命令のパラメータは、offもしくは*ラベル名です。");
    Game open("trap open\n");
    EXPECT_EQ(open.status, 2);
}

TEST(EndAndMesbox, EndStopsAtOnceAndMesboxShowsABox) {
    Game g("mesbox \"本文\",\"題\"\nend\nmov %0,1\n");
    EXPECT_EQ(g.status, 0);
    EXPECT_EQ(g.log(), "[題] 本文\n");
    EXPECT_EQ(g.engine().vars.num[0], 0);
    EXPECT_TRUE(g.engine().shell.shuttingDown);
}
