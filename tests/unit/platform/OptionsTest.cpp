#include "app/Options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <vector>

namespace orv {
namespace {

CommandLine parse(const std::vector<const char*>& args) {
    std::vector<const char*> argv{"orvane"};
    argv.insert(argv.end(), args.begin(), args.end());
    return parseCommandLine(int(argv.size()), argv.data());
}

TEST(Options, DefaultsWithNoArguments) {
    CommandLine c = parse({});
    ASSERT_TRUE(c.ok()) << c.error;
    const Options& o = c.options;
    EXPECT_EQ(o.gameDir, ".");
    EXPECT_EQ(std::tuple(o.headless, o.autoClick, o.maxTimeMs.has_value(), o.scale, o.fullscreen),
              std::tuple(false, false, false, 1, false));
    EXPECT_EQ(o.eventsFile + o.transcriptFile + o.screenshotFile + o.packScenario, "");
}

TEST(Options, HeadlessRunWithEveryHeadlessOption) {
    CommandLine c = parse({"--headless", "--events", "ev.txt", "--auto-click", "--transcript", "-",
                           "--screenshot=out.png", "--max-time", "60000", "games/demo"});
    ASSERT_TRUE(c.ok()) << c.error;
    const Options& o = c.options;
    EXPECT_EQ(
        std::tuple(o.headless, o.eventsFile, o.autoClick, o.transcriptFile, o.maxTimeMs, o.gameDir),
        std::tuple(true, "ev.txt", true, "-", std::optional<uint64_t>(60000), "games/demo"));
    EXPECT_EQ(std::filesystem::path(o.screenshotFile), std::filesystem::absolute("out.png"));
}

TEST(Options, WindowRunOptions) {
    CommandLine c = parse({"--scale", "3", "--fullscreen", "--pack-scenario", "src", "--", "-odd"});
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(std::tuple(c.options.scale, c.options.fullscreen, c.options.packScenario,
                         c.options.gameDir),
              std::tuple(3, true, "src", "-odd"));
    EXPECT_EQ(parse({"--scale=8"}).options.scale, 8);
}

TEST(Options, HelpAndVersion) {
    // Help wins over combinations that would otherwise be refused.
    for (const CommandLine& h :
         {parse({"--help"}), parse({"-h"}), parse({"--events", "x", "--help"})})
        EXPECT_TRUE(h.ok() && h.options.help);
    const CommandLine v = parse({"--version"});
    EXPECT_TRUE(v.ok() && v.options.version);
    EXPECT_EQ(versionText().rfind(std::string("orvane ") + ORVANE_VERSION + "\n", 0), 0u);

    std::string help = helpText();
    // Every option, every event and every exit status is explained (";" separates the words).
    std::string words = "--headless;--events;--auto-click;--transcript;--screenshot;--max-time;"
                        "--scale;--fullscreen;--pack-scenario;--help;--version;click [X Y];rclick;"
                        "move X Y;key space|enter|escape|CHAR;menu ID;text;answer yes|no|ok;"
                        "wait MS;shot FILE;0  the game ended;1  usage;2  a scenario error;"
                        "3  headless;4  headless;";
    for (size_t at = 0, end; (end = words.find(';', at)) != std::string::npos; at = end + 1)
        EXPECT_NE(help.find(words.substr(at, end - at)), std::string::npos)
            << words.substr(at, end - at);
    std::string err = usageErrorText("unknown option '--x'");
    EXPECT_EQ(err.rfind("orvane: unknown option '--x'\n", 0), 0u);
    EXPECT_NE(err.find("--help"), std::string::npos);
}

// The refused command lines and their messages are tests/scenarios/options-refused; empty
// arguments cannot be written there.
TEST(Options, EmptyArgumentsAreUsageErrors) {
    EXPECT_FALSE(parse({""}).ok());
    EXPECT_FALSE(parse({"--headless", "--events", ""}).ok());
    // Order does not matter.
    EXPECT_TRUE(parse({"--max-time", "10", "--headless"}).ok());
    EXPECT_TRUE(parse({"--transcript", "t.txt", "--screenshot", "s.png"}).ok());
}

// A window runs until the player ends it: --max-steps is for headless runs only.
TEST(Options, MaxStepsIsAPositiveCountForHeadlessRunsOnly) {
    const std::pair<std::vector<const char*>, std::optional<uint64_t>> cases[] = {
        {{"--headless", "--max-steps", "5000"}, 5000},
        {{"--headless", "--max-steps=18446744073709551615"}, UINT64_MAX},
        {{"--headless", "--max-steps", "0"}, std::nullopt},
        {{"--headless", "--max-steps", "-3"}, std::nullopt},
        {{"--headless", "--max-steps", "1e6"}, std::nullopt},
        {{"--max-steps", "5000"}, std::nullopt},
    };
    for (const auto& [args, steps] : cases) {
        const CommandLine line = parse(args);
        EXPECT_EQ(line.ok(), steps.has_value()) << args.back() << ": " << line.error;
        if (steps) {
            EXPECT_EQ(line.options.maxSteps, steps);
        }
    }
}

} // namespace
} // namespace orv
