#include "script/LabelTable.h"
#include "EngineHarness.h"

#include <gtest/gtest.h>

#include <random>

using namespace orv;
using orv::test::Harness;

namespace {

// Builds the table over text; returns the exit status (-1 when it succeeded).
int build(Harness& h, const std::string& text) {
    h.load(text);
    return h.capture([&] { buildLabelTable(h.engine()); });
}

int32_t positionOf(Harness& h, const std::string& name) {
    auto pos = h.engine().script.labels.find(name);
    return pos ? *pos : -100;
}

} // namespace

TEST(LabelTable, RecordsWhereExecutionContinues) {
    Harness h;
    const std::string text = "*define\ngame\n  *Start  \ntext *notlabel\n"
                             "mov %0,1 *nolabel\n\t*tail ;comment\n*end";
    ASSERT_EQ(build(h, text), -1);
    const LabelTable& labels = h.engine().script.labels;
    // The start of the next line, or the first thing after the name on its line.
    std::vector<std::pair<std::string, int32_t>> found;
    for (const auto& e : labels.entries()) found.emplace_back(e.name, e.position);
    EXPECT_EQ(found, (std::vector<std::pair<std::string, int32_t>>{
                         {"define", int32_t(text.find("game"))},
                         {"start", int32_t(text.find("text"))},
                         {"tail", int32_t(text.find(";comment"))},
                         {"end", int32_t(text.size())}}));
    EXPECT_EQ(positionOf(h, "tail"), int32_t(text.find(";comment")));
    // The scan leaves the position at the end of the scenario.
    EXPECT_EQ(h.engine().script.pos, int32_t(text.size()));
}

TEST(LabelTable, NameStartingWithADigitIsEmpty) {
    Harness h;
    ASSERT_EQ(build(h, "*5abc\nx\n"), -1);
    ASSERT_EQ(h.engine().script.labels.size(), 1u);
    EXPECT_EQ(h.engine().script.labels.entries()[0].name, "");
    EXPECT_EQ(positionOf(h, ""), 1);
}

TEST(LabelTable, HashedLookupAgreesWithTheOrderedSearch) {
    std::mt19937 rng(7);
    std::string text;
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        std::string name;
        int length = 1 + int(rng() % 6);
        for (int j = 0; j < length; ++j) name += "abcxyz_19"[rng() % 9];
        if (name[0] >= '0' && name[0] <= '9') name[0] = 'q';
        if (std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(name);
        text += "*" + name + "\n;" + std::to_string(i) + "\n";
    }
    Harness h;
    ASSERT_EQ(build(h, text), -1);
    const auto& entries = h.engine().script.labels.entries();
    auto ordered = [&](const std::string& name) -> int32_t {
        for (const auto& e : entries)
            if (e.name == name) return e.position;
        return -100;
    };
    for (const std::string& name : names) EXPECT_EQ(positionOf(h, name), ordered(name));
    for (const char* missing : {"nothere", "abcxyz_19abc", "", "Q"})
        EXPECT_EQ(positionOf(h, missing), ordered(missing));
}

TEST(JumpToLabel, FoldsTheNameAndReportsAnUnknownOneAsWritten) {
    Harness h;
    ASSERT_EQ(build(h, "*define\ngame\n*start\nx\n"), -1);
    h.engine().script.pos = 0;
    jumpToLabel(h.engine(), "StArT");
    EXPECT_EQ(h.engine().script.pos, 20);
    EXPECT_EQ(h.capture([&] { jumpToLabel(h.engine(), "Missing"); }), 2);
    EXPECT_EQ(h.firstMessage(), "[ラベルエラー] ラベル*Missingは存在しません");
}
