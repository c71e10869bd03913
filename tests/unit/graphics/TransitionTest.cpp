#include "graphics/Transition.h"
#include "Pictures.h"
#include "graphics/Blend.h"
#include "graphics/GraphicsState.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::Colours;
using test::coloursAt;
using test::newColour;
using test::oldColour;
using test::windowPixel;

// A clock that moves only when the transition sleeps, or by `frameCost` at every pumped message
// (standing for the time a frame's drawing took).
class FakeHost : public TransitionHost {
public:
    uint32_t now = 1000;
    uint32_t frameCost = 0;
    std::vector<uint32_t> sleeps;
    std::vector<Rect> presents;
    std::vector<std::pair<std::string, std::string>> errors;
    int pumps = 0;
    FrameBuffer fb;
    Surface mask;
    std::string loadedText;
    std::function<void(int)> onPump; // called with the 1-based pump count

    uint32_t ticks() override { return now; }
    void sleep(uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
    }
    void pumpOneEvent() override {
        ++pumps;
        if (onPump) onPump(pumps);
        now += frameCost;
    }
    FrameBuffer& window() override { return fb; }
    void present(const Rect& rect) override { presents.push_back(rect); }
    void loadImage(Surface& surface, const std::string& text) override {
        loadedText = text;
        surface = mask;
    }
    void reportError(std::string_view caption, std::string_view text) override {
        errors.emplace_back(std::string(caption), std::string(text));
    }
};

struct Fixture {
    GraphicsState g;
    FakeHost host;

    Fixture() {
        createEngineSurfaces(g);
        g.surfaces.display = test::makePicture(640, 480, oldColour);
        g.surfaces.composition = test::makePicture(640, 480, newColour);
        copyToWindow(g.surfaces.display, host.fb, kWholeScreen);
        g.layers.dirty = DirtyRect{1, 2, 3, 4};
    }

    void run(int type, int duration, const DirtyRect& region = kWholeScreen,
             const std::string& image = {}) {
        runTransition(g, host, type, duration, image, region);
    }

    // The window shows the new picture inside `r` and the old one outside.
    ::testing::AssertionResult windowShowsNewOnlyIn(const DirtyRect& r) const {
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const bool inside = x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
                const uint32_t expected = inside ? newColour(x, y) : oldColour(x, y);
                if (windowPixel(host.fb, x, y) != expected ||
                    pixelColor(g.surfaces.display, x, y) != expected)
                    return ::testing::AssertionFailure() << "pixel " << x << "," << y;
            }
        }
        return ::testing::AssertionSuccess();
    }
};

// A mask picture whose blue byte at (x, y) is (x + y) % 256 over a 256 x 8 tile.
Surface gradientMask() {
    return test::makePicture(
        256, 8, [](int x, int y) { return static_cast<uint32_t>((x + y) % 256) | 0x330000u; });
}

// ---- every type ends on the new picture -------------------------------------------------------

TEST(TransitionTest, EveryTypeEndsWithTheCompositionOnDisplayAndWindow) {
    const DirtyRect region{40, 30, 400, 300};
    for (int type = 1; type <= 18; ++type) {
        if (type == 16) continue;
        SCOPED_TRACE(type);
        Fixture f;
        f.host.mask = gradientMask();
        const bool whole = transitionCoversScreen(type);
        f.run(type, 480, whole ? kWholeScreen : region, "mask.bmp");
        EXPECT_TRUE(f.windowShowsNewOnlyIn(whole ? kWholeScreen : region));
        EXPECT_TRUE(f.g.layers.dirty.empty() && f.host.errors.empty());
        ASSERT_FALSE(f.host.presents.empty());
        EXPECT_EQ(f.host.presents.back().left, whole ? 0 : 40);
        EXPECT_EQ(f.host.presents.back().bottom, whole ? 480 : 301);
        // The effect pause closes every transition except the plain one.
        EXPECT_EQ(f.host.sleeps.empty() ? 0u : f.host.sleeps.back(), type == 1 ? 0u : 30u);
        EXPECT_EQ(f.host.pumps == 0, type == 1);
        EXPECT_EQ(f.host.loadedText, type == 15 || type == 18 ? "mask.bmp" : "");
    }
}

TEST(TransitionTest, TypeZeroDoesNothingAndBadTypesAreReported) {
    Fixture f;
    f.run(0, 100);
    EXPECT_EQ(f.g.layers.dirty, (DirtyRect{1, 2, 3, 4}));
    f.run(-1, 100);
    f.run(19, 100);
    f.g.layers.dirty = DirtyRect{1, 2, 3, 4};
    f.run(-2, 100);
    const std::string undefined = S("未定義のエフェクトを使いました"),
                      invalid = S("不正なエフェクト番号です。EFFECT命令をチェックしてください。");
    EXPECT_EQ(f.host.errors,
              (std::vector<std::pair<std::string, std::string>>{
                  {S("エラー"), undefined}, {S("エラー"), invalid}, {S("エラー"), invalid}}));
    EXPECT_TRUE(f.g.layers.dirty.empty());
    EXPECT_TRUE(f.windowShowsNewOnlyIn(DirtyRect{-1, -1, -1, -1}));
}

TEST(TransitionTest, EffectPauseFollowsTheSetting) {
    Fixture f;
    f.g.effects.effectPause = 0;
    f.run(2, 0);
    EXPECT_TRUE(f.host.sleeps.empty());
    f.g.effects.effectPause = 75;
    f.run(3, 0);
    EXPECT_EQ(f.host.sleeps, std::vector<uint32_t>{75});
}

// Frames sleep only what is left of their period; the crossfade and the mask wipes instead
// advance by the time spent. Every run ends with the effect pause of 30 ms.
TEST(TransitionTest, PacingFollowsTheTimeEachFrameTakes) {
    const struct {
        int type, duration;
        uint32_t frameCost;
        int pumps;
        size_t sleepingFrames;
        uint32_t sleep;
    } cases[] = {
        {2, 160, 4, 16, 16, 6},   // 16 frames of 10 ms
        {6, 480, 15, 49, 0, 0},   // 49 frames, each slower than the period
        {8, 420, 0, 43, 43, 10},  // 43 frames of 420 / 42
        {11, 800, 0, 80, 80, 10}, //
        {17, 1000, 0, 6, 6, 100}, //
        // Idle: one level per frame, sleeping d / 256. Busy at 10 ms a frame over 1000 ms: the
        // level grows by 2 per frame to 255 (capped). No duration: the first frame is the last.
        {10, 1024, 0, 255, 254, 4},
        {10, 1000, 10, 128, 0, 0},
        {10, 0, 0, 2, 0, 0},
        // Levels 1..254 sleeping 512 / 256; busy, step 8 / (1024 / 512) = 4 up to past 511.
        {15, 512, 0, 254, 254, 2},
        {18, 1024, 8, 128, 0, 0},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.host.mask = gradientMask();
        f.host.frameCost = c.frameCost;
        f.run(c.type, c.duration, kWholeScreen, "mask.bmp");
        EXPECT_EQ(f.host.pumps, c.pumps) << c.type << "/" << c.duration;
        std::vector<uint32_t> sleeps(c.sleepingFrames, c.sleep);
        sleeps.push_back(30);
        EXPECT_EQ(f.host.sleeps, sleeps) << c.type << "/" << c.duration;
    }
}

// ---- intermediate frames ---------------------------------------------------------------------
// The middle frame of every type over the whole screen is a golden picture of the scenario test
// compose-effects; these are the first frames, regions and what that picture cannot show.

// Runs a transition and keeps a copy of the window and the display after pump number `frame`.
struct Snapshot {
    FrameBuffer window;
    Surface display;
};

Snapshot snapshotAt(Fixture& f, int frame, int type, int duration,
                    const DirtyRect& region = kWholeScreen) {
    Snapshot shot;
    f.host.onPump = [&](int count) {
        if (count != frame) return;
        shot.window = f.host.fb;
        shot.display = f.g.surfaces.display;
    };
    f.run(type, duration, region, "mask.bmp");
    return shot;
}

using Points = std::initializer_list<std::pair<int, int>>;

// The window shows the new picture at `fresh` and the old one at `stale`.
void expectWindow(const FrameBuffer& w, Points fresh, Points stale) {
    for (auto [x, y] : fresh) EXPECT_EQ(windowPixel(w, x, y), newColour(x, y)) << x << "," << y;
    for (auto [x, y] : stale) EXPECT_EQ(windowPixel(w, x, y), oldColour(x, y)) << x << "," << y;
}

// The window after pump `frame` of a transition on a fresh fixture.
FrameBuffer windowAt(int frame, int type, int duration, const DirtyRect& region = kWholeScreen) {
    Fixture f;
    return snapshotAt(f, frame, type, duration, region).window;
}

TEST(TransitionFrameTest, BlindsCopyEverySixteenthColumnOrRowOfTheRegion) {
    const DirtyRect region{100, 50, 300, 200};
    Fixture f;
    Snapshot s = snapshotAt(f, 2, 2, 160, region); // frames k = 0 and 1 done
    expectWindow(s.window, {{100, 50}, {101, 200}, {116, 50}, {117, 200}, {292, 50}, {293, 200}},
                 {{99, 60}, {102, 60}, {115, 60}, {118, 60}, {294, 60}, {100, 49}, {100, 201}});
    // The display surface waits for the finish.
    EXPECT_EQ(pixelColor(s.display, 100, 50), oldColour(100, 50));
    expectWindow(windowAt(1, 3, 160, region), {{115, 70}}, {{100, 70}}); // k = 15 first
    expectWindow(windowAt(1, 4, 160, region), {{150, 66}}, {{301, 66}, {150, 67}});
    expectWindow(windowAt(1, 5, 160, region), {{150, 65}}, {{150, 50}});
}

TEST(TransitionFrameTest, ScrollsPushTheOldPictureOutAsTheNewComesIn) {
    // type, vertical, whether the new picture enters at the left or top edge.
    const struct {
        int type;
        bool vertical;
        bool fromStart;
    } scrolls[] = {{11, false, true}, {12, false, false}, {13, true, true}, {14, true, false}};
    for (const auto& c : scrolls) {
        SCOPED_TRACE(c.type);
        Fixture whole;
        whole.run(c.type, 800);
        const int length = c.vertical ? 480 : 640;
        const int step = length / whole.host.pumps; // the same distance every frame
        ASSERT_GT(step, 0);
        for (int frame : {1, 2}) {
            const FrameBuffer w = windowAt(frame, c.type, 800);
            const int in = frame * step; // how much of the new picture shows
            for (int p = 0; p < length; ++p) {
                const bool fresh = c.fromStart ? p < in : p >= length - in;
                const int from = c.fromStart ? (fresh ? length - in + p : p - in)
                                             : (fresh ? p - (length - in) : p + in);
                const int x = c.vertical ? 3 : p, y = c.vertical ? p : 9;
                const int fx = c.vertical ? 3 : from, fy = c.vertical ? from : 9;
                ASSERT_EQ(windowPixel(w, x, y), fresh ? newColour(fx, fy) : oldColour(fx, fy))
                    << "frame " << frame << " at " << p;
            }
        }
    }
}

TEST(TransitionFrameTest, MosaicOutCoarsensTheOldPictureAndLeavesTheScreenDirty) {
    Fixture f;
    Snapshot first = snapshotAt(f, 1, 16, 600);
    // Blocks of 5 counted from the bottom-left: screen rows 475..479 share row 479's pixel.
    EXPECT_EQ(coloursAt(first.display, {{3, 476}, {7, 470}}),
              (Colours{oldColour(0, 479), oldColour(5, 474)}));
    EXPECT_EQ(windowPixel(first.window, 7, 470), oldColour(5, 474));
    // After the last frame (blocks of 160) there is no finish: the display stays coarse.
    EXPECT_EQ(coloursAt(f.g.surfaces.display, {{159, 320}, {160, 319}}),
              (Colours{oldColour(0, 479), oldColour(160, 319)}));
    EXPECT_EQ(windowPixel(f.host.fb, 639, 0), oldColour(480, 159));
    EXPECT_EQ(f.g.layers.dirty, kWholeScreen);
    EXPECT_EQ(f.host.sleeps.back(), 30u);
}

TEST(TransitionFrameTest, MosaicInResolvesTheNewPicture) {
    Fixture f;
    Snapshot first = snapshotAt(f, 1, 17, 600);
    EXPECT_EQ(coloursAt(first.display, {{100, 400}, {200, 100}}),
              (Colours{newColour(0, 479), newColour(160, 159)}));
    Fixture g;
    Snapshot fifth = snapshotAt(g, 6, 17, 600); // blocks of 5
    EXPECT_EQ(pixelColor(fifth.display, 12, 471), newColour(10, 474));
}

TEST(TransitionFrameTest, SmallRegionsAreWorkedInPlace) {
    // The crossfade and mask paths on a region rather than the whole screen.
    const DirtyRect region{3, 5, 10, 9};
    Fixture f;
    Snapshot s = snapshotAt(f, 1, 10, 1024, region);
    const BlendTable& t = blendTable();
    // Pixel (3, 5): offset (474 * 1920 + 9) — odd at blue, so blue is blended, green is not.
    const uint32_t before = oldColour(3, 5), after = newColour(3, 5);
    const uint8_t* p = s.window.row(5) + 9;
    EXPECT_EQ(p[0], t[254][before & 0xff] + t[1][after & 0xff]);
    EXPECT_EQ(p[1], (before >> 8) & 0xff);
    EXPECT_EQ(windowPixel(s.window, 2, 5), oldColour(2, 5));
    EXPECT_TRUE(f.windowShowsNewOnlyIn(region));
}

} // namespace
} // namespace orv
