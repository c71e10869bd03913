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
using test::Colours;
using test::Harness;
using test::kPrologue;

// A picture with a magenta top-left corner (its leftup key) and blue elsewhere.
std::string keyedBmp(int w, int h) {
    return bmp24(w, h, [](int x, int y) { return x == 0 && y == 0 ? 0xff00ffu : 0x0000ffu; });
}

Colours screenAt(Harness& h, std::initializer_list<std::pair<int, int>> at) {
    return test::windowColoursAt(h.platform().window(), at);
}

TEST(ComposeCommandsTest, BackgroundColoursKeepTheirNames) {
    Harness h;
    EXPECT_EQ(h.run(std::string(kPrologue) + "bg #FfA0b1,1\nend\n"), 0);
    EXPECT_EQ(h.engine().graphics.layers.backgroundName, "#FfA0b1");
    EXPECT_EQ(screenAt(h, {{0, 0}, {639, 479}}), (Colours{0xffa0b1u, 0xffa0b1u}));
    EXPECT_EQ(pixelColor(h.engine().graphics.surfaces.display, 320, 240), 0xffa0b1u);
}

TEST(ComposeCommandsTest, BackgroundPicturesAreCentredAndDrawnOpaque) {
    Harness h;
    h.file("small.bmp", keyedBmp(320, 240));
    // A word that is neither black nor white is read as a string (here an alias); transmode does
    // not reach backgrounds, which are always opaque (the leftup key is drawn too).
    h.scenario(
        "*define\ntransmode alpha\nstralias pic,\"small.bmp\"\ngame\n*start\nbg pic,1\nend\n");
    EXPECT_EQ(h.run(), 0);
    const LayerState& layers = h.engine().graphics.layers;
    EXPECT_EQ(layers.backgroundName, "small.bmp");
    EXPECT_EQ(layers.background.width, 640);
    EXPECT_EQ(screenAt(h, {{159, 120}, {160, 120}, {161, 120}, {479, 359}, {480, 359}, {479, 360}}),
              (Colours{0, 0xff00ffu, 0x0000ffu, 0x0000ffu, 0, 0}));
}

TEST(ComposeCommandsTest, StandingPicturesPlacementLevelsAndClearing) {
    Harness h;
    h.file("c.bmp", keyedBmp(200, 400));
    h.file("l.bmp", keyedBmp(100, 50));
    h.scenario("*define\nunderline 470\ngame\n*start\nbg #000000,1\n"
               "ld c,\"c.bmp\",1\nld L,\"l.bmp\",1\ntal c,300,1\ntal l,-4,1\nend\n");
    EXPECT_EQ(h.run(), 0);
    const StandingPicture &centre = h.engine().graphics.layers.standing[kCentre],
                          &left = h.engine().graphics.layers.standing[kLeft];
    EXPECT_EQ(std::tuple(centre.x, centre.y, centre.picture.blendLevel), std::tuple(220, 70, 255));
    EXPECT_EQ(std::tuple(left.x, left.y, left.picture.blendLevel), std::tuple(110, 420, 0));
    // The key colour is transparent, level 255 is full strength and level 0 invisible.
    EXPECT_EQ(screenAt(h, {{220, 70}, {221, 70}, {419, 469}, {220, 470}, {150, 440}}),
              (Colours{0, 0x0000ffu, 0x0000ffu, 0, 0}));

    Harness clear;
    clear.file("c.bmp", keyedBmp(200, 400));
    clear.scenario(std::string(kPrologue) +
                   "bg #000000,1\nld l,\"c.bmp\",0\nld c,\"c.bmp\",0\nld r,\"c.bmp\",1\n"
                   "cl a,1\nend\n");
    EXPECT_EQ(clear.run(), 0);
    for (const StandingPicture& p : clear.engine().graphics.layers.standing)
        EXPECT_TRUE(p.name.empty() && p.picture.empty());
    EXPECT_EQ(screenAt(clear, {{480, 300}}), Colours{0});
}

TEST(ComposeCommandsTest, EffectZeroDefersUntilAPrint) {
    Harness h;
    EXPECT_EQ(h.run(std::string(kPrologue) + "bg white,0\nend\n"), 0);
    EXPECT_EQ(screenAt(h, {{10, 10}}), Colours{0});
    EXPECT_EQ(h.engine().graphics.layers.dirty, kWholeScreen);

    Harness shown;
    EXPECT_EQ(shown.run(std::string(kPrologue) + "bg white,0\nprint 1\nend\n"), 0);
    EXPECT_EQ(shown.engine().graphics.layers.backgroundName, "white");
    EXPECT_EQ(screenAt(shown, {{10, 10}}), Colours{0xffffffu});
    EXPECT_TRUE(shown.engine().graphics.layers.dirty.empty());
}

TEST(ComposeCommandsTest, EffectDefinitionsAndInlineEffects) {
    Harness h;
    h.scenario("*define\neffect 2,10,1000\neffect 49,15,500,\"m.bmp\"\neffect 3,1\n"
               "windoweffect 18,300,\"w.bmp\"\neffectblank 7\ngame\n*start\nend\n");
    EXPECT_EQ(h.run(), 0);
    const EffectState& e = h.engine().graphics.effects;
    EXPECT_EQ(std::tuple(e.registry[2].type, e.registry[2].duration, e.registry[49].image,
                         e.registry[3].type, e.registry[4].type),
              std::tuple(10, 1000, "m.bmp", 1, -1));
    EXPECT_EQ(std::tuple(e.windowEffect.type, e.windowEffect.duration, e.windowEffect.image,
                         e.effectPause),
              std::tuple(18, 300, "w.bmp", 7));

    // A registered crossfade and the same one given inline run alike on the virtual clock, and
    // the inline form leaves the reading position after its arguments.
    Harness fades;
    fades.scenario("*define\neffect 2,10,1000\ngame\n*start\nresettimer\nbg white,2\n"
                   "gettimer %0\nresettimer\nbg black, 10 , 1000\ngettimer %1\nend\n");
    EXPECT_EQ(fades.run(), 0);
    const int32_t viaRegistry = fades.engine().vars.num[0];
    EXPECT_GT(viaRegistry, 700);
    EXPECT_NEAR(viaRegistry, fades.engine().vars.num[1], 5);
    EXPECT_EQ(screenAt(fades, {{5, 5}}), Colours{0});
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
