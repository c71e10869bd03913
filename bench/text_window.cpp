// A whole-screen redraw with the text window shown: the background, then the window's tint and
// the page's text laid over it, as every picture command behind the window does. The page holds
// eight lines of text; the rest of the window is blank.
#include "graphics/GraphicsCommands.h"
#include "interp/Engine.h"
#include "platform/headless/HeadlessPlatform.h"
#include "text/DisplayText.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace orv;

void BM_RedrawUnderTextWindow(benchmark::State& state) {
    HeadlessPlatform platform{HeadlessOptions{}, {}};
    Engine engine{platform, std::filesystem::temp_directory_path()};
    startGraphicsPass(engine);
    startTextPass(engine);
    resetTextToStart(engine);
    resetGraphicsToStart(engine);
    engine.shell.skipMode = true;
    const std::string line = S("吾輩は猫である。名前はまだ無い。どこで生");
    for (int i = 0; i < 8; ++i) drawDisplayText(engine, line);
    for (auto _ : state) {
        redrawRegion(engine, kWholeScreen);
        benchmark::DoNotOptimize(engine.graphics.surfaces.composition.pixels.data());
    }
}
BENCHMARK(BM_RedrawUnderTextWindow)->Unit(benchmark::kMicrosecond);

} // namespace
