#include "graphics/Compose.h"
#include "Pictures.h"
#include "graphics/Blend.h"
#include "graphics/GraphicsState.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace orv {
namespace {

using test::Colours;
using test::coloursAt;
using test::makeIndexed;
using test::makePicture;
using test::solidPicture;

Surface screen(uint32_t rgb = 0x000000) {
    return solidPicture(640, 480, rgb);
}

uint8_t T(unsigned a, unsigned b) {
    return blendTable()[a][b];
}

uint32_t mixRgb(uint32_t s, uint32_t d, unsigned sw, unsigned dw) {
    uint32_t out = 0;
    for (int shift : {0, 8, 16})
        out |= static_cast<uint32_t>(T(sw, (s >> shift) & 0xff) + T(dw, (d >> shift) & 0xff))
               << shift;
    return out;
}

TEST(ComposeDirtyTest, AreasWidenToTheUnionClampedToTheScreen) {
    DirtyRect d;
    markDirty(d, -5, -5, 200, 500);
    EXPECT_EQ(d, (DirtyRect{0, 0, 200, 479}));
    markDirty(d, 150, 10, 700, 300);
    EXPECT_EQ(d, (DirtyRect{0, 0, 639, 479}));

    // An area off the right edge keeps its left but not its right, and clips to nothing.
    DirtyRect off, clipped;
    markDirty(off, 700, 20, 800, 30);
    EXPECT_EQ(off, (DirtyRect{700, 20, 639, 30}));
    EXPECT_FALSE(clipToScreen(off, clipped));
}

// ---- drawSurface ---------------------------------------------------------------------------

TEST(ComposeDrawTest, CopyModeDrawsEveryPixelAtItsPosition) {
    Surface dest = screen(0x123456);
    Surface pic = makePicture(4, 3, [](int x, int y) { return 0x010000u * x + 0x000100u * y + 7; });
    drawSurface(pic, dest, 10, 20);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixelColor(dest, 10 + x, 20 + y), pixelColor(pic, x, y));
    EXPECT_EQ(coloursAt(dest, {{9, 20}, {14, 20}, {10, 23}}),
              (Colours{0x123456u, 0x123456u, 0x123456u}));
}

TEST(ComposeDrawTest, LeftUpOnWideRowsKeysEveryMatchingPixelAndNothingElse) {
    // Key pixels at both row ends and scattered inside; near-misses differ in a single byte. The
    // last pixel ends the screen's last row.
    auto colour = [](int x, int y) -> uint32_t {
        if (x == 0 || x == 69 || (x * 7 + y) % 5 == 0) return 0x123456u;
        if (x % 11 == 0) return 0x123457u;
        if (x % 13 == 0) return 0x133456u;
        return 0x010203u * static_cast<uint32_t>(x + 1);
    };
    Surface pic = makePicture(70, 3, colour, TransMode::LeftUp);
    Surface dest = screen(0x999999);
    drawSurface(pic, dest, 570, 477);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 70; ++x)
            ASSERT_EQ(pixelColor(dest, 570 + x, 477 + y),
                      colour(x, y) == 0x123456u ? 0x999999u : colour(x, y));
}

TEST(ComposeDrawTest, KeyedColourAndPaletteIndexKeys) {
    Surface dest = screen(0x101010);
    Surface rgb = makePicture(
        2, 1, [](int x, int) { return x == 0 ? 0xff00ffu : 0x00ff00u; }, TransMode::Keyed);
    rgb.keyRed = rgb.keyBlue = 0xff;
    drawSurface(rgb, dest, 0, 0);
    EXPECT_EQ(coloursAt(dest, {{0, 0}, {1, 0}}), (Colours{0x101010u, 0x00ff00u}));

    // Index 1 is keyed even though index 0 has the same colour: keys compare indices.
    Surface indexed = makeIndexed(
        4, 2, [](int x, int y) { return (x + y) % 3; },
        [](int i) { return i == 2 ? 0x0000ffu : 0xabcdefu; }, TransMode::Keyed);
    indexed.keyIndex = 1;
    drawSurface(indexed, dest, 100, 100);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixelColor(dest, 100 + x, 100 + y),
                      pixelIndex(indexed, x, y) == 1 ? 0x101010u : pixelColor(indexed, x, y));
}

TEST(ComposeDrawTest, LeftUpOnAnIndexedPictureComparesIndicesNotColours) {
    Surface dest = screen(0x202020);
    // Indices 5 and 6 share a colour; only 5 (the top-left index) is transparent.
    Surface pic = makeIndexed(
        3, 1, [](int x, int) { return 5 + x; },
        [](int i) { return i == 7 ? 0x00ff00u : 0xff0000u; }, TransMode::LeftUp);
    drawSurface(pic, dest, 0, 0);
    EXPECT_EQ(coloursAt(dest, {{0, 0}, {1, 0}, {2, 0}}),
              (Colours{0x202020u, 0xff0000u, 0x00ff00u}));
}

TEST(ComposeDrawTest, AlphaMixesThePictureHalfByTheMaskHalf) {
    const uint32_t under = 0x6080a0;
    Surface dest = screen(under);
    // 4 wide: 2 picture columns and 2 mask columns. Masks: black, white; then 0x40, 0xc0.
    const int masks[2][2] = {{0x00, 0xff}, {0x40, 0xc0}};
    Surface pic = makePicture(
        4, 2,
        [&](int x, int y) -> uint32_t {
            if (x < 2) return 0xf01030u + 0x000100u * static_cast<uint32_t>(x + y);
            return static_cast<uint32_t>(masks[y][x - 2]) | 0x550000u; // only blue counts
        },
        TransMode::Alpha);
    drawSurface(pic, dest, 0, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(pixelColor(dest, x, y),
                      mixRgb(pixelColor(pic, x, y), under, 255 - masks[y][x], masks[y][x]));
    // Black mask: opaque; the mask itself is not drawn.
    EXPECT_EQ(coloursAt(dest, {{0, 0}, {2, 0}}), (Colours{pixelColor(pic, 0, 0), under}));
}

TEST(ComposeDrawTest, BlendLevelsWeighCopyKeyedAndAlphaPixels) {
    const uint32_t under = 0x204060;
    const int level = 100;
    Surface dest = screen(under);
    auto draw = [&](Surface picture, int x, int blendLevel) {
        picture.blendLevel = blendLevel;
        drawSurface(picture, dest, x, 0);
    };
    auto blackThen = [](uint32_t rgb) { return [rgb](int x, int) { return x ? rgb : 0u; }; };
    draw(solidPicture(2, 1, 0xc08040), 0, level);
    draw(makePicture(2, 1, blackThen(0xffffff), TransMode::LeftUp), 10, level);
    draw(makePicture(2, 1, blackThen(0x40), TransMode::Alpha), 20, level); // left half black
    auto index = [](int x, int) { return x; };
    auto palette = [](int i) { return i ? 0x10f0e0u : 0u; };
    draw(makeIndexed(2, 1, index, palette, TransMode::LeftUp), 30, level);
    draw(solidPicture(1, 1, 0xffffff), 40, 0);
    auto mix = [&](uint32_t rgb, unsigned w) { return mixRgb(rgb, under, w, 255 - w); };
    EXPECT_EQ(coloursAt(dest, {{0, 0}, {10, 0}, {11, 0}, {20, 0}, {30, 0}, {31, 0}, {40, 0}}),
              (Colours{mix(0xc08040, level), under, mix(0xffffff, level),
                       mix(0, T(255 - 0x40, level)), under, mix(0x10f0e0, level), under}));
    // Hand-computed for the blue channel: T[100][0x40] + T[155][0x60] = 25 + 58.
    EXPECT_EQ(pixelColor(dest, 0, 0) & 0xff, 25u + 58u);
}

TEST(ComposeDrawTest, ClippingDropsColumnsAndRowsOnEverySide) {
    Surface pic = makePicture(10, 8, [](int x, int y) { return 0x100000u * x + 0x10u * y + 1; });
    auto drawn = [&](const DirtyRect& clip, int x, int y) {
        Surface dest = screen();
        drawSurface(pic, dest, clip, x, y);
        return dest;
    };
    // Columns 0..2 and rows 0..2 of the picture fall before the clip.
    EXPECT_EQ(coloursAt(drawn({5, 6, 100, 100}, 2, 3), {{4, 6}, {5, 5}, {5, 6}, {11, 10}}),
              (Colours{0u, 0u, pixelColor(pic, 3, 3), pixelColor(pic, 9, 7)}));
    EXPECT_EQ(coloursAt(drawn({0, 0, 7, 5}, 2, 3), {{7, 5}, {8, 5}, {7, 6}}),
              (Colours{pixelColor(pic, 5, 2), 0u, 0u}));
    // Pictures hanging off the screen are cut at its edges.
    EXPECT_EQ(coloursAt(drawn(kWholeScreen, 635, 475), {{639, 479}}),
              Colours{pixelColor(pic, 4, 4)});
    EXPECT_EQ(coloursAt(drawn(kWholeScreen, -8, -6), {{0, 0}, {2, 0}}),
              (Colours{pixelColor(pic, 8, 6), 0u}));
    // A clip outside the screen is clamped to it; nothing left means nothing drawn.
    EXPECT_EQ(pixelColor(drawn({-50, -50, 2000, 2000}, 0, 0), 9, 7), pixelColor(pic, 9, 7));
    EXPECT_EQ(drawn({0, 0, 100, 100}, 200, 0).pixels, screen().pixels);
    EXPECT_EQ(drawn({0, 0, 100, 100}, 0, 200).pixels, screen().pixels);
}

TEST(ComposeDrawTest, TheCurrentCellIsDrawnAndAlphaCellsHaveTheirOwnMask) {
    // Three 2-pixel cells of solid colours.
    Surface cells =
        makePicture(6, 1, [](int x, int) { return 0x111111u * static_cast<uint32_t>(x / 2 + 1); });
    cells.cellCount = 3;
    cells.currentCell = 2;
    Surface dest = screen();
    drawSurface(cells, dest, 0, 0);
    EXPECT_EQ(coloursAt(dest, {{0, 0}, {1, 0}, {2, 0}}), (Colours{0x333333u, 0x333333u, 0u}));

    // Two alpha cells of 2 + 2 columns: the second cell's mask is white, so it draws nothing.
    Surface alpha = makePicture(
        4 * 2, 1,
        [](int x, int) {
            return x < 2 ? 0xff0000u : x < 4 ? 0u : x < 6 ? 0x00ff00u : 0x0000ffu;
        },
        TransMode::Alpha);
    alpha.cellCount = 2;
    alpha.currentCell = 1;
    dest = screen(0x808080);
    drawSurface(alpha, dest, 0, 0);
    EXPECT_EQ(pixelColor(dest, 0, 0), 0x808080u);
    alpha.currentCell = 0;
    drawSurface(alpha, dest, 0, 0);
    EXPECT_EQ(pixelColor(dest, 0, 0), 0xff0000u);
}

TEST(ComposeDrawTest, PicturesTheCompositorCannotDrawAreSkipped) {
    Surface dest = screen(0x445566);
    const std::vector<uint8_t> before = dest.pixels;
    Surface indexedAlpha = makeIndexed(
        4, 4, [](int, int) { return 1; }, [](int) { return 0xffffffu; }, TransMode::Alpha);
    drawSurface(indexedAlpha, dest, 0, 0);
    Surface empty;
    drawSurface(empty, dest, 0, 0);
    // More cells than the picture is wide: cell width 0.
    Surface narrow = solidPicture(2, 2, 0xffffff);
    narrow.cellCount = 3;
    drawSurface(narrow, dest, 0, 0);
    EXPECT_EQ(dest.pixels, before);
}

// ---- redrawRegion --------------------------------------------------------------------------

LayerState layersWithBackground(uint32_t rgb) {
    LayerState layers;
    layers.background = solidPicture(640, 480, rgb);
    layers.backgroundName = "bg";
    layers.sprites.resize(kSpriteCount);
    return layers;
}

// An opaque square of one colour: where two overlap, the colour tells which layer is on top.
template <class Layer> void put(Layer& layer, uint32_t rgb, int x, int y) {
    layer.name = "p";
    layer.picture = solidPicture(20, 20, rgb);
    layer.x = x;
    layer.y = y;
    if constexpr (requires { layer.visible; }) layer.visible = 1;
}

TEST(ComposeRedrawTest, HiddenOrNamelessLayersAreNotDrawnAndHumanz255PutsAllInFront) {
    LayerState layers = layersWithBackground(0x0000ff);
    put(layers.sprites[3], 0xff0000, 0, 0);
    layers.sprites[3].visible = 0;
    put(layers.sprites[4], 0x00ff00, 50, 0);
    layers.sprites[4].name.clear();
    put(layers.standing[kRight], 0x123456, 100, 0);
    layers.standing[kRight].name.clear();
    put(layers.standing[kLeft], 0x00ffff, 300, 0);
    put(layers.sprites[200], 0xaaaaaa, 305, 5);
    layers.humanz = 255;
    Surface comp = screen();
    redrawRegion(layers, comp, kWholeScreen);
    EXPECT_EQ(coloursAt(comp, {{1, 1}, {51, 1}, {101, 1}, {306, 6}}),
              (Colours{0x0000ffu, 0x0000ffu, 0x0000ffu, 0xaaaaaau}));
}

TEST(ComposeRedrawTest, OnlyTheRegionIsRecomposed) {
    LayerState layers = layersWithBackground(0x336699);
    put(layers.standing[kCentre], 0xffffff, 300, 200);
    Surface comp = screen(0x010203);
    redrawRegion(layers, comp, DirtyRect{305, 205, 309, 209});
    EXPECT_EQ(coloursAt(comp, {{305, 205}, {309, 209}, {304, 205}, {310, 209}, {305, 210}}),
              (Colours{0xffffffu, 0xffffffu, 0x010203u, 0x010203u, 0x010203u}));
    redrawRegion(layers, comp, DirtyRect{0, 0, 0, 0}); // the origin pixel alone
    EXPECT_EQ(pixelColor(comp, 0, 0), 0x336699u);
}

TEST(ComposeRedrawTest, TheTextWindowComesLastAndOnlyWhenInComposition) {
    LayerState layers = layersWithBackground(0x102030);
    struct Window : WindowLayer {
        std::vector<DirtyRect> seen;
        void draw(Surface& comp, const DirtyRect& r) override {
            // The window sees the finished picture layers.
            EXPECT_EQ(pixelColor(comp, r.left, r.top), 0x102030u);
            seen.push_back(r);
            setPixel(comp, 20, 20, 0xffffff);
        }
    } window;
    Surface comp = screen();
    redrawRegion(layers, comp, DirtyRect{-10, 10, 30, 900}, &window);
    EXPECT_TRUE(window.seen.empty());
    layers.textWindowInComposition = true;
    redrawRegion(layers, comp, DirtyRect{-10, 10, 30, 900}, &window);
    EXPECT_EQ(window.seen, std::vector<DirtyRect>{(DirtyRect{0, 10, 30, 479})});
    EXPECT_EQ(pixelColor(comp, 20, 20), 0xffffffu);
}

TEST(ComposeRedrawTest, BackgroundWindowShowsTheBackgroundOffsetOnBlack) {
    LayerState layers;
    layers.background = makePicture(100, 50, [](int x, int y) { return 0x010000u * x + y + 1; });
    layers.bgalia = BackgroundWindow{200, 100, 60, 40};
    Surface comp = screen(0x777777);
    redrawRegion(layers, comp, kWholeScreen);
    // (260, 139) the window is narrower than the picture.
    EXPECT_EQ(coloursAt(comp, {{199, 100}, {200, 100}, {259, 139}, {260, 139}, {259, 140}}),
              (Colours{0u, pixelColor(layers.background, 0, 0),
                       pixelColor(layers.background, 59, 39), 0u, 0u}));
    // A window bigger than the picture shows black where the picture ends.
    layers.bgalia = BackgroundWindow{600, 0, 100, 100};
    redrawRegion(layers, comp, kWholeScreen);
    EXPECT_EQ(coloursAt(comp, {{639, 49}, {639, 50}}),
              (Colours{pixelColor(layers.background, 39, 49), 0u}));
}

TEST(ComposeRedrawTest, IndexedAndMissingBackgrounds) {
    LayerState layers;
    layers.background = makeIndexed(
        640, 480, [](int x, int) { return x & 1; },
        [](int i) { return i ? 0xff8800u : 0x0088ffu; });
    Surface comp = screen(0x777777);
    redrawRegion(layers, comp, kWholeScreen);
    EXPECT_EQ(coloursAt(comp, {{0, 5}, {1, 5}}), (Colours{0x0088ffu, 0xff8800u}));
    layers.background = solidPicture(10, 10, 0xffffff);
    redrawRegion(layers, comp, kWholeScreen);
    EXPECT_EQ(coloursAt(comp, {{9, 9}, {10, 9}}), (Colours{0xffffffu, 0u}));
}

TEST(ComposeStateTest, ResetsKeepTheBaselineAndEmptyTheLayers) {
    GraphicsState g;
    createEngineSurfaces(g);
    g.layers.baseline = 400;
    g.layers.humanz = 3;
    g.layers.bgalia.x = 5;
    g.effects.registry[7].type = 10;
    g.effects.effectPause = 0;
    g.defaultTransMode = TransMode::Copy;
    resetGraphicsSettings(g);
    const EffectState& e = g.effects;
    EXPECT_EQ(std::tuple(g.layers.baseline, g.layers.humanz, g.layers.bgalia.on(), e.effectPause,
                         g.defaultTransMode),
              std::tuple(400, 127, false, 30, TransMode::LeftUp));
    EXPECT_EQ(
        std::tuple(e.registry[7].type, e.registry[0].type, e.registry[1].type, e.windowEffect.type),
        std::tuple(-1, 0, 1, 1));

    fillSurface(g.surfaces.display, 0xffffff);
    g.layers.standing[kLeft].name = "a.bmp";
    g.layers.backgroundName = "\"x.bmp\"";
    g.layers.filters.negativeMode = 2;
    resetLayersToStart(g);
    EXPECT_EQ(std::tuple(pixelColor(g.surfaces.display, 3, 3), g.layers.standing[kLeft].name,
                         g.layers.backgroundName, g.layers.filters.negativeMode),
              std::tuple(0u, "", "black", 0));
}

} // namespace
} // namespace orv
