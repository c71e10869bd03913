#include "interp/Variables.h"
#include "EngineHarness.h"
#include "interp/Random.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

// Runs a game block (followed by end) and expects it to end normally.
struct Game : Harness {
    explicit Game(const std::string& body, const std::string& define = "") {
        scenario("*define\n" + define + "game\n*start\n" + body + "\nend\n");
        status = run();
    }
    int32_t num(int i) { return engine().vars.num[size_t(i)]; }
    // %first .. %(first + n - 1).
    std::vector<int32_t> nums(int first, int n) {
        const auto& all = engine().vars.num;
        return std::vector<int32_t>(all.begin() + first, all.begin() + first + n);
    }
    std::string str(int i) { return sjis::toUtf8(engine().vars.str[size_t(i)]); }
    int status;
};

} // namespace

TEST(Random, IsTheClassicRuntimeGenerator) {
    Random r;
    r.seed(1);
    EXPECT_EQ(r.next(), 41);
    EXPECT_EQ(r.next(), 18467);
    EXPECT_EQ(r.next(), 6334);
    EXPECT_EQ(r.next(), 26500);
    EXPECT_EQ(r.next(), 19169);
}

TEST(Arithmetic, WrapsAndRoundsTowardZero) {
    Game g("mov %0,2147483647:add %0,1\n"
           "mov %1,-7:div %1,2\n"
           "mov %2,-7:mod %2,2\n"
           "mov %3,7:mod %3,-2\n"
           "mov %4,-2147483648:div %4,-1\n"
           "mov %5,-2147483648:mod %5,-1\n"
           "mov %6,65536:mul %6,65537\n"
           "mov %7,10:sub %7,25:inc %8:dec %9:dec %9\n"
           "mov %10,11:mov %%10,5");
    ASSERT_EQ(g.status, 0) << g.log();
    const int32_t min = int32_t(0x80000000u);
    EXPECT_EQ(g.nums(0, 12),
              (std::vector<int32_t>{min, -3, -1, 1, min, 0, 65536, -15, 1, -2, 11, 5}));
}

TEST(Arithmetic, StringsAssignAndAppend) {
    Game g("mov $0,\"あい\":add $0,\"う\":add $0,$0\nmov $1,\"x\":mov $1,\"\"\nlen %0,$0\n"
           "mov $2,$0");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.str(0), "あいうあいう");
    EXPECT_EQ(g.str(1), "");
    EXPECT_EQ(g.num(0), 12);
    EXPECT_EQ(g.str(2), "あいうあいう");
}

TEST(Bounds, IntlimitClampsOnlyBoundedVariables) {
    Game g("mov %5,20:mov %0,%5\nmov %6,-3:mov %1,%6\nmov %7,1000",
           "intlimit 5,0,10\nintlimit 6,0,10\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 2), (std::vector<int32_t>{10, 0}));
    EXPECT_EQ(g.num(7), 1000);
    EXPECT_EQ(g.engine().vars.boundedVariables(), (std::vector<int32_t>{5, 6}));
}

TEST(Bounds, LenAndCmpStoreUnboundedUntilTheNextStore) {
    Game g("len %5,\"12345678901234567890\":mov %0,%5\ninc %1:mov %2,%5\n"
           "cmp %6,\"b\",\"a\":mov %3,%6:inc %1:mov %4,%6",
           "intlimit 5,0,10\nintlimit 6,-5,-2\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 5), (std::vector<int32_t>{20, 2, 10, 1, -2}));
}

TEST(Bounds, LowerBoundWinsOverAnInvertedRangeAndMinusOneUnbounds) {
    Game g("mov %5,50:mov %6,50", "intlimit 5,20,10\nintlimit 6,0,10\nintlimit 6,0,-1\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.num(5), 20);
    EXPECT_EQ(g.num(6), 50);
}

TEST(Random, RndAndRnd2StayInRange) {
    std::string body;
    for (int i = 0; i < 100; ++i)
        body += "rnd %" + std::to_string(i) + ",6:rnd2 %" + std::to_string(100 + i) +
                ",-3,3:rnd %" + std::to_string(300 + i) + ",1:rnd2 %" + std::to_string(400 + i) +
                ",10,5\n";
    Game g(body);
    ASSERT_EQ(g.status, 0) << g.log();
    std::set<int32_t> seen;
    for (int i = 0; i < 100; ++i) {
        EXPECT_GE(g.num(i), 0);
        EXPECT_LT(g.num(i), 6);
        EXPECT_GE(g.num(100 + i), -3);
        EXPECT_LE(g.num(100 + i), 3);
        EXPECT_EQ(g.num(300 + i), 0);
        // b - a + 1 = -4: the remainder keeps the sign of the generator's value.
        EXPECT_GE(g.num(400 + i), 10);
        EXPECT_LE(g.num(400 + i), 13);
        seen.insert(g.num(i));
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(Random, SeededFromTheClockAtEachRun) {
    // The virtual clock starts at 0: the sequence of seed 0.
    Game g("rnd %0,32768:rnd %1,32768");
    Random r;
    r.seed(0);
    EXPECT_EQ(g.num(0), r.next());
    EXPECT_EQ(g.num(1), r.next());
}

TEST(Aliases, DefinedInTheDefinitionBlockAndCaseInsensitive) {
    Game g("mov %0,Max:mov %1,%idx:mov $0,Greeting",
           "numalias max,10\nnumalias IDX,max\nstralias greeting,\"やあ\"\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.num(0), 10);
    EXPECT_EQ(g.num(1), 0);
    EXPECT_EQ(g.str(0), "やあ");
}

TEST(Aliases, SharedNamesAndAFullTable) {
    // A numeric and a string alias may share a name.
    Game both("mov %0,x:mov $0,x", "numalias x,4\nstralias x,\"four\"\n");
    EXPECT_EQ(both.status, 0);
    EXPECT_EQ(both.num(0), 4);
    EXPECT_EQ(both.str(0), "four");

    // A full table still works (the 4097th is refused: see ScenarioErrorTest).
    std::string many;
    for (int i = 0; i < 4096; ++i) many += "numalias n" + std::to_string(i) + ",1\n";
    Game full("mov %0,n4095", many);
    EXPECT_EQ(full.status, 0) << full.firstMessage();
    EXPECT_EQ(full.num(0), 1);
}

TEST(Strings, RunawayGrowthIsStopped) {
    Game g("mov $0,\"abcdefgh\"\n*l\nadd $0,$0\ngoto *l");
    EXPECT_EQ(g.status, 2);
    EXPECT_EQ(g.engine().vars.str[0].size(), size_t(1) << 20);
}

TEST(Getini, ReadsProfileFilesFromTheGameFolder) {
    Harness h;
    h.file("Setup.INI", "[Game]\nName = \x82\xa0 \nEmpty=\n[Other]\nName=2\n");
    h.file("sub/deep.ini", "[s]\nk=v\n");
    h.scenario(std::string(kPrologue) + "mov $9,\"old\"\n"
                                        "getini $0,\"setup.ini\",\"game\",\"name\"\n"
                                        "getini $1,\"setup.ini\",\"other\",\"NAME\"\n"
                                        "getini $2,\"setup.ini\",\"game\",\"missing\"\n"
                                        "getini $9,\"absent.ini\",\"game\",\"name\"\n"
                                        "getini $3,\"sub\\deep.ini\",\"s\",\"k\"\nend\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(h.engine().vars.str[0], "\x82\xa0");
    EXPECT_EQ(h.engine().vars.str[1], "2");
    EXPECT_EQ(h.engine().vars.str[2], "");
    EXPECT_EQ(h.engine().vars.str[9], "");
    EXPECT_EQ(h.engine().vars.str[3], "v");
}

TEST(Getreg, ReadsTheRegistryStandIn) {
    Harness h;
    {
        std::ofstream out(h.dir() / "registry.ini");
        out << "[Software\\Maker\\Game]\nInstallDir=C:\\Games\\x\nLong=" << std::string(255, 'a')
            << "\nTooLong=" << std::string(256, 'b') << "\n";
    }
    h.scenario(std::string(kPrologue) + "mov $3,\"old\"\n"
                                        "getreg $0,\"software\\maker\\game\",\"installdir\"\n"
                                        "getreg $1,\"Software\\Maker\\Game\",\"Long\"\n"
                                        "getreg $2,\"Software\\Maker\\Game\",\"TooLong\"\n"
                                        "getreg $3,\"Software\\Nobody\",\"InstallDir\"\nend\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(h.engine().vars.str[0], "C:\\Games\\x");
    EXPECT_EQ(h.engine().vars.str[1], std::string(255, 'a'));
    // A value that does not fit the 256-byte buffer cannot be read.
    EXPECT_EQ(h.engine().vars.str[2], "");
    EXPECT_EQ(h.engine().vars.str[3], "");
}
