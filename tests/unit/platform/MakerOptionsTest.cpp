// The command line of --check and --explore: what each takes, and the combinations refused.
#include "app/Options.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace orv {
namespace {

CommandLine parseArgs(const std::vector<const char*>& args) {
    std::vector<const char*> argv{"orvane"};
    argv.insert(argv.end(), args.begin(), args.end());
    return parseCommandLine(int(argv.size()), argv.data());
}

TEST(MakerOptions, CheckAndExploreTakeTheirValues) {
    CommandLine check = parseArgs({"--check", "--json", "game"});
    ASSERT_TRUE(check.ok()) << check.error;
    EXPECT_EQ(std::tuple(check.options.check, check.options.json, check.options.gameDir),
              std::tuple(true, true, "game"));
    CommandLine explore =
        parseArgs({"--headless", "--explore", "200", "--seed=9", "-j", "2", "game"});
    ASSERT_TRUE(explore.ok()) << explore.error;
    EXPECT_EQ(std::tuple(explore.options.explore, explore.options.seed, explore.options.jobs),
              std::tuple(std::optional<uint64_t>(200), std::optional<uint64_t>(9),
                         std::optional<uint64_t>(2)));
}

TEST(MakerOptions, CombinationsWithoutMeaningAreRefused) {
    const std::vector<std::vector<const char*>> refused = {
        {"--json"},
        {"--check", "--headless"},
        {"--explore", "5"},
        {"--headless", "--explore", "0"},
        {"--headless", "--explore", "x"},
        {"--headless", "--seed", "3"},
        {"--headless", "-j", "2"},
        {"--headless", "--explore", "5", "-j", "0"},
        {"--headless", "--explore", "5", "--auto-click"},
        {"--headless", "--explore", "5", "--save-dir", "d"},
    };
    for (const auto& args : refused) EXPECT_FALSE(parseArgs(args).ok()) << args[0];
}

} // namespace
} // namespace orv
