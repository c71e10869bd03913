// Small presents in a row (a click cursor's cells) are drawn over their own areas only: each must
// still show, at the right place, and leave the rest of the window as it was.
#include "platform/sdl/SdlPlatform.h"

#include "TestSupport.h"
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <optional>

namespace orv {
namespace {

using test::Rgb;
using test::ScopedEnv;
using test::Shot;

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0};

void fill(FrameBuffer& f, int l, int t, int r, int b, Rgb c) {
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) {
            uint8_t* p = f.row(y) + size_t(x) * 3;
            p[0] = uint8_t(c[2]);
            p[1] = uint8_t(c[1]);
            p[2] = uint8_t(c[0]);
        }
}

TEST(SdlPartialPresent, EachSmallPresentShowsAndNothingElseChanges) {
    ORVANE_REQUIRE_X_DISPLAY();
    ScopedEnv origin("ORVANE_WINDOW_AT_ORIGIN", "1");
#ifdef ORVANE_TEST_SANITIZED
    ScopedEnv driver("SDL_RENDER_DRIVER", "software");
#endif
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        std::string error;
        SdlOptions options;
        options.scale = scale;
        auto p = createSdlPlatform(options, &error);
        ASSERT_TRUE(p) << error;
        FrameBuffer& f = p->window();
        fill(f, 0, 0, 640, 480, kRed);
        p->showWindow();
        p->present({0, 0, 640, 480});
        for (Event e; p->takeEvent(e);)
            if (e.kind == EventKind::Paint) p->present({0, 0, 640, 480});
        // A cursor's cells: the same place presented again and again in turn, the last in yellow.
        constexpr int x = 300, y = 200;
        for (Rgb c : {kYellow, kBlue, kGreen, kBlue, kYellow}) {
            fill(f, x, y, x + 16, y + 16, c);
            p->present({x, y, x + 16, y + 16});
        }
        fill(f, 100, 300, 116, 316, kYellow); // changed, never presented
        test::TempDir dir;
        std::optional<Shot> shot;
        const int strip = 20 * scale;
        auto at = [&](int gx, int gy) { return shot->at(gx * scale, gy * scale + strip); };
        for (int attempt = 0; attempt < 15; ++attempt) {
            Event e;
            while (p->takeEvent(e)) {
            }
            shot = test::screenshot(dir.path() / "shot.png");
            if (shot && at(x, y) == kYellow) break;
            p->sleep(50);
        }
        ASSERT_TRUE(shot);
        EXPECT_EQ(at(x, y), kYellow);
        EXPECT_EQ(at(x + 15, y + 15), kYellow);
        EXPECT_EQ(at(x - 1, y), kRed);
        EXPECT_EQ(at(x + 15, y + 16), kRed);
        EXPECT_EQ(at(100, 300), kRed) << "a pixel outside the presented cells changed";
        EXPECT_EQ(at(500, 100), kRed);
    }
}

} // namespace
} // namespace orv
