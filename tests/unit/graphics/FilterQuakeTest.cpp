// The colour filters of the screen redraw and the quakes, through the engine on the headless
// platform.
#include "EngineHarness.h"
#include "Pictures.h"
#include "platform/Png.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace orv {
namespace {

using test::bmp24;
using test::Colours;
using test::Harness;

struct FilterCase {
    const char* name;
    const char* commands; // after `bg #336699,1`
    uint32_t shown;       // the screen at (10, 10) at the end
};

// #336699: grey (51 + 102 + 153) / 3 = 102; inverted #cc9966, grey (204 + 153 + 102) / 3 = 153.
// An #ff8000 tint gives red = grey, green = grey * 128 / 255 truncated, blue 0.
const FilterCase kFilterCases[] = {
    {"WhiteTintIsGrey", "monocro #ffffff\nprint 1\n", 0x666666},
    {"RedTintKeepsOnlyRed", "monocro #FF0000\nprint 1\n", 0x660000},
    {"Negative", "nega 1\nprint 1\n", 0xcc9966},
    {"Negative1InvertsBeforeTheTint", "nega 1\nmonocro #ff8000\nprint 1\n", 0x994c00},
    {"Negative2InvertsAfterTheTint", "nega 2\nmonocro #ff8000\nprint 1\n", 0x99ccff},
    {"Negative3IsOff", "nega 1\nprint 1\nnega 3\nprint 1\n", 0x336699},
    {"FiltersWaitForTheNextEffect", "nega 1\nmonocro #ffffff\n", 0x336699},
    {"OffShowsColourWithTheNextEffect", "monocro #ffffff\nprint 1\nmonocro OFF\nprint 1\n",
     0x336699},
};

class Filter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(Filter, TintsAndInvertsTheRedrawnScreen) {
    const FilterCase& c = GetParam();
    Harness h;
    h.scenario(std::string(test::kPrologue) + "bg #336699,1\n" + c.commands + "end\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(test::windowColoursAt(h.platform().window(), {{10, 10}}), Colours{c.shown});
}

INSTANTIATE_TEST_SUITE_P(All, Filter, ::testing::ValuesIn(kFilterCases), test::CaseName());

TEST(FilterRedraw, APartialRedrawFiltersOnlyItsRegion) {
    Harness h;
    h.file("p.bmp", bmp24(200, 400, [](int, int) { return 0x102030u; }));
    h.scenario(std::string(test::kPrologue) +
               "bg #336699,1\nnega 1\nprint 1\nld c,\":c;p.bmp\",1\nend\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(test::windowColoursAt(h.platform().window(), {{320, 300}, {10, 10}}),
              (Colours{0xefdfcf, 0xcc9966}));
}

// The text window is laid over the filtered picture: its tint (#999999, 153 / 255 of each
// channel) darkens the inverted #cc9966 instead of being inverted itself.
TEST(FilterRedraw, TheTextWindowIsLaidOverAfterTheFilters) {
    Harness h;
    h.scenario(std::string(test::kPrologue) +
               "erasetextwindow 0\nbg #336699,1\nあ\nnega 1\nprint 1\nend\n");
    ASSERT_EQ(h.run(), 0) << h.log();
    EXPECT_EQ(test::windowColoursAt(h.platform().window(), {{600, 400}}), Colours{0x7a5b3d});
}

// Each pixel of the background tells where it came from: red and the green's upper bits hold x,
// blue and the green's lowest bit hold y; green is never 0, so black is the uncovered band.
uint32_t gradient(int x, int y) {
    const uint32_t green = 0x80u | uint32_t(x >> 8) << 4 | uint32_t(y >> 8);
    return uint32_t(x & 0xff) << 16 | green << 8 | uint32_t(y & 0xff);
}

struct Origin {
    int x, y;
    bool operator==(const Origin&) const = default;
};

// Where the window's pixel (x, y) was taken from; nullopt in the black band.
std::optional<Origin> originAt(const RgbImage& picture, int x, int y) {
    const uint8_t* p = picture.pixel(x, y);
    if (p[1] == 0) return std::nullopt;
    return Origin{p[0] | (p[1] >> 4 & 3) << 8, p[2] | (p[1] & 1) << 8};
}

class QuakeTest : public ::testing::Test {
protected:
    // Runs the quake at virtual time 0 and shoots the window at each of `times`.
    std::vector<RgbImage> run(const std::string& quake, const std::vector<int>& times) {
        std::string events;
        int last = 0;
        for (size_t i = 0; i < times.size(); ++i) {
            events += "wait " + std::to_string(times[i] - last) + "\nshot " + shot(i) + "\n";
            last = times[i];
        }
        h_ = std::make_unique<Harness>(events);
        h_->file("grad.bmp", bmp24(640, 480, gradient));
        // n <= 0 only puts the window back.
        h_->scenario(std::string(test::kPrologue) + "bg \"grad.bmp\",1\n" + quake +
                     "\nquakex 0,100\nquakey -1,100\nwait 1000\nend\n");
        EXPECT_EQ(h_->run(), 0) << h_->log();
        std::vector<RgbImage> shots;
        for (size_t i = 0; i < times.size(); ++i) {
            auto picture = readPng(shot(i));
            EXPECT_TRUE(picture) << i;
            shots.push_back(picture ? *picture : RgbImage{});
        }
        return shots;
    }
    std::string shot(size_t i) const {
        return (dir_.path() / ("q" + std::to_string(i) + ".png")).string();
    }

    test::TempDir dir_;
    std::unique_ptr<Harness> h_;
};

// quakex 2, 320: 10 ms a frame; the first swing goes out to 32 pixels in steps of 8, the second
// to 16 in steps of 4.
TEST_F(QuakeTest, HorizontalFramesAtTheirTimesThenTheWindowBack) {
    const std::vector<int> times = {5, 15, 45, 125, 165, 205, 285, 400};
    const std::vector<RgbImage> shots = run("quakex 2,320", times);
    ASSERT_EQ(shots.size(), times.size());
    std::vector<int> offsets;
    for (const RgbImage& s : shots) {
        const auto o = s.width ? originAt(s, 320, 240) : std::nullopt;
        offsets.push_back(o ? 320 - o->x : 9999);
    }
    EXPECT_EQ(offsets, (std::vector{0, 8, 32, -32, 0, 16, -16, 0}));
    // The uncovered band: 32 columns on the left; on the right 33, from x = 639 - 32.
    EXPECT_EQ(originAt(shots[2], 31, 100), std::nullopt);
    EXPECT_EQ(originAt(shots[2], 32, 100), (Origin{0, 100}));
    EXPECT_EQ(originAt(shots[3], 606, 100), (Origin{638, 100}));
    EXPECT_EQ(originAt(shots[3], 607, 100), std::nullopt);
    EXPECT_EQ(originAt(shots[7], 639, 479), (Origin{639, 479}));
    // Only the window moved.
    const GraphicsState& g = h_->engine().graphics;
    EXPECT_EQ(pixelColor(g.surfaces.display, 0, 0), gradient(0, 0));
    EXPECT_EQ(pixelColor(g.surfaces.composition, 639, 479), gradient(639, 479));
    EXPECT_TRUE(g.layers.dirty.empty());
}

TEST_F(QuakeTest, VerticalFramesMoveRowsWithTheBandAtTheTopOrBottom) {
    const std::vector<RgbImage> shots = run("quakey 1,160", {45, 125});
    ASSERT_EQ(shots.size(), 2u);
    ASSERT_EQ(shots[0].width, 640);
    EXPECT_EQ(originAt(shots[0], 100, 15), std::nullopt);
    EXPECT_EQ(originAt(shots[0], 100, 16), (Origin{100, 0}));
    ASSERT_EQ(shots[1].width, 640);
    EXPECT_EQ(originAt(shots[1], 100, 462), (Origin{100, 478}));
    EXPECT_EQ(originAt(shots[1], 100, 463), std::nullopt);
}

} // namespace
} // namespace orv
