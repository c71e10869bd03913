// --max-steps: a positive statement count, for headless runs only.
#include "app/Options.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace orv {
namespace {

TEST(MaxStepsOption, ReadAsAPositiveCountForHeadlessRunsOnly) {
    struct Case {
        std::vector<const char*> args;
        std::optional<uint64_t> steps; // nullopt: refused
    };
    const Case cases[] = {
        {{"--headless", "--max-steps", "5000"}, 5000},
        {{"--headless", "--max-steps=18446744073709551615"}, UINT64_MAX},
        {{"--headless", "--max-steps", "0"}, std::nullopt},
        {{"--headless", "--max-steps", "-3"}, std::nullopt},
        {{"--headless", "--max-steps", "1e6"}, std::nullopt},
        {{"--max-steps", "5000"}, std::nullopt}, // a window runs until the player ends it
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"orvane"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine line = parseCommandLine(int(argv.size()), argv.data());
        EXPECT_EQ(line.ok(), c.steps.has_value()) << c.args.back() << ": " << line.error;
        if (c.steps) {
            EXPECT_EQ(line.options.maxSteps, c.steps);
        }
    }
}

} // namespace
} // namespace orv
