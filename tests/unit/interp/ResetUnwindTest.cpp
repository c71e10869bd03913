// The reset to the start as an unwind: a request seen at a statement or in a wait for the player
// ends up in the statement loop, which resets once and goes on at *start.
#include "EngineHarness.h"
#include "script/LabelTable.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;

TEST(ResetUnwind, PendingResetDropsTheStatementAndGoesToStart) {
    Harness h;
    h.load("mov %0,5\nmov %1,6\n*start\nmov %2,7\nend\n");
    buildLabelTable(h.engine());
    Engine& e = h.engine();
    e.vars.num[0] = 1;
    e.vars.num[250] = 9;
    e.interp.resetRequested = true;
    e.script.pos = 9; // the second mov
    EXPECT_EQ(h.capture([&] { runStatements(e, BlockMode::Game); }), 0);
    EXPECT_FALSE(e.interp.resetRequested);
    // The local cleared, the dropped statement never run, *start run, the global kept.
    EXPECT_EQ((std::vector{e.vars.num[0], e.vars.num[1], e.vars.num[2], e.vars.num[250]}),
              (std::vector{0, 0, 7, 9}));
}
