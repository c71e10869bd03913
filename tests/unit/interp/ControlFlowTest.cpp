// The depth of the gosub stack and the clicks a trap finds waiting when it is armed; conditions,
// jumps and a trap firing are the scenario folders core-control-flow and core-trap-fires, the
// errors rows of ScenarioErrorTest.cpp.
#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

TEST(Gosub, ThousandLevelsDeep) {
    Harness ok;
    EXPECT_EQ(ok.run(std::string(kPrologue) + "*rec\ninc %0\nif %0 < 1000 gosub *rec\nend\n"), 0)
        << ok.log();
    EXPECT_EQ(ok.engine().interp.gosubStack.size(), 999u);
    Harness deep;
    EXPECT_EQ(deep.run(std::string(kPrologue) + "*rec\ninc %0\ngosub *rec\n"), 2);
    EXPECT_EQ(deep.engine().vars.num[0], 1001);
}

TEST(Trap, ArmingDropsEarlierClicksAndOffDisarms) {
    // A click waiting before the run, and one during the wait after trap off.
    Harness h("wait 5\nclick\n");
    h.scenario(std::string(kPrologue) + "trap *caught\nmov %0,1\ntrap off\ntrap OFF\nwait 10\n"
                                        "end\n*caught\nmov %1,1\nend\n");
    h.platform().postEvent({EventKind::LButtonUp, 0, 0, 0});
    h.platform().postEvent({EventKind::Char, 0, 0, 'a'});
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ((std::vector{h.engine().vars.num[0], h.engine().vars.num[1]}), (std::vector{1, 0}));
}
