// The picture commands run through the engine on the headless platform.
#include "EngineHarness.h"
#include "Pictures.h"
#include "graphics/GraphicsCommands.h"
#include "graphics/ImageLoader.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Harness;
using test::kPrologue;
using test::windowPixel;

using test::bmp24;

std::string solidBmp(int w, int h, uint32_t rgb) {
    return bmp24(w, h, [rgb](int, int) { return rgb; });
}

// A picture with a magenta top-left corner (its leftup key) and blue elsewhere.
std::string keyedBmp(int w, int h) {
    return bmp24(w, h, [](int x, int y) { return x == 0 && y == 0 ? 0xff00ffu : 0x0000ffu; });
}

uint32_t screenAt(Harness& h, int x, int y) {
    return windowPixel(h.platform().window(), x, y);
}

TEST(ComposeCommandsTest, BackgroundColoursAndTheirNames) {
    Harness h;
    h.scenario(std::string(kPrologue) + "bg #FfA0b1,1\nwait 1\nbg white,1\nend\n");
    EXPECT_EQ(h.run(), 0);
    EXPECT_EQ(h.engine().graphics.layers.backgroundName, "white");
    EXPECT_EQ(screenAt(h, 639, 479), 0xffffffu);

    Harness colour;
    colour.scenario(std::string(kPrologue) + "bg #FfA0b1,1\nend\n");
    EXPECT_EQ(colour.run(), 0);
    EXPECT_EQ(colour.engine().graphics.layers.backgroundName, "#FfA0b1");
    EXPECT_EQ(screenAt(colour, 0, 0), 0xffa0b1u);
    EXPECT_EQ(pixelColor(colour.engine().graphics.surfaces.display, 320, 240), 0xffa0b1u);
}

TEST(ComposeCommandsTest, BackgroundPicturesAreCentredAndDrawnOpaque) {
    Harness h;
    h.file("small.bmp", keyedBmp(320, 240));
    h.file("full.bmp", solidBmp(640, 480, 0x123456));
    // A word that is neither black nor white is read as a string (here an alias); transmode does
    // not reach backgrounds, which are always opaque.
    h.scenario(
        "*define\ntransmode alpha\nstralias pic,\"small.bmp\"\ngame\n*start\nbg pic,1\nend\n");
    EXPECT_EQ(h.run(), 0);
    const LayerState& layers = h.engine().graphics.layers;
    EXPECT_EQ(layers.backgroundName, "small.bmp");
    EXPECT_EQ(layers.background.width, 640);
    EXPECT_EQ(screenAt(h, 159, 120), 0u);
    EXPECT_EQ(screenAt(h, 160, 120), 0xff00ffu); // copy mode: the leftup key is drawn too
    EXPECT_EQ(screenAt(h, 161, 120), 0x0000ffu);
    EXPECT_EQ(screenAt(h, 479, 359), 0x0000ffu);
    EXPECT_EQ(screenAt(h, 480, 359), 0u);
    EXPECT_EQ(screenAt(h, 479, 360), 0u);

    Harness full;
    full.file("full.bmp", solidBmp(640, 480, 0x123456));
    full.scenario(std::string(kPrologue) + "bg \"full.bmp\",1\nend\n");
    EXPECT_EQ(full.run(), 0);
    EXPECT_EQ(screenAt(full, 0, 0), 0x123456u);
    EXPECT_EQ(screenAt(full, 639, 479), 0x123456u);
}

TEST(ComposeCommandsTest, StandingPicturesPlacementLevelsAndClearing) {
    Harness h;
    h.file("c.bmp", keyedBmp(200, 400));
    h.file("l.bmp", keyedBmp(100, 50));
    h.scenario("*define\nunderline 470\ngame\n*start\nbg #000000,1\n"
               "ld c,\"c.bmp\",1\nld L,\"l.bmp\",1\ntal c,300,1\ntal l,-4,1\nend\n");
    EXPECT_EQ(h.run(), 0);
    const LayerState& layers = h.engine().graphics.layers;
    EXPECT_EQ(layers.standing[kCentre].x, 220);
    EXPECT_EQ(layers.standing[kCentre].y, 70);
    EXPECT_EQ(layers.standing[kLeft].x, 110);
    EXPECT_EQ(layers.standing[kLeft].y, 420);
    EXPECT_EQ(layers.standing[kCentre].picture.blendLevel, 255);
    EXPECT_EQ(layers.standing[kLeft].picture.blendLevel, 0);
    EXPECT_EQ(screenAt(h, 220, 70), 0u);        // the key colour is transparent
    EXPECT_EQ(screenAt(h, 221, 70), 0x0000ffu); // level 255: full strength
    EXPECT_EQ(screenAt(h, 419, 469), 0x0000ffu);
    EXPECT_EQ(screenAt(h, 220, 470), 0u);
    EXPECT_EQ(screenAt(h, 150, 440), 0u); // level 0: invisible

    Harness clear;
    clear.file("c.bmp", keyedBmp(200, 400));
    clear.scenario(std::string(kPrologue) +
                   "bg #000000,1\nld l,\"c.bmp\",0\nld c,\"c.bmp\",0\nld r,\"c.bmp\",1\n"
                   "cl a,1\nend\n");
    EXPECT_EQ(clear.run(), 0);
    for (const StandingPicture& p : clear.engine().graphics.layers.standing) {
        EXPECT_TRUE(p.name.empty());
        EXPECT_TRUE(p.picture.empty());
    }
    EXPECT_EQ(screenAt(clear, 480, 300), 0u);
}

TEST(ComposeCommandsTest, EffectZeroDefersUntilAPrint) {
    Harness h;
    h.scenario(std::string(kPrologue) + "bg white,0\nend\n");
    EXPECT_EQ(h.run(), 0);
    EXPECT_EQ(screenAt(h, 10, 10), 0u);
    EXPECT_EQ(h.engine().graphics.layers.dirty, kWholeScreen);

    Harness shown;
    shown.scenario(std::string(kPrologue) + "bg white,0\nprint 1\nend\n");
    EXPECT_EQ(shown.run(), 0);
    EXPECT_EQ(screenAt(shown, 10, 10), 0xffffffu);
    EXPECT_TRUE(shown.engine().graphics.layers.dirty.empty());
}

TEST(ComposeCommandsTest, EffectDefinitionsAndInlineEffects) {
    Harness h;
    h.scenario("*define\neffect 2,10,1000\neffect 49,15,500,\"m.bmp\"\neffect 3,1\n"
               "windoweffect 18,300,\"w.bmp\"\neffectblank 7\ngame\n*start\nend\n");
    EXPECT_EQ(h.run(), 0);
    const EffectState& e = h.engine().graphics.effects;
    EXPECT_EQ(e.registry[2].type, 10);
    EXPECT_EQ(e.registry[2].duration, 1000);
    EXPECT_EQ(e.registry[49].image, "m.bmp");
    EXPECT_EQ(e.registry[3].type, 1);
    EXPECT_EQ(e.registry[4].type, -1);
    EXPECT_EQ(e.windowEffect.type, 18);
    EXPECT_EQ(e.windowEffect.duration, 300);
    EXPECT_EQ(e.windowEffect.image, "w.bmp");
    EXPECT_EQ(e.effectPause, 7);

    // A registered crossfade and the same one given inline run alike on the virtual clock, and
    // the inline form leaves the reading position after its arguments.
    Harness fades;
    fades.scenario("*define\neffect 2,10,1000\ngame\n*start\nresettimer\nbg white,2\n"
                   "gettimer %0\nresettimer\nbg black, 10 , 1000\ngettimer %1\nend\n");
    EXPECT_EQ(fades.run(), 0);
    const int32_t viaRegistry = fades.engine().vars.num[0];
    const int32_t viaInline = fades.engine().vars.num[1];
    EXPECT_GT(viaRegistry, 700);
    EXPECT_NEAR(viaRegistry, viaInline, 5);
    EXPECT_EQ(screenAt(fades, 5, 5), 0u);
}

// The picture commands' errors are rows of ScenarioErrorTest.
TEST(ComposeCommandsTest, LoaderFlagsTagsAndTheDefaultMode) {
    Harness h;
    h.file("k.bmp", keyedBmp(4, 4));
    h.scenario("*define\ntransmode copy\ngame\n*start\nend\n");
    EXPECT_EQ(h.run(), 0);
    Engine& e = h.engine();
    Surface s;
    loadImage(e, s, "k.bmp");
    EXPECT_EQ(s.transMode, TransMode::Copy);
    EXPECT_EQ(s.width, 4);

    loadImage(e, s, ":a/2,<10,20>,2;K.BMP"); // names are found in any case
    EXPECT_EQ(s.transMode, TransMode::Alpha);
    EXPECT_EQ(s.cellCount, 2);
    EXPECT_EQ(s.cellTime, -1);
    EXPECT_EQ(s.cellTimes, (std::vector<int>{10, 20}));
    EXPECT_EQ(s.loopMode, 2);
    EXPECT_EQ(displayedWidth(s), 1);

    loadImage(e, s, ":#ff00ff;k.bmp");
    EXPECT_EQ(s.transMode, TransMode::Keyed);
    EXPECT_EQ(s.keyRed, 255);
    EXPECT_EQ(s.keyGreen, 0);
    EXPECT_EQ(s.cellCount, 1);
    EXPECT_TRUE(s.cellTimes.empty());

    e.graphics.optionalLoad = true;
    loadImage(e, s, ":l/3,160,2;cursor0.bmp");
    EXPECT_EQ(s.width, 1);
    EXPECT_EQ(s.height, 1);
    EXPECT_EQ(s.bitsPerPixel, 24);

    e.fileLog.enabled = true;
    e.graphics.optionalLoad = false;
    loadImage(e, s, "k.bmp");
    loadImage(e, s, "K.bmp");
    EXPECT_EQ(e.fileLog.names, std::vector<std::string>{"K.BMP"});
}

} // namespace
} // namespace orv
