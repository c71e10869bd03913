// A window buffer handed on from one headless platform to the next starts black, as a new one
// does, and one of another shape is not taken.
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

TEST(HeadlessWindowReuse, AHandedOnBufferStartsBlackAndAWrongOneIsReplaced) {
    HeadlessPlatform first({}, {});
    std::fill(first.window().pixels.begin(), first.window().pixels.end(), uint8_t{0x7f});
    const uint8_t* memory = first.window().pixels.data();
    HeadlessPlatform second({}, {}, std::move(first.window()));
    EXPECT_EQ(second.window().pixels.data(), memory) << "the buffer was not reused";
    EXPECT_TRUE(std::all_of(second.window().pixels.begin(), second.window().pixels.end(),
                            [](uint8_t b) { return b == 0; }));

    FrameBuffer odd;
    odd.pixels.resize(12, 0x7f);
    HeadlessPlatform third({}, {}, std::move(odd));
    EXPECT_EQ(third.window().pixels.size(), size_t(kScreenWidth) * 3 * kScreenHeight);
    EXPECT_EQ(third.window().pixels.front(), 0);
}

} // namespace
} // namespace orv
