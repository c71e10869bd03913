// The screen filters' cost in a full-screen redraw: a background and three standing pictures
// recomposed with the monochrome tint, and with the tint between the two inversions.
#include "graphics/Compose.h"
#include "graphics/GraphicsState.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace orv;

void fillFilterPattern(Surface& s, uint32_t seed) {
    uint32_t v = seed;
    for (uint8_t& b : s.pixels) {
        v = v * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(v >> 24);
    }
}

// A figure on a keyed background (leftup), or the same with its mask beside it (alpha).
Surface filterStandingPicture(int w, int h, bool alpha) {
    Surface s;
    createSurface(s, alpha ? 2 * w : w, h, 24);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2, dy = y - h / 2;
            const bool inside = dx * dx * h * h / (w * w) + dy * dy < h * h / 4;
            setPixel(s, x, y,
                     inside || alpha ? 0x402000u + static_cast<uint32_t>(x & 0xff) : 0x00ff00u);
            if (alpha) setPixel(s, w + x, y, inside ? 0u : 255u);
        }
    }
    s.transMode = alpha ? TransMode::Alpha : TransMode::LeftUp;
    return s;
}

void redrawWithFilters(benchmark::State& state, int negativeMode) {
    GraphicsState g;
    createEngineSurfaces(g);
    fillFilterPattern(g.layers.background, 3);
    const bool alphaAt[3] = {false, true, false};
    for (int pos = 0; pos < 3; ++pos) {
        StandingPicture& p = g.layers.standing[static_cast<size_t>(pos)];
        p.picture = filterStandingPicture(280, 440, alphaAt[pos]);
        p.name = "picture";
        p.x = kPositionCentres[static_cast<size_t>(pos)] - displayedWidth(p.picture) / 2;
        p.y = g.layers.baseline - p.picture.height;
    }
    g.layers.filters = FilterState{negativeMode, 1, 0xff, 0xc0, 0x80};
    for (auto _ : state) {
        redrawRegion(g.layers, g.surfaces.composition, kWholeScreen);
        benchmark::DoNotOptimize(g.surfaces.composition.pixels.data());
    }
}

void BM_RedrawFullScreenMonochrome(benchmark::State& state) {
    redrawWithFilters(state, 0);
}
BENCHMARK(BM_RedrawFullScreenMonochrome)->Unit(benchmark::kMillisecond);

void BM_RedrawFullScreenNegativeMonochrome(benchmark::State& state) {
    redrawWithFilters(state, 1);
}
BENCHMARK(BM_RedrawFullScreenNegativeMonochrome)->Unit(benchmark::kMillisecond);

} // namespace
