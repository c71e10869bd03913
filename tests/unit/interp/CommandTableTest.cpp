#include "interp/CommandTable.h"
#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

// The dispatcher's rule written as the plain ordered search.
const CommandInfo* orderedSearch(std::string_view word, BlockMode mode) {
    for (const CommandInfo& c : commandTable())
        if (c.block == BlockClass::Both && c.name == word) return &c;
    BlockClass wanted = mode == BlockMode::Definition ? BlockClass::Definition : BlockClass::Game;
    for (const CommandInfo& c : commandTable())
        if (c.block == wanted && c.name == word) return &c;
    return nullptr;
}

} // namespace

TEST(CommandTable, HashedLookupAgreesWithTheOrderedSearch) {
    std::vector<std::string> words = {"", "_", "movx", "rnd3", "if_", "zzz"};
    for (const CommandInfo& c : commandTable()) {
        EXPECT_NE(c.handler, nullptr) << c.name;
        words.emplace_back(c.name);
        words.push_back(std::string(c.name) + "x");
        words.push_back(std::string(c.name).substr(0, c.name.size() - 1));
    }
    for (const std::string& w : words) {
        for (BlockMode mode : {BlockMode::Definition, BlockMode::Game})
            EXPECT_EQ(findCommand(w, mode), orderedSearch(w, mode)) << w;
    }
}

TEST(Dispatch, CapitalsAndGotoInTheDefinitionBlock) {
    Harness h;
    EXPECT_EQ(h.run("*define\nGOTO *later\nmov %300,1\n*later\nMOV %301,2:Game\n*start\nEnd\n"), 0);
    EXPECT_EQ(h.engine().vars.num[300], 0);
    EXPECT_EQ(h.engine().vars.num[301], 2);
}

TEST(Dispatch, RepeatedStatementsAreReadAgainAfterTheScenarioChanges) {
    // The same offset holds a different command in the second scenario.
    Harness h;
    h.load("inc %0\n");
    dispatchStatement(h.engine(), BlockMode::Game);
    h.engine().script.pos = 0;
    dispatchStatement(h.engine(), BlockMode::Game);
    EXPECT_EQ(h.engine().vars.num[0], 2);
    h.load("dec %0\n");
    dispatchStatement(h.engine(), BlockMode::Game);
    EXPECT_EQ(h.engine().vars.num[0], 1);
    // A cached command still obeys the block it is run in.
    h.load("wait 0\n");
    dispatchStatement(h.engine(), BlockMode::Game);
    h.engine().script.pos = 0;
    EXPECT_EQ(h.capture([&] { dispatchStatement(h.engine(), BlockMode::Definition); }), 2);
    EXPECT_EQ(h.firstMessage(), "[構文エラー] 不正な命令\"wait\"です。");
}
