#include "interp/Variables.h"
#include "EngineHarness.h"
#include "interp/Random.h"

#include <gtest/gtest.h>

#include <set>

using namespace orv;
using orv::test::Harness;

namespace {

// Runs a game block (followed by end) and expects it to end normally.
struct Game : Harness {
    // prepare writes game files before the run.
    explicit Game(const std::string& body, const std::string& define = "",
                  const std::function<void(Game&)>& prepare = {}) {
        scenario("*define\n" + define + "game\n*start\n" + body + "\nend\n");
        if (prepare) prepare(*this);
        status = run();
    }
    int32_t num(int i) { return engine().vars.num[size_t(i)]; }
    // %first .. %(first + n - 1).
    std::vector<int32_t> nums(int first, int n) {
        const auto& all = engine().vars.num;
        return std::vector<int32_t>(all.begin() + first, all.begin() + first + n);
    }
    std::string str(int i) { return sjis::toUtf8(engine().vars.str[size_t(i)]); }
    // $first .. $(first + n - 1) as stored (Shift-JIS), in UTF-8.
    std::vector<std::string> strs(int first, int n) {
        std::vector<std::string> out;
        for (int i = first; i < first + n; ++i) out.push_back(str(i));
        return out;
    }
    int status;
};

} // namespace

TEST(Random, IsTheClassicRuntimeGenerator) {
    Random r;
    r.seed(1);
    std::vector<int32_t> drawn;
    for (int i = 0; i < 5; ++i) drawn.push_back(r.next());
    EXPECT_EQ(drawn, (std::vector<int32_t>{41, 18467, 6334, 26500, 19169}));
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
    EXPECT_EQ(g.strs(0, 3), (std::vector<std::string>{"あいうあいう", "", "あいうあいう"}));
    EXPECT_EQ(g.num(0), 12);
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
    EXPECT_EQ(g.nums(5, 2), (std::vector<int32_t>{20, 50}));
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
    auto within = [](int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; };
    for (int i = 0; i < 100; ++i) {
        // rnd2 10,5: b - a + 1 = -4, and the remainder keeps the sign of the generator's value.
        EXPECT_TRUE(within(g.num(i), 0, 5) && within(g.num(100 + i), -3, 3) &&
                    g.num(300 + i) == 0 && within(g.num(400 + i), 10, 13))
            << i;
        seen.insert(g.num(i));
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(Random, SeededFromTheClockAtEachRun) {
    // The virtual clock starts at 0: the sequence of seed 0.
    Game g("rnd %0,32768:rnd %1,32768");
    Random r;
    r.seed(0);
    const int32_t first = r.next();
    EXPECT_EQ(g.nums(0, 2), (std::vector<int32_t>{first, r.next()}));
}

TEST(Aliases, DefinedInTheDefinitionBlockAndCaseInsensitive) {
    Game g("mov %0,Max:mov %1,%idx:mov $0,Greeting",
           "numalias max,10\nnumalias IDX,max\nstralias greeting,\"やあ\"\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.nums(0, 2), (std::vector<int32_t>{10, 0}));
    EXPECT_EQ(g.str(0), "やあ");
}

// A full table is the error table's numalias-too-many and stralias-too-many.
TEST(Aliases, ANumericAndAStringAliasMayShareAName) {
    Game g("mov %0,x:mov $0,x", "numalias x,4\nstralias x,\"four\"\n");
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.num(0), 4);
    EXPECT_EQ(g.str(0), "four");
}

TEST(Strings, RunawayGrowthIsStopped) {
    Game g("mov $0,\"abcdefgh\"\n*l\nadd $0,$0\ngoto *l");
    EXPECT_EQ(g.status, 2);
    EXPECT_EQ(g.engine().vars.str[0].size(), size_t(1) << 20);
}

TEST(Getini, ReadsProfileFilesFromTheGameFolder) {
    Game g("mov $4,\"old\"\n"
           "getini $0,\"setup.ini\",\"game\",\"name\"\n"
           "getini $1,\"setup.ini\",\"other\",\"NAME\"\n"
           "getini $2,\"setup.ini\",\"game\",\"missing\"\n"
           "getini $3,\"sub\\deep.ini\",\"s\",\"k\"\n"
           "getini $4,\"absent.ini\",\"game\",\"name\"",
           "", [](Game& g) {
               g.file("Setup.INI", "[Game]\nName = \x82\xa0 \nEmpty=\n[Other]\nName=2\n");
               g.file("sub/deep.ini", "[s]\nk=v\n");
           });
    ASSERT_EQ(g.status, 0) << g.log();
    EXPECT_EQ(g.strs(0, 5), (std::vector<std::string>{"あ", "2", "", "v", ""}));
}

TEST(Getreg, ReadsTheRegistryStandIn) {
    Game g("mov $3,\"old\"\n"
           "getreg $0,\"software\\maker\\game\",\"installdir\"\n"
           "getreg $1,\"Software\\Maker\\Game\",\"Long\"\n"
           "getreg $2,\"Software\\Maker\\Game\",\"TooLong\"\n"
           "getreg $3,\"Software\\Nobody\",\"InstallDir\"",
           "", [](Game& g) {
               g.file("registry.ini", "[Software\\Maker\\Game]\nInstallDir=C:\\Games\\x\nLong=" +
                                          std::string(255, 'a') +
                                          "\nTooLong=" + std::string(256, 'b') + "\n");
           });
    ASSERT_EQ(g.status, 0) << g.log();
    // A value that does not fit the 256-byte buffer cannot be read.
    EXPECT_EQ(g.strs(0, 4),
              (std::vector<std::string>{"C:\\Games\\x", std::string(255, 'a'), "", ""}));
}
