// The cap on all string variables together.
#include "EngineHarness.h"

#include <gtest/gtest.h>

using orv::test::Harness;
using orv::test::kPrologue;

namespace {

// $0 grows to 1 MiB (16 bytes doubled 16 times), then the loop body runs with
// %1 counting from 1.
std::string scenario(const std::string& body) {
    return std::string(kPrologue) +
           "mov $0,\"abcdefghijklmnop\"\n"
           "*grow\nadd $0,$0\ninc %0\nif %0 < 16 goto *grow\n"
           "*copy\ninc %1\n" +
           body + "\n";
}

} // namespace

TEST(StringTotal, StoringPastSixtyFourMebibytesIsAnError) {
    for (const char* store : {"mov $%1,$0", "add $%1,$0"}) {
        SCOPED_TRACE(store);
        Harness h;
        EXPECT_EQ(h.run(scenario(std::string(store) + "\ngoto *copy")), 2);
        EXPECT_EQ(h.firstMessage(),
                  "[実行時エラー] 文字列変数の合計が大きすぎます。全部で67108864バイトまでです。");
        // $0 and $1..$63 hold 64 MiB: the 64th copy is the one too many.
        EXPECT_EQ(h.engine().vars.num[1], 64);
    }
}

TEST(StringTotal, OverwritingAVariableNeverAddsUp) {
    Harness h;
    h.scenario(scenario("mov $1,$0\nmov $2,\"\"\nmov $2,$0\nif %1 < 100 goto *copy\nend"));
    EXPECT_EQ(h.run(), 0) << h.log();
}
