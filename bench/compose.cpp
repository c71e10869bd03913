// Screen composition speed: one frame of the full-screen crossfade, and recomposing the whole
// screen from a background and three standing pictures.
#include "graphics/Compose.h"
#include "graphics/Blend.h"
#include "graphics/GraphicsState.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace orv;

void fillPattern(Surface& s, uint32_t seed) {
    uint32_t v = seed;
    for (uint8_t& b : s.pixels) {
        v = v * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(v >> 24);
    }
}

void BM_CrossfadeFrame(benchmark::State& state) {
    Surface display, composition, work;
    for (Surface* s : {&display, &composition, &work}) createSurface(*s, 640, 480, 24);
    fillPattern(display, 1);
    fillPattern(composition, 2);
    int level = 1;
    int phase = 1;
    for (auto _ : state) {
        crossfadeBytes(work.pixels.data(), display.pixels.data(), composition.pixels.data(), 0,
                       work.pixels.size(), level, phase);
        benchmark::DoNotOptimize(work.pixels.data());
        phase ^= 1;
        level = level % 254 + 1;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(work.pixels.size()));
}
BENCHMARK(BM_CrossfadeFrame)->Unit(benchmark::kMillisecond);

// A standing picture: a figure on a keyed background (leftup), or a figure with its mask (alpha).
Surface standingPicture(int w, int h, bool alpha) {
    Surface s;
    createSurface(s, alpha ? 2 * w : w, h, 24);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2, dy = y - h / 2;
            const bool inside = dx * dx * h * h / (w * w) + dy * dy < h * h / 4;
            const uint32_t colour =
                inside ? 0x402000u + static_cast<uint32_t>((x * 3 + y) & 0xff) : 0x00ff00u;
            setPixel(s, x, y, alpha ? 0x402000u + static_cast<uint32_t>(x & 0xff) : colour);
            if (alpha) {
                // Opaque inside, a soft edge band, invisible outside.
                const int edge = dx * dx * h * h / (w * w) + dy * dy - h * h / 5;
                const int m = edge < 0 ? 0 : edge > 4000 ? 255 : edge * 255 / 4000;
                setPixel(s, w + x, y, static_cast<uint32_t>(m));
            }
        }
    }
    s.transMode = alpha ? TransMode::Alpha : TransMode::LeftUp;
    return s;
}

void BM_RedrawFullScreen(benchmark::State& state) {
    GraphicsState g;
    createEngineSurfaces(g);
    fillPattern(g.layers.background, 3);
    const bool alphaAt[3] = {false, true, false};
    for (int pos = 0; pos < 3; ++pos) {
        StandingPicture& p = g.layers.standing[static_cast<size_t>(pos)];
        p.picture = standingPicture(280, 440, alphaAt[pos]);
        p.name = "picture";
        p.x = kPositionCentres[static_cast<size_t>(pos)] - displayedWidth(p.picture) / 2;
        p.y = g.layers.baseline - p.picture.height;
    }
    for (auto _ : state) {
        redrawRegion(g.layers, g.surfaces.composition, kWholeScreen);
        benchmark::DoNotOptimize(g.surfaces.composition.pixels.data());
    }
}
BENCHMARK(BM_RedrawFullScreen)->Unit(benchmark::kMillisecond);

} // namespace
