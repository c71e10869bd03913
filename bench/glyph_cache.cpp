// Glyph cells: lookups of cached cells (every character drawn after the first) against the
// three-times rasterisation and filtering of a cell not seen before.
#include "text/GlyphCache.h"
#include "util/sjis.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::string kFace = orv::S("ＭＳ ゴシック");

// The two bytes of each character of a line of typical display text.
std::vector<std::pair<unsigned char, unsigned char>> sampleCells() {
    const std::string text = orv::S("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつか"
                                    "ぬ。何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは"
                                    "記憶している。");
    std::vector<std::pair<unsigned char, unsigned char>> cells;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        cells.emplace_back(static_cast<unsigned char>(text[i]),
                           static_cast<unsigned char>(text[i + 1]));
    return cells;
}

void BM_CachedLookup(benchmark::State& state) {
    orv::GlyphCache cache;
    const auto cells = sampleCells();
    for (auto [a, b] : cells) cache.cell(kFace, 26, 26, true, a, b);
    size_t i = 0;
    for (auto _ : state) {
        auto [a, b] = cells[i];
        benchmark::DoNotOptimize(cache.cell(kFace, 26, 26, true, a, b).coverage.data());
        if (++i == cells.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CachedLookup);

// Every iteration renders: the cache is emptied whenever the sample runs out.
void BM_UncachedRender(benchmark::State& state) {
    const bool bold = state.range(0) != 0;
    const int size = int(state.range(1));
    orv::GlyphCache cache;
    const auto cells = sampleCells();
    cache.cell(kFace, size, size, bold, cells[0].first, cells[0].second); // font set-up
    cache.clear();
    size_t i = 0;
    for (auto _ : state) {
        auto [a, b] = cells[i];
        benchmark::DoNotOptimize(cache.cell(kFace, size, size, bold, a, b).coverage.data());
        if (++i == cells.size()) {
            i = 0;
            state.PauseTiming();
            cache.clear();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UncachedRender)->Args({0, 26})->Args({1, 26})->Args({1, 40});

} // namespace
