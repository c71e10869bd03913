// The generator, the list of bounded variables, the cap on a string's growth and the registry
// stand-in; what scenarios compute with variables is the folders core-variables, core-random and
// core-getini-sections.
#include "interp/Variables.h"
#include "EngineHarness.h"
#include "interp/Random.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;

namespace {

// Runs a game block (followed by end); the exit status.
int runGame(Harness& h, const std::string& body, const std::string& define = "") {
    return h.run("*define\n" + define + "game\n*start\n" + body + "\nend\n");
}

} // namespace

TEST(Random, IsTheClassicRuntimeGenerator) {
    Random r;
    r.seed(1);
    std::vector<int32_t> drawn;
    for (int i = 0; i < 5; ++i) drawn.push_back(r.next());
    EXPECT_EQ(drawn, (std::vector<int32_t>{41, 18467, 6334, 26500, 19169}));
}

TEST(Bounds, OnlyVariablesGivenALimitAreListed) {
    Harness h;
    ASSERT_EQ(runGame(h, "mov %7,1000", "intlimit 5,0,10\nintlimit 6,0,10\n"), 0) << h.log();
    EXPECT_EQ(h.engine().vars.boundedVariables(), (std::vector<int32_t>{5, 6}));
}

TEST(Strings, RunawayGrowthIsStopped) {
    Harness h;
    EXPECT_EQ(runGame(h, "mov $0,\"abcdefgh\"\n*l\nadd $0,$0\ngoto *l"), 2);
    EXPECT_EQ(h.engine().vars.str[0].size(), size_t(1) << 20);
}

TEST(Getreg, ReadsTheRegistryStandIn) {
    Harness h;
    h.file("registry.ini", "[Software\\Maker\\Game]\nInstallDir=C:\\Games\\x\nLong=" +
                               std::string(255, 'a') + "\nTooLong=" + std::string(256, 'b') + "\n");
    ASSERT_EQ(runGame(h, "mov $3,\"old\"\n"
                         "getreg $0,\"software\\maker\\game\",\"installdir\"\n"
                         "getreg $1,\"Software\\Maker\\Game\",\"Long\"\n"
                         "getreg $2,\"Software\\Maker\\Game\",\"TooLong\"\n"
                         "getreg $3,\"Software\\Nobody\",\"InstallDir\""),
              0)
        << h.log();
    // A value that does not fit the 256-byte buffer cannot be read.
    const auto& str = h.engine().vars.str;
    EXPECT_EQ((std::vector{str[0], str[1], str[2], str[3]}),
              (std::vector<std::string>{"C:\\Games\\x", std::string(255, 'a'), "", ""}));
}
