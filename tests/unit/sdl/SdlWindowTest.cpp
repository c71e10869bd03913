// The SDL window: layout arithmetic on its own, the backend under SDL's dummy
// driver, and — when a display is reachable (CI runs this program under
// xvfb-run, which has no window manager) — the real window checked through a
// screenshot of the X display.
#include "platform/Transcript.h"
#include "platform/sdl/SdlLayout.h"
#include "platform/sdl/SdlPlatform.h"

#include "TestSupport.h"
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <unistd.h>

// SDL's X11 video opens a D-Bus connection whose buffers libdbus never frees.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

namespace orv {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Layout and mapping

using Box = std::array<int, 4>;
using Point = std::tuple<int, int, PointerArea>;

Box box(const PixelRect& r) {
    return {r.x, r.y, r.w, r.h};
}

Point point(const GamePoint& p) {
    return {p.x, p.y, p.area};
}

constexpr PointerArea kGame = PointerArea::Game, kStrip = PointerArea::MenuStrip,
                      kOutside = PointerArea::Outside;

TEST(SdlLayoutTest, WindowAtWholeScalePutsThePictureUnderTheStrip) {
    for (int s = 1; s <= 3; ++s) {
        SCOPED_TRACE(s);
        const SdlLayout l = computeLayout(640 * s, 500 * s, kMenuBarHeight * s);
        EXPECT_EQ(box(l.menuStrip), (Box{0, 0, 640 * s, 20 * s}));
        EXPECT_EQ(box(l.game), (Box{0, 20 * s, 640 * s, 480 * s}));
        EXPECT_TRUE(l.wholeScale);
        // Output pixel -> game point: the corners; every output pixel of a game pixel maps to
        // it and the next one does not; the strip gives negative rows the menu can use; beyond
        // the window (a drag outside) clamps to the picture's edge.
        const std::pair<std::array<int, 2>, Point> cases[] = {
            {{0, 20 * s}, {0, 0, kGame}},
            {{640 * s - 1, 500 * s - 1}, {639, 479, kGame}},
            {{100 * s + s - 1, 20 * s + 50 * s}, {100, 50, kGame}},
            {{100 * s - 1, 20 * s + 50 * s - 1}, {99, 49, kGame}},
            {{5 * s, 0}, {5, -20, kStrip}},
            {{5 * s, 20 * s - 1}, {5, -1, kStrip}},
            {{-7, 600 * s}, {0, 479, kOutside}},
            {{700 * s, 30 * s}, {639, 10, kOutside}},
        };
        for (const auto& [at, want] : cases)
            EXPECT_EQ(point(mapToGame(l, at[0], at[1])), want) << at[0] << "," << at[1];
    }
}

TEST(SdlLayoutTest, FullScreenKeepsFourThreeAndLetterboxes) {
    // Wide: bars left and right at 2.25; 5:4: bars above and below at exactly 2; 4:3 at 1.6;
    // portrait; the game's own size.
    const struct {
        int w, h;
        Box game;
        bool whole;
    } layouts[] = {{1920, 1080, {240, 0, 1440, 1080}, false},
                   {1280, 1024, {0, 32, 1280, 960}, true},
                   {1024, 768, {0, 0, 1024, 768}, false},
                   {768, 1024, {0, 224, 768, 576}, false},
                   {640, 480, {0, 0, 640, 480}, true}};
    for (const auto& l : layouts) {
        const SdlLayout got = computeLayout(l.w, l.h, 0);
        EXPECT_EQ(box(got.menuStrip), (Box{0, 0, 0, 0})) << l.w;
        EXPECT_EQ(box(got.game), l.game) << l.w;
        EXPECT_EQ(got.wholeScale, l.whole) << l.w;
    }
    // Nothing in full screen belongs to the strip, even at the very top.
    const struct {
        int w, h, x, y;
        Point want;
    } points[] = {
        {1920, 1080, 960, 540, {320, 240, kGame}},   {1920, 1080, 240, 0, {0, 0, kGame}},
        {1920, 1080, 1679, 1079, {639, 479, kGame}}, {1920, 1080, 100, 540, {0, 240, kOutside}},
        {1920, 1080, 1700, 5, {639, 2, kOutside}},   {1920, 1080, 960, 0, {320, 0, kGame}},
        {1280, 1024, 5, 10, {2, 0, kOutside}},       {1280, 1024, 3, 33, {1, 0, kGame}},
        {640, 480, 639, 479, {639, 479, kGame}}};
    for (const auto& p : points)
        EXPECT_EQ(point(mapToGame(computeLayout(p.w, p.h, 0), p.x, p.y)), p.want)
            << p.w << ": " << p.x << "," << p.y;
}

TEST(SdlLayoutTest, EveryGamePixelIsReachedAtFractionalScale) {
    const SdlLayout l = computeLayout(1920, 1080, 0);
    // Along each axis the game coordinate climbs by 0 or 1 per output pixel, to the far edge.
    for (bool alongX : {true, false}) {
        int last = 0;
        for (int o = 0; o < (alongX ? l.game.w : l.game.h); ++o) {
            const GamePoint g = alongX ? mapToGame(l, l.game.x + o, 500) : mapToGame(l, 900, o);
            const int at = alongX ? g.x : g.y;
            ASSERT_TRUE(at == last || at == last + 1) << alongX << " " << o << " -> " << at;
            last = at;
        }
        EXPECT_EQ(last, alongX ? 639 : 479);
    }
}

TEST(SdlLayoutTest, DegenerateOutputsStaySafe) {
    const SdlLayout none = computeLayout(0, 0, 20);
    EXPECT_EQ(std::tuple(none.game.w, none.wholeScale, mapToGame(none, 10, 10).area),
              std::tuple(0, false, kOutside));
    const SdlLayout allStrip = computeLayout(640, 10, 20);
    EXPECT_EQ(std::pair(allStrip.menuStrip.h, allStrip.game.h), std::pair(10, 0));
}

TEST(SdlTextInputTest, DecodesCodePointsAndDropsMalformedBytes) {
    EXPECT_EQ(decodeUtf8("a Z"), (std::vector<char32_t>{U'a', U' ', U'Z'}));
    EXPECT_EQ(decodeUtf8("\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"),
              (std::vector<char32_t>{0xE9, 0x3042, 0x1F600}));
    // Stray continuation, truncated sequence before a letter, overlong slash,
    // a surrogate and a value past U+10FFFF.
    EXPECT_EQ(decodeUtf8("\x80"
                         "A\xE3\x81"
                         "B\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80"
                         "C"),
              (std::vector<char32_t>{U'A', U'B', U'C'}));
    EXPECT_TRUE(decodeUtf8("").empty());
}

using test::Rgb;
using test::runTool;
using test::ScopedEnv;
using test::Shot;

// SIGTERM is only safe to raise while SDL's handler holds it; without it the test program ends.
void raiseTermThroughSdl() {
    struct sigaction current {};
    ASSERT_EQ(sigaction(SIGTERM, nullptr, &current), 0);
    ASSERT_NE(current.sa_handler, SIG_DFL) << "SDL did not take over SIGTERM";
    std::raise(SIGTERM);
}

std::pair<EventKind, int> kindAndCode(const Event& e) {
    return {e.kind, e.code};
}

// ---------------------------------------------------------------------------
// The backend on SDL's dummy driver: no display needed.

class SdlDummyTest : public ::testing::Test {
protected:
    ScopedEnv driver_{"SDL_VIDEODRIVER", "dummy"};
    ScopedEnv render_{"SDL_RENDER_DRIVER", "software"};
};

TEST_F(SdlDummyTest, AMessageBoxIsNeverAnsweredForThePlayerButYieldsToTermination) {
    std::string error;
    auto p = createSdlPlatform({}, &error);
    ASSERT_TRUE(p) << error;
    EXPECT_FALSE(p->isHeadless());
    test::pumpEvents(*p);

    // Nobody can answer on the dummy driver: only the system ending the program ends the box,
    // with the cancel answer, and the engine then hears of the end.
    ASSERT_NO_FATAL_FAILURE(raiseTermThroughSdl());
    ::testing::internal::CaptureStderr();
    const MessageBoxResult answer =
        p->messageBox("\xE7\xB5\x82\xE4\xBA\x86", "quit?", MessageBoxButtons::YesNo);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[\xE7\xB5\x82\xE4\xBA\x86] quit?\n");
    EXPECT_EQ(answer, MessageBoxResult::No);
    Event e;
    ASSERT_TRUE(p->takeEvent(e));
    EXPECT_EQ(kindAndCode(e), std::pair(EventKind::Close, kCloseTerminate));
}

TEST_F(SdlDummyTest, TimersTranscriptAndTermination) {
    test::TempDir dir;
    SdlOptions options;
    std::string error;
    options.transcript = Transcript::open((dir.path() / "t.txt").string(), &error);
    auto p = createSdlPlatform(options, &error);
    ASSERT_TRUE(p) << error;
    test::pumpEvents(*p);

    p->writeTranscript("abc\n\f");
    EXPECT_TRUE(p->finishTranscript(&error)) << error;
    EXPECT_EQ(test::readFile(dir.path() / "t.txt"), "abc\n\f");

    // Presenting odd rectangles must clip, not copy past the frame.
    p->present({-50, -50, 2000, 2000});
    p->present({630, 470, 700, 700});
    p->present({300, 200, 300, 260});

    // Timers run on the SDL clock when the queue is pumped.
    p->setTimer(7, 5);
    p->sleep(12);
    Event e;
    ASSERT_TRUE(p->takeEvent(e));
    EXPECT_EQ(kindAndCode(e), std::pair(EventKind::Timer, 7));
    p->killTimer(7);

    // SIGTERM reaches the engine as a Close it must not ask about.
    p->postEvent({EventKind::Close, 0, 0, 0});
    ASSERT_NO_FATAL_FAILURE(raiseTermThroughSdl());
    ASSERT_TRUE(p->takeEvent(e));
    EXPECT_EQ(kindAndCode(e), std::pair(EventKind::Close, kCloseTerminate));
    EXPECT_FALSE(p->hasEvent(EventKind::Close)) << "the pending question should be dropped";
}

TEST(SdlNoDisplayTest, RefusesAnInvisibleFallbackWindow) {
    if (fs::exists("/dev/dri")) GTEST_SKIP() << "a console display could be opened here";
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
    std::string error;
    EXPECT_FALSE(createSdlPlatform({}, &error));
    EXPECT_FALSE(error.empty());
}

// ---------------------------------------------------------------------------
// The real window on an X display without a window manager.

using test::kBlack;
using test::kBlue;
using test::kGreen;
using test::kRed;
using test::kWhite;
using test::kYellow;

using test::fillRect;

void putPixel(FrameBuffer& f, int x, int y, Rgb c) {
    fillRect(f, x, y, x + 1, y + 1, c);
}

// A screen position and the colour expected there.
struct Probe {
    int x, y;
    Rgb want;
};

// Every probe that shows another colour, so one comparison reports them all.
std::vector<std::string> misses(const Shot& s, const std::vector<Probe>& probes) {
    std::vector<std::string> out;
    for (const Probe& p : probes)
        if (s.at(p.x, p.y) != p.want)
            out.push_back(std::to_string(p.x) + "," + std::to_string(p.y));
    return out;
}

// Four quadrants, so a flipped or mirrored copy shows, and a one-pixel
// marker at (100, 50), so an offset of one pixel shows.
void drawPattern(FrameBuffer& f) {
    fillRect(f, 0, 0, 320, 240, kRed);
    fillRect(f, 320, 0, 640, 240, kGreen);
    fillRect(f, 0, 240, 320, 480, kBlue);
    fillRect(f, 320, 240, 640, 480, kWhite);
    putPixel(f, 100, 50, kBlack);
}

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ORVANE_REQUIRE_X_DISPLAY(); }

    std::unique_ptr<Platform> open(int scale) {
        SdlOptions options;
        options.scale = scale;
        std::string error;
        auto p = test::openXWindow(options, &error);
        EXPECT_TRUE(p) << error;
        if (!p) return nullptr;
        drawPattern(p->window());
        p->showWindow();
        p->present({0, 0, 640, 480});
        return p;
    }

    Shot shootUntil(Platform& p, int x, int y, Rgb expected) {
        return test::shootUntil(p, dir_.path() / "shot.png", x, y, expected);
    }

    ScopedEnv origin_{"ORVANE_WINDOW_AT_ORIGIN", "1"};
    test::SanitizedRendering rendering_;
    test::TempDir dir_;
};

TEST_F(SdlWindowTest, PictureSitsBelowTheMenuStripAtScaleOne) {
    auto p = open(1);
    ASSERT_TRUE(p);
    const Shot s = shootUntil(*p, 0, 20, kRed);
    ASSERT_GE(s.width(), 640);
    ASSERT_GE(s.height(), 500);

    const Rgb strip = s.at(600, 10);
    EXPECT_TRUE(strip[0] == strip[1] && strip[1] == strip[2] && strip[0] > 0)
        << "the menu strip should be grey, not picture or black";
    // The strip's last row, corners and quadrant edges (game y + 20), the marker and around it.
    const std::vector<Probe> probes = {
        {0, 19, strip}, {0, 20, kRed},   {319, 20, kRed}, {320, 20, kGreen},  {639, 20, kGreen},
        {0, 259, kRed}, {0, 260, kBlue}, {0, 499, kBlue}, {639, 499, kWhite}, {100, 70, kBlack},
        {99, 70, kRed}, {101, 70, kRed}, {100, 69, kRed}, {100, 71, kRed}};
    EXPECT_EQ(misses(s, probes), std::vector<std::string>{});
}

TEST_F(SdlWindowTest, PresentShowsOnlyItsRectangle) {
    auto p = open(1);
    ASSERT_TRUE(p);
    shootUntil(*p, 0, 20, kRed);

    FrameBuffer& f = p->window();
    fillRect(f, 300, 200, 340, 260, kYellow); // straddles all four quadrants
    putPixel(f, 10, 400, kYellow);            // changed but not presented
    p->present({300, 200, 340, 260});
    const Shot s = shootUntil(*p, 300, 220, kYellow);
    // (10, 420) changed outside the presented rectangle: it must still be blue.
    const std::vector<Probe> probes = {{300, 220, kYellow}, {339, 279, kYellow}, {299, 220, kRed},
                                       {340, 279, kWhite},  {339, 280, kWhite},  {300, 219, kRed},
                                       {10, 420, kBlue}};
    EXPECT_EQ(misses(s, probes), std::vector<std::string>{});
}

TEST_F(SdlWindowTest, ScaleTwoDoublesThePictureAndMapsThePointerBack) {
    auto p = open(2);
    ASSERT_TRUE(p);
    const std::optional<SdlLayout> layout = sdlLayout(*p);
    ASSERT_TRUE(layout);
    EXPECT_EQ(box(layout->game), (Box{0, 40, 1280, 960}));

    // The 1280x1000 window is cut by the 1024x768 screen; its top-left shows.
    const Shot s = shootUntil(*p, 0, 40, kRed);
    EXPECT_EQ(s.at(0, 39)[0], s.at(0, 39)[1]) << "strip 40 pixels high";
    // The marker covers 2x2 output pixels.
    const std::vector<Probe> probes = {{0, 40, kRed},      {639, 40, kRed},    {640, 40, kGreen},
                                       {0, 519, kRed},     {0, 520, kBlue},    {200, 140, kBlack},
                                       {201, 140, kBlack}, {200, 141, kBlack}, {201, 141, kBlack},
                                       {199, 140, kRed},   {202, 141, kRed},   {200, 142, kRed}};
    EXPECT_EQ(misses(s, probes), std::vector<std::string>{});

    // A pointer over the strip is the menu's; over the picture it is the
    // game's, in 640x480 units.
    test::pumpEvents(*p);
    ASSERT_TRUE(warpSdlPointer(*p, 30, 5));
    ASSERT_TRUE(warpSdlPointer(*p, 2 * 300 + 1, 40 + 2 * 200 + 1));
    std::optional<Event> move;
    for (int attempt = 0; attempt < 100 && !move; ++attempt) {
        Event e;
        while (!move && p->takeEvent(e))
            if (e.kind == EventKind::MouseMove) move = e;
        if (!move) p->sleep(10);
    }
    ASSERT_TRUE(move) << "no motion came back from the warped pointer";
    EXPECT_EQ(std::pair(move->x, move->y), std::pair(300, 200));
}

TEST_F(SdlWindowTest, KeysAndClicksBecomeGameEvents) {
    if (!fs::exists("/usr/bin/xdotool")) GTEST_SKIP() << "/usr/bin/xdotool absent";
    auto p = open(2);
    ASSERT_TRUE(p);
    shootUntil(*p, 0, 40, kRed);
    // Without a window manager keyboard focus follows the pointer.
    ASSERT_TRUE(runTool("/usr/bin/xdotool mousemove 201 141"));
    // Keys outside the default keymap (xdotool maps them for a moment) race
    // with the reader; non-ASCII decoding is checked on its own above.
    ASSERT_TRUE(runTool("/usr/bin/xdotool click 1 click 3 key space Return KP_Enter Escape a "
                        "shift+a BackSpace"));

    std::vector<Event> events;
    for (int attempt = 0; attempt < 200; ++attempt) {
        Event e;
        while (p->takeEvent(e))
            if (e.kind != EventKind::Paint && e.kind != EventKind::MouseMove) events.push_back(e);
        if (events.size() >= 11) break;
        p->sleep(10);
    }
    std::vector<std::pair<EventKind, int>> got;
    for (const Event& e : events) {
        if (e.kind != EventKind::Char) {
            EXPECT_EQ(std::pair(e.x, e.y), std::pair(100, 50));
        }
        got.push_back(kindAndCode(e));
    }
    const std::vector<std::pair<EventKind, int>> want{
        {EventKind::LButtonDown, 0}, {EventKind::LButtonUp, 0}, {EventKind::RButtonDown, 0},
        {EventKind::RButtonUp, 0},   {EventKind::Char, 32},     {EventKind::Char, 13},
        {EventKind::Char, 13},       {EventKind::Char, 27},     {EventKind::Char, 'a'},
        {EventKind::Char, 'A'},      {EventKind::Char, 8}};
    EXPECT_EQ(got, want);
}

// Without a window manager nobody grants the full-screen request, so the X
// window keeps its size: what can be checked is the layout SDL reports for
// the display, and that the window comes back whole.
TEST_F(SdlWindowTest, FullScreenLetterboxesAndSwitchesBack) {
    auto p = open(1);
    ASSERT_TRUE(p);
    shootUntil(*p, 0, 20, kRed);

    auto settle = [&](int gameWidth) {
        std::optional<SdlLayout> layout;
        for (int attempt = 0; attempt < 100; ++attempt) {
            test::pumpEvents(*p);
            layout = sdlLayout(*p);
            if (layout->game.w == gameWidth) break;
            p->sleep(10);
        }
        return *layout;
    };

    ASSERT_TRUE(p->setFullScreen(true));
    EXPECT_TRUE(p->setFullScreen(true)) << "asking again is not a failure";
    const SdlLayout full = settle(1024);
    EXPECT_EQ(std::tuple(box(full.menuStrip), box(full.game), full.wholeScale),
              std::tuple(Box{0, 0, 0, 0}, Box{0, 0, 1024, 768}, false));

    ASSERT_TRUE(p->setFullScreen(false));
    const SdlLayout window = settle(640);
    EXPECT_EQ(std::tuple(box(window.menuStrip), box(window.game), window.wholeScale),
              std::tuple(Box{0, 0, 640, 20}, Box{0, 20, 640, 480}, true));
    p->present({0, 0, 640, 480});
    const std::vector<Probe> probes = {{100, 70, kBlack}, {0, 20, kRed}, {639, 499, kWhite}};
    EXPECT_EQ(misses(shootUntil(*p, 100, 70, kBlack), probes), std::vector<std::string>{});
}

} // namespace
} // namespace orv
