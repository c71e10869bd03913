// What the colour filters and the quakes show is the scenario folders filter-colours and
// filter-quakes; here, that a quake moves only the window.
#include "EngineHarness.h"
#include "Pictures.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Tells each pixel apart from its neighbours and from the black band.
uint32_t gradient(int x, int y) {
    return uint32_t(x * 7 & 0xff) << 16 | uint32_t(y * 5 & 0xff) << 8 | 0x80u;
}

TEST(Quake, LeavesTheDisplayAndTheCompositionAlone) {
    test::Harness h;
    h.file("p.bmp", test::bmp24(640, 480, gradient));
    ASSERT_EQ(h.run(std::string(test::kPrologue) + "bg \"p.bmp\",1\nquakex 2,320\nquakey 1,160\n"
                                                   "end\n"),
              0)
        << h.log();
    const GraphicsState& g = h.engine().graphics;
    EXPECT_EQ(pixelColor(g.surfaces.display, 0, 0), gradient(0, 0));
    EXPECT_EQ(pixelColor(g.surfaces.composition, 639, 479), gradient(639, 479));
    EXPECT_TRUE(g.layers.dirty.empty());
}

} // namespace
} // namespace orv
