// The window's sound device on SDL's audio drivers that need no sound card.
#include "platform/sdl/SdlAudio.h"

#include "ScopedEnv.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace orv {
namespace {

TEST(SdlAudio, PullsFromTheMixerOnItsOwnThread) {
    test::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    auto audio = createSdlAudio();
    std::atomic<uint64_t> frames{0};
    std::string error;
    ASSERT_TRUE(audio->open(
        {44100, 2}, [&](int16_t*, size_t n) { frames += n; }, &error))
        << error;
    EXPECT_TRUE(audio->isOpen() && audio->format().rate > 0);
    // The device's thread asks on its own; wait (bounded) for its first buffer.
    for (int i = 0; i < 200 && frames == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(frames.load(), 0u);
    audio->close();
    EXPECT_FALSE(audio->isOpen());
}

TEST(SdlAudio, NoDeviceIsAReasonNotACrash) {
    test::ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    auto audio = createSdlAudio();
    std::string error;
    EXPECT_FALSE(audio->open(
        {44100, 2}, [](int16_t*, size_t) {}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(audio->isOpen());
}

} // namespace
} // namespace orv
