// The argument kinds beside the command table: each row belongs to a command of the table, and a
// list's repeating group repeats.
#include "interp/CommandArgs.h"
#include "interp/CommandTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace orv {
namespace {

TEST(CommandArgs, EveryRowIsACommandOfTheTableWithKnownKinds) {
    const std::string kinds = "-LPSVAC|";
    for (const CommandArgs& row : commandArgsTable()) {
        const auto table = commandTable();
        EXPECT_TRUE(std::any_of(table.begin(), table.end(), [&](const CommandInfo& c) {
            return c.name == row.name;
        })) << row.name;
        for (char k : row.kinds) EXPECT_NE(kinds.find(k), std::string::npos) << row.name;
    }
}

TEST(CommandArgs, KindsByPositionAndRepeatingGroups) {
    const CommandArgs* select = commandArgs("select");
    ASSERT_NE(select, nullptr);
    std::string seen;
    for (size_t i = 0; i < 6; ++i) seen += char(argKind(select, i));
    EXPECT_EQ(seen, "-L-L-L");
    const CommandArgs* bg = commandArgs("bg");
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(argKind(bg, 0), ArgKind::Picture);
    EXPECT_EQ(argKind(bg, 1), ArgKind::Other);
    EXPECT_EQ(argKind(bg, 3), ArgKind::Picture);
    EXPECT_EQ(argKind(bg, 9), ArgKind::Other);
    EXPECT_EQ(commandArgs("mov"), nullptr);
    EXPECT_EQ(argKind(nullptr, 0), ArgKind::Other);
}

} // namespace
} // namespace orv
