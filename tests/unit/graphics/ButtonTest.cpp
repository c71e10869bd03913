// What button and link waits give back and show is the scenario folders button-waits,
// button-links and button-links-autoclick; here, what they leave behind inside.
#include "EngineHarness.h"
#include "Pictures.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Harness;
using test::kPrologue;

// The highlight is drawn on the display only, so the composition never sees it.
TEST(ButtonHighlight, LiesOnTheDisplayOnly) {
    Harness h("move 20 30\nwait 10\nclick\n");
    h.file("btn.bmp", test::bmp24(100, 100, [](int, int) { return 0xff0000u; }));
    ASSERT_EQ(h.run(std::string(kPrologue) + "bg #000080,1\nbtndef \"btn.bmp\"\n"
                                             "btn 1,0,0,100,100,0,0\nbtnwait2 %0\nend\n"),
              0)
        << h.log();
    EXPECT_EQ(pixelColor(h.engine().graphics.surfaces.composition, 20, 30), 0x000080u);
}

TEST(TextLinkWait, TheLinksAreGoneAfterTheWait) {
    Harness h("click 120 20\n");
    ASSERT_EQ(h.run(std::string(kPrologue) + "<1あいう>え<2おか>\ntbtnwait %0\nend\n"), 0)
        << h.log();
    EXPECT_EQ(h.engine().text.links.count, 0);
}

} // namespace
} // namespace orv
