// Conditions, jumps, gosub and trap, run as scenarios; their errors are rows
// of ScenarioErrorTest.cpp.
#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

struct Game : Harness {
    // prepare acts on the engine before the run.
    explicit Game(const std::string& body, const std::string& events = "",
                  const std::function<void(Game&)>& prepare = {})
        : Harness(events) {
        scenario(std::string(kPrologue) + body);
        if (prepare) prepare(*this);
        status = run();
    }
    // %first .. %(first + n - 1).
    std::vector<int32_t> nums(int first, int n) {
        const auto& num = engine().vars.num;
        return std::vector<int32_t>(num.begin() + first, num.begin() + first + n);
    }
    int status;
};

using Nums = std::vector<int32_t>;

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
    EXPECT_EQ(g.nums(1, 10), (Nums{1, 0, 1, 0, 1, 1, 1, 0, 0, 1}));
}

TEST(Conditions, FchkAsksTheReadFileLog) {
    Game g("if fchk \"CG\\A.BMP\" mov %0,1\nif fchk \"b.bmp\" mov %1,1\n"
           "notif fchk \"b.bmp\" && %0 = 1 mov %2,1\nend\n",
           "", [](Game& g) { g.engine().persist.fileLog.add("cg\\a.bmp"); });
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 3), (Nums{1, 0, 0}));
}

TEST(Cmp, ComparesBytesUnsigned) {
    Game g("cmp %0,\"abc\",\"abc\"\ncmp %1,\"abc\",\"abd\"\ncmp %2,\"b\",\"abc\"\n"
           "cmp %3,\"ab\",\"abc\"\ncmp %4,\"あ\",\"z\"\ncmp %5,\"\",\"\"\nend\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 6), (Nums{0, -1, 1, -1, 1, 0}));
}

TEST(Skip, MovesByLines) {
    Game g("skip 2\nmov %0,1\nmov %1,1\nskip 0 : mov %2,1\ngoto *back\n*fwd\nend\n"
           "*back\nmov %3,1\nskip -3\nmov %4,1\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 5), (Nums{0, 1, 1, 1, 0}));
}

TEST(Skip, BackwardSkipFromTheMiddleOfALine) {
    // skip -1 from within the inc line goes back to the line before it.
    Game g("mov %0,1\ninc %1 : if %1 < 3 skip -1 : mov %2,%1\nend\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(1, 2), (Nums{3, 0}));
}

TEST(Gosub, ReturnsAfterItsArgument) {
    Game g("gosub *sub : mov %1,%0\ngosub \"*sub\"\nmov %2,%0\nend\n*sub\ninc %0\nreturn\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 3), (Nums{2, 1, 2}));
    EXPECT_TRUE(g.engine().interp.gosubStack.empty());
}

TEST(Gosub, ThousandLevelsDeep) {
    Game ok("*rec\ninc %0\nif %0 < 1000 gosub *rec\nmov %1,%0\nend\n");
    EXPECT_EQ(ok.status, 0) << ok.log();
    EXPECT_EQ(ok.engine().interp.gosubStack.size(), 999u);
    Game deep("*rec\ninc %0\ngosub *rec\n");
    EXPECT_EQ(deep.status, 2);
    EXPECT_EQ(deep.engine().vars.num[0], 1001);
}

TEST(Trap, ClickDuringAWaitJumpsToTheLabel) {
    Game g("trap *caught\nwait 1000\nmov %0,1\nend\n*caught\nmov %1,1\nwait 1000\nmov %2,1\nend\n",
           "wait 300\nclick 10 20\n");
    ASSERT_EQ(g.status, 0) << g.log();
    // The wait is not cut short: the trap fires when the next statement starts.
    EXPECT_EQ(g.nums(0, 3), (Nums{0, 1, 1}));
    EXPECT_TRUE(g.engine().interp.trapLabel.empty());
    EXPECT_FALSE(g.engine().shell.clickFlag);
}

TEST(Trap, SpaceKeyFiresItThroughTheClickFlag) {
    Game g("trap *caught\nwait 500\nwait 10\nmov %0,1\nend\n*caught\nmov %1,1\nend\n",
           "wait 100\nkey space\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 2), (Nums{0, 1}));
}

TEST(Trap, ArmingDropsEarlierClicksAndOffDisarms) {
    // A click waiting before the run, and one during the wait after trap off.
    Game g("trap *caught\nmov %0,1\ntrap off\ntrap OFF\nwait 10\nend\n*caught\nmov %1,1\nend\n",
           "wait 5\nclick\n", [](Game& g) {
               g.platform().postEvent({EventKind::LButtonUp, 0, 0, 0});
               g.platform().postEvent({EventKind::Char, 0, 0, 'a'});
           });
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 2), (Nums{1, 0}));
}
