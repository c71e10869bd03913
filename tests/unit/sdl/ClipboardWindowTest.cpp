// A page copied out in a real window lands on the X clipboard, where another program (here
// xclip, as a dictionary tool would) reads it.
#include "platform/sdl/SdlPlatform.h"

#include "XDisplay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace orv {
namespace {

TEST(ClipboardWindow, AnotherProgramReadsTheCopiedPage) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "DISPLAY not set; run under xvfb-run";
    if (!std::filesystem::exists("/usr/bin/xclip")) GTEST_SKIP() << "xclip is not installed";
    [[maybe_unused]] test::SanitizedRendering rendering;
    std::string error;
    std::unique_ptr<Platform> p = test::openXWindow({}, &error);
    ASSERT_TRUE(p) << error;
    p->setClipboardText("雨の駅で二人は別れた");
    // The window owns the selection and answers xclip's request while its events are pumped.
    std::string read;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        if (FILE* pipe = popen("timeout 10 /usr/bin/xclip -o -selection clipboard", "r")) {
            char buffer[256];
            for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) read.append(buffer, n);
            pclose(pipe);
        }
        done = true;
    });
    // The window owns the selection and answers the request while its events are pumped.
    for (; !done; p->sleep(10)) test::pumpEvents(*p);
    reader.join();
    EXPECT_EQ(read, "雨の駅で二人は別れた");
}

} // namespace
} // namespace orv
