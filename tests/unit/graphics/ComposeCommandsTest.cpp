// The picture commands run through the engine on the headless platform.
#include "EngineHarness.h"
#include "Pictures.h"
#include "graphics/GraphicsCommands.h"
#include "graphics/ImageLoader.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orv {
namespace {

using test::bmp24;
using test::Harness;

// A picture with a magenta top-left corner (its leftup key) and blue elsewhere.
std::string keyedBmp(int w, int h) {
    return bmp24(w, h, [](int x, int y) { return x == 0 && y == 0 ? 0xff00ffu : 0x0000ffu; });
}

// What the commands put on the screen is the scenario folders compose-commands and
// compose-effect-definitions; a background's name is kept as given, for the saves.
TEST(ComposeCommandsTest, BackgroundsKeepTheNameTheyWereGiven) {
    for (const auto& [commands, name] :
         {std::pair{"bg #FfA0b1,1\n", "#FfA0b1"}, std::pair{"bg pic,1\n", "small.bmp"},
          std::pair{"bg white,0\nprint 1\n", "white"}}) {
        Harness h;
        h.file("small.bmp", keyedBmp(320, 240));
        EXPECT_EQ(h.run(std::string("*define\nstralias pic,\"small.bmp\"\ngame\n*start\n") +
                        commands + "end\n"),
                  0);
        EXPECT_EQ(h.engine().graphics.layers.backgroundName, name);
    }
}

// The picture commands' errors are rows of ScenarioErrorTest.
TEST(ComposeCommandsTest, LoaderFlagsTagsAndTheDefaultMode) {
    Harness h;
    h.file("k.bmp", keyedBmp(4, 4));
    EXPECT_EQ(h.run("*define\ntransmode copy\ngame\n*start\nend\n"), 0);
    Engine& e = h.engine();
    Surface s;
    loadImage(e, s, "k.bmp");
    EXPECT_EQ(std::tuple(s.transMode, s.width), std::tuple(TransMode::Copy, 4));

    loadImage(e, s, ":a/2,<10,20>,2;K.BMP"); // names are found in any case
    EXPECT_EQ(std::tuple(s.transMode, s.cellCount, s.cellTime, s.loopMode, displayedWidth(s)),
              std::tuple(TransMode::Alpha, 2, -1, 2, 1));
    EXPECT_EQ(s.cellTimes, (std::vector<int>{10, 20}));

    loadImage(e, s, ":#ff00ff;k.bmp");
    EXPECT_EQ(std::tuple(s.transMode, s.keyRed, s.keyGreen, s.cellCount, s.cellTimes.size()),
              std::tuple(TransMode::Keyed, 255, 0, 1, size_t{0}));

    e.graphics.optionalLoad = true;
    loadImage(e, s, ":l/3,160,2;cursor0.bmp");
    EXPECT_EQ(std::tuple(s.width, s.height, s.bitsPerPixel), std::tuple(1, 1, 24));

    e.persist.fileLog.enabled = true;
    e.graphics.optionalLoad = false;
    loadImage(e, s, "k.bmp");
    loadImage(e, s, "K.bmp");
    EXPECT_EQ(e.persist.fileLog.names, std::vector<std::string>{"K.BMP"});
}

} // namespace
} // namespace orv
