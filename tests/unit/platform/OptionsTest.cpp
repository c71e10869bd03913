#include "app/Options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <tuple>
#include <vector>

namespace orv {
namespace {

CommandLine parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"orvane"};
    argv.insert(argv.end(), args);
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
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.eventsFile, "ev.txt");
    EXPECT_TRUE(o.autoClick);
    EXPECT_EQ(o.transcriptFile, "-");
    EXPECT_EQ(std::filesystem::path(o.screenshotFile), std::filesystem::absolute("out.png"));
    ASSERT_TRUE(o.maxTimeMs);
    EXPECT_EQ(*o.maxTimeMs, 60000u);
    EXPECT_EQ(o.gameDir, "games/demo");
}

TEST(Options, WindowRunOptions) {
    CommandLine c = parse({"--scale", "3", "--fullscreen", "--pack-scenario", "src", "--", "-odd"});
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(c.options.scale, 3);
    EXPECT_TRUE(c.options.fullscreen);
    EXPECT_EQ(c.options.packScenario, "src");
    EXPECT_EQ(c.options.gameDir, "-odd");
    EXPECT_EQ(parse({"--scale=8"}).options.scale, 8);
}

TEST(Options, HelpAndVersion) {
    CommandLine h = parse({"--help"});
    ASSERT_TRUE(h.ok());
    EXPECT_TRUE(h.options.help);
    EXPECT_TRUE(parse({"-h"}).options.help);
    // Help wins over combinations that would otherwise be refused.
    EXPECT_TRUE(parse({"--events", "x", "--help"}).ok());
    CommandLine v = parse({"--version"});
    ASSERT_TRUE(v.ok());
    EXPECT_TRUE(v.options.version);
    EXPECT_EQ(versionText(), std::string("orvane ") + ORVANE_VERSION + "\n");

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

TEST(Options, BadValuesAreUsageErrors) {
    for (auto args : std::vector<std::vector<const char*>>{
             {"--bogus"},
             {"-x"},
             {"--headless", "--max-time"},
             {"--headless", "--max-time", "-5"},
             {"--headless", "--max-time", "10ms"},
             {"--headless", "--max-time="},
             {"--scale", "0"},
             {"--scale", "9"},
             {"--scale", "2.5"},
             {"--scale", "x"},
             {"--events"},
             {"--headless", "--events", ""},
             {"--transcript"},
             {"--screenshot"},
             {"--pack-scenario"},
             {"--headless=yes"},
             {"game1", "game2"},
             {""},
         }) {
        std::vector<const char*> argv{"orvane"};
        argv.insert(argv.end(), args.begin(), args.end());
        CommandLine c = parseCommandLine(int(argv.size()), argv.data());
        EXPECT_FALSE(c.ok()) << (args.empty() ? "" : args[0]);
    }
    EXPECT_EQ(parse({"--bogus"}).error, "unknown option '--bogus'");
}

TEST(Options, BackendSpecificOptionsNeedTheirBackend) {
    EXPECT_EQ(parse({"--max-time", "10"}).error, "--max-time needs --headless");
    EXPECT_EQ(parse({"--events", "e.txt"}).error, "--events needs --headless");
    EXPECT_EQ(parse({"--auto-click"}).error, "--auto-click needs --headless");
    EXPECT_FALSE(parse({"--headless", "--scale", "2"}).ok());
    EXPECT_FALSE(parse({"--headless", "--fullscreen"}).ok());
    // Order does not matter.
    EXPECT_TRUE(parse({"--max-time", "10", "--headless"}).ok());
    EXPECT_TRUE(parse({"--transcript", "t.txt", "--screenshot", "s.png"}).ok());
}

} // namespace
} // namespace orv
