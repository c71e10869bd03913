// The menu bar in the real window, on an X display without a window manager (xvfb-run): what a
// screenshot shows of it and what a synthetic click on it delivers. Skipped without DISPLAY.
#include "interp/Engine.h"
#include "platform/MenuView.h"
#include "platform/sdl/SdlPlatform.h"
#include "shell/MainMenu.h"
#include "shell/ShellState.h"
#include "shell/WindowProc.h"

#include "TestSupport.h"
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace orv {
namespace {

namespace fs = std::filesystem;

using test::Rgb;
using test::runTool;
using test::ScopedEnv;
using test::Shot;

using test::kRed;
constexpr Rgb kGrey{0xC0, 0xC0, 0xC0};

// Positions of entries in the engine's bar.
constexpr size_t kQuitEntry = 0;
constexpr size_t kSpeedEntry = 5;

class SdlMenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ORVANE_REQUIRE_X_DISPLAY();
        std::string error;
        platform_ = test::openXWindow({}, &error);
        ASSERT_TRUE(platform_) << error;
        test::fillRect(platform_->window(), 0, 0, 640, 480, kRed);
        platform_->setMenuBar(buildMainMenu());
        platform_->showWindow();
        platform_->present({0, 0, 640, 480});
        view_ = sdlMenuView(*platform_);
        ASSERT_NE(view_, nullptr);
    }

    Shot shootUntil(int x, int y, Rgb expected) {
        return test::shootUntil(*platform_, dir_.path() / "menu.png", x, y, expected, &events_);
    }

    // Pumps (keeping game events) until the condition holds; bounded, not timed.
    template <class F> bool pumpUntil(F done) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            test::pumpEvents(*platform_, &events_);
            if (done()) return true;
            platform_->sleep(10);
        }
        return false;
    }

    bool pumpUntilSeen(EventKind kind) {
        return pumpUntil([&] {
            for (const Event& e : events_)
                if (e.kind == kind) return true;
            return false;
        });
    }

    bool clickAt(int x, int y) {
        return runTool("/usr/bin/xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                       " click 1");
    }

    ScopedEnv origin_{"ORVANE_WINDOW_AT_ORIGIN", "1"};
    test::SanitizedRendering rendering_;
    test::TempDir dir_;
    std::unique_ptr<Platform> platform_;
    const MenuView* view_ = nullptr;
    std::vector<Event> events_;
};

TEST_F(SdlMenuBarTest, TheStripShowsTheLabels) {
    // Window at (0, 0), scale 1: menu units are screen pixels.
    const Shot s = shootUntil(0, 20, kRed);
    const std::vector<MenuBox>& boxes = view_->entryBoxes();
    ASSERT_EQ(boxes.size(), 8u);
    for (const MenuBox& b : boxes) {
        SCOPED_TRACE(b.x);
        EXPECT_GT(b.w, 2 * kMenuEntryPadding + 20);
        EXPECT_GT(s.dark(b.x + kMenuEntryPadding, 0, b.w - 2 * kMenuEntryPadding, 20), 20)
            << "label ink";
        EXPECT_EQ(s.at(b.x + 1, 1), kGrey);
    }
    // Past the last entry the strip is plain, and the picture starts right below it.
    const int end = boxes.back().x + boxes.back().w;
    EXPECT_EQ(s.dark(end, 0, 640 - end, 20), 0);
    EXPECT_EQ(s.at(600, 10), kGrey);
    EXPECT_EQ(s.at(300, 20), kRed);
}

TEST_F(SdlMenuBarTest, APlainEntryPostsOnClickAndAShotClickStaysTheGames) {
    if (!fs::exists("/usr/bin/xdotool")) GTEST_SKIP() << "/usr/bin/xdotool absent";
    shootUntil(0, 20, kRed);
    const MenuBox quit = view_->entryBoxes()[kQuitEntry];
    ASSERT_TRUE(clickAt(quit.x + quit.w / 2, 10));
    ASSERT_TRUE(pumpUntilSeen(EventKind::Command));
    events_.clear();
    ASSERT_TRUE(clickAt(300, 220));
    ASSERT_TRUE(pumpUntilSeen(EventKind::LButtonUp));
    for (const Event& e : events_) {
        EXPECT_NE(e.kind, EventKind::Command);
        if (e.kind == EventKind::LButtonUp) {
            EXPECT_EQ(std::pair(e.x, e.y), std::pair(300, 200));
        }
    }
}

// The whole way: the click on 高速 posts only its command, which the window procedure carries
// out (speed and check mark), and the popup opened again shows the mark there.
TEST_F(SdlMenuBarTest, ChoosingFastPostsItsCommandAndMovesTheCheckMark) {
    if (!fs::exists("/usr/bin/xdotool")) GTEST_SKIP() << "/usr/bin/xdotool absent";
    Engine engine(*platform_, dir_.path());
    fillFontMenu(engine, {"IPAGothic"});
    shootUntil(0, 20, kRed);
    events_.clear();
    const MenuBox speed = view_->entryBoxes()[kSpeedEntry];
    ASSERT_TRUE(clickAt(speed.x + speed.w / 2, speed.y + speed.h / 2));
    ASSERT_TRUE(pumpUntil([&] { return view_->isOpen(); })) << "the popup did not open";
    EXPECT_EQ(view_->openEntry(), int(kSpeedEntry));

    // The popup hangs over the picture, with the check mark at 普通.
    const MenuBox box = view_->popupBox();
    ASSERT_EQ(view_->itemBoxes().size(), 3u);
    const MenuBox normal = view_->itemBoxes()[1], fast = view_->itemBoxes()[2];
    auto marks = [&] {
        const Shot open = shootUntil(box.x + box.w / 2, box.y + 1, Rgb{0xFF, 0xFF, 0xFF});
        EXPECT_NE(open.at(box.x + box.w / 2, box.y + box.h / 2), kRed) << "no popup over it";
        EXPECT_EQ(open.at(box.x + box.w + 2, box.y + 5), kRed);
        return std::pair(open.dark(normal.x, normal.y, kMenuCheckColumn, normal.h) > 5,
                         open.dark(fast.x, fast.y, kMenuCheckColumn, fast.h) > 5);
    };
    EXPECT_EQ(marks(), std::pair(true, false));

    ASSERT_TRUE(clickAt(fast.x + fast.w / 2, fast.y + fast.h / 2));
    ASSERT_TRUE(pumpUntilSeen(EventKind::Command)) << "no command came back";
    EXPECT_FALSE(view_->isOpen());
    // Only the command: the game saw neither click.
    std::vector<std::pair<EventKind, int>> got;
    for (const Event& e : events_)
        if (e.kind != EventKind::MouseMove) got.push_back({e.kind, e.code});
    EXPECT_EQ(got, (std::vector<std::pair<EventKind, int>>{{EventKind::Command, 40016}}));
    // The engine pumps what the backend delivered through its window procedure.
    for (const Event& e : events_) windowProc(engine, e);
    events_.clear();
    EXPECT_EQ(engine.shell.speedIndex, 2);

    ASSERT_TRUE(clickAt(speed.x + speed.w / 2, 10));
    ASSERT_TRUE(pumpUntil([&] { return view_->isOpen(); }));
    EXPECT_EQ(marks(), std::pair(false, true));
    // Escape folds the popup away without reaching the game.
    ASSERT_TRUE(runTool("/usr/bin/xdotool key Escape"));
    ASSERT_TRUE(pumpUntil([&] { return !view_->isOpen(); }));
    for (const Event& e : events_) EXPECT_NE(e.kind, EventKind::Char);
}

// Without a window manager nobody resizes the X window for full screen, while SDL lays out for
// the display's 1024x768. A GL renderer then shows the bottom of that picture in the window; the
// software renderer's window surface shows its top-left, where the bar is.
class SdlFullScreenMenuTest : public SdlMenuBarTest {
protected:
    ScopedEnv renderer_{"SDL_RENDER_DRIVER", "software"};
    ScopedEnv acceleration_{"SDL_FRAMEBUFFER_ACCELERATION", "0"};
};

TEST_F(SdlFullScreenMenuTest, TheBarOverlaysTheShotOnlyWhileShown) {
    shootUntil(0, 20, kRed);
    ASSERT_TRUE(platform_->setFullScreen(true));
    platform_->setMenuBarShown(false);
    ASSERT_TRUE(pumpUntil([&] { return sdlLayout(*platform_)->game.w == 1024; }));
    platform_->present({0, 0, 640, 480});
    const Shot hidden = shootUntil(5, 5, kRed);
    EXPECT_EQ(hidden.at(5, 5), kRed);
    EXPECT_EQ(hidden.dark(0, 0, 600, 32), 0);

    platform_->setMenuBarShown(true);
    const Shot shown = shootUntil(5, 5, kGrey);
    // Scaled 1.6 times: the bar covers the top 32 rows.
    EXPECT_EQ(shown.at(600, 10), kGrey);
    EXPECT_EQ(shown.at(600, 40), kRed);
    const MenuBox speed = view_->entryBoxes()[kSpeedEntry];
    EXPECT_GT(shown.dark(speed.x * 1024 / 640, 0, speed.w * 1024 / 640, 32), 20);

    platform_->setMenuBarShown(false);
    const Shot again = shootUntil(5, 5, kRed);
    EXPECT_EQ(again.at(600, 10), kRed);
    ASSERT_TRUE(platform_->setFullScreen(false));
}

} // namespace
} // namespace orv
