// Display text drawn in skip mode, headless: every character goes through the renderer (lookback,
// glyph cell, blending into the display, copy to the window, look-ahead and line breaking) with
// no delay. "Cached" reuses the coverage cells of a small character set, as a long scenario
// does; "Uncached" empties the cell cache before every line so each character is rasterised.
#include "graphics/GraphicsCommands.h"
#include "interp/Engine.h"
#include "platform/headless/HeadlessPlatform.h"
#include "text/DisplayText.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace orv;

struct SkipEngine {
    HeadlessPlatform platform{HeadlessOptions{}, {}};
    Engine engine{platform, std::filesystem::temp_directory_path()};

    SkipEngine() {
        startGraphicsPass(engine);
        startTextPass(engine);
        resetTextToStart(engine);
        resetGraphicsToStart(engine);
        engine.shell.skipMode = true;
    }
};

// Lines of 22 characters (one short of the window's 23, so a line ends by its own line feed);
// every 15th ends with a page wait so that the page never overflows.
std::vector<std::string> makePage(const std::string& alphabetUtf8) {
    const std::string sjisChars = S(alphabetUtf8);
    std::vector<std::string> lines;
    size_t at = 0;
    for (int l = 0; l < 15; ++l) {
        std::string line;
        for (int c = 0; c < 22; ++c) {
            line.append(sjisChars, at % sjisChars.size(), 2);
            at += 2;
        }
        if (l == 14) line += '\\';
        lines.push_back(std::move(line));
    }
    return lines;
}

constexpr int kCharsPerPage = 15 * 22;

void BM_SkipCached(benchmark::State& state) {
    SkipEngine s;
    const auto page = makePage("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"
                               "まみむめもやゆよらりるれろわをん、。");
    for (const std::string& line : page) drawDisplayText(s.engine, line); // warm the cells
    int64_t chars = 0;
    for (auto _ : state) {
        for (const std::string& line : page) drawDisplayText(s.engine, line);
        chars += kCharsPerPage;
    }
    state.SetItemsProcessed(chars);
}
BENCHMARK(BM_SkipCached)->Unit(benchmark::kMillisecond);

void BM_SkipUncached(benchmark::State& state) {
    SkipEngine s;
    const auto page = makePage("漢字表示速度計測用文章生成試験東西南北春夏秋冬朝昼晩");
    int64_t chars = 0;
    for (auto _ : state) {
        for (const std::string& line : page) {
            s.engine.text.glyphs.clear();
            drawDisplayText(s.engine, line);
        }
        chars += kCharsPerPage;
    }
    state.SetItemsProcessed(chars);
}
BENCHMARK(BM_SkipUncached)->Unit(benchmark::kMillisecond);

} // namespace
