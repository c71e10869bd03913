// Sprite speed: recomposing the whole screen under 100 sprites, and a pass of the cell ticker
// over a full table when no cell is due (every wait runs one per round).
//
// The scene is built by buildSpriteScene so that variants (filters over the same layers) can be
// measured against the same picture: name them BM_RedrawFullScreenSprites<Variant>.
#include "graphics/CellTicker.h"
#include "graphics/Compose.h"
#include "graphics/GraphicsCommands.h"
#include "graphics/GraphicsState.h"
#include "interp/Engine.h"
#include "platform/headless/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>

namespace {

using namespace orv;

uint32_t nextRandom(uint32_t& v) {
    v = v * 1664525u + 1013904223u;
    return v >> 8;
}

void fillSpritePattern(Surface& s, uint32_t seed) {
    for (uint8_t& b : s.pixels) b = static_cast<uint8_t>(nextRandom(seed));
}

// A w x h figure (a disc) on its key colour, or beside its mask in alpha mode.
Surface figure(int w, int h, bool alpha, uint32_t seed) {
    Surface s;
    createSurface(s, alpha ? 2 * w : w, h, 24);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int dx = 2 * x - w, dy = 2 * y - h;
            const bool inside = dx * dx * h * h + dy * dy * w * w < w * w * h * h;
            const uint32_t colour = nextRandom(seed) & 0xffffff;
            setPixel(s, x, y, alpha || inside ? colour : 0xff00ff);
            if (alpha) setPixel(s, w + x, y, inside ? (x * 7 + y) & 0x3f : 0xffffff);
        }
    }
    s.transMode = alpha ? TransMode::Alpha : TransMode::LeftUp;
    return s;
}

// A background, three standing pictures, and 100 visible 64 x 64 sprites spread over the screen
// (half keyed by their top-left pixel, half with an alpha mask, every third one with a level).
void buildSpriteScene(GraphicsState& g) {
    createEngineSurfaces(g);
    fillSpritePattern(g.layers.background, 3);
    for (int pos = 0; pos < 3; ++pos) {
        StandingPicture& p = g.layers.standing[static_cast<size_t>(pos)];
        p.picture = figure(280, 440, pos == 1, 10 + static_cast<uint32_t>(pos));
        p.name = "standing";
        p.x = kPositionCentres[static_cast<size_t>(pos)] - displayedWidth(p.picture) / 2;
        p.y = g.layers.baseline - p.picture.height;
    }
    g.layers.sprites.resize(kSpriteCount);
    for (int n = 0; n < 100; ++n) {
        Sprite& s = g.layers.sprites[static_cast<size_t>(n * 2)];
        s.picture = figure(64, 64, n % 2 == 1, 100 + static_cast<uint32_t>(n));
        if (n % 3 == 0) s.picture.blendLevel = 160;
        s.name = "sprite";
        s.visible = 1;
        s.x = (n % 10) * 60 - 8;
        s.y = (n / 10) * 46 - 8;
    }
}

void BM_RedrawFullScreenSprites(benchmark::State& state) {
    GraphicsState g;
    buildSpriteScene(g);
    for (auto _ : state) {
        redrawRegion(g.layers, g.surfaces.composition, kWholeScreen);
        benchmark::DoNotOptimize(g.surfaces.composition.pixels.data());
    }
}
BENCHMARK(BM_RedrawFullScreenSprites)->Unit(benchmark::kMillisecond);

// Every sprite loaded with three one-second cells, the clock standing still: nothing is due.
void BM_AnimateCellsNoneDue(benchmark::State& state) {
    HeadlessPlatform platform{HeadlessOptions{}, {}};
    Engine engine{platform, std::filesystem::temp_directory_path()};
    startGraphicsPass(engine);
    LayerState& layers = engine.graphics.layers;
    layers.sprites.resize(kSpriteCount);
    for (Sprite& s : layers.sprites) {
        s.picture = figure(48, 16, false, 7);
        s.picture.cellCount = 3;
        s.picture.cellTime = 1000;
        s.picture.lastCellTime = platform.ticks();
        s.name = "cells";
        s.visible = 1;
    }
    for (auto _ : state) {
        animateCells(engine);
        benchmark::DoNotOptimize(layers.dirty);
    }
}
BENCHMARK(BM_AnimateCellsNoneDue)->Unit(benchmark::kMicrosecond);

} // namespace
