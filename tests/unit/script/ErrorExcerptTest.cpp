// A report whose position stands inside a double-byte character (a string
// literal cut at its limit) shows whole characters only.
#include "EngineHarness.h"

#include <gtest/gtest.h>

using orv::test::Harness;
using orv::test::kPrologue;
using orv::test::repeat;

TEST(ErrorExcerpt, ALiteralCutInsideACharacterLeavesThatCharacterOut) {
    Harness h;
    EXPECT_EQ(h.run(std::string(kPrologue) + "mov $0,\"" + repeat("あ", 130) + "\"\n"), 2);
    // 255 bytes are collected: 127 characters and the first byte of the next.
    const std::string kept = repeat("あ", 127);
    EXPECT_EQ(h.log(), "[構文エラー] 文字列が長すぎます。:" + kept +
                           "\n\n0.txt line:4\n\n|game\n|*start\n>mov $0,\"" + kept + "\n");
}
