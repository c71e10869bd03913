// The lookback viewer over ten full pages (sixteen lines of twenty-two characters each): opening
// it on the newest page and leaving, and the same with one step to the page before in between.
// The difference of the two is the cost of showing one page.
#include "graphics/GraphicsCommands.h"
#include "interp/Engine.h"
#include "menus/LookbackViewer.h"
#include "platform/headless/HeadlessPlatform.h"
#include "text/DisplayText.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace orv;

struct TenPages {
    HeadlessPlatform platform{HeadlessOptions{}, {}};
    Engine engine{platform, std::filesystem::temp_directory_path()};

    TenPages() {
        startGraphicsPass(engine);
        startTextPass(engine);
        resetTextToStart(engine);
        resetGraphicsToStart(engine);
        engine.shell.skipMode = true; // the page waits end by themselves
        const std::string line = S("吾輩は猫である。名前はまだ無い。どこで生れた");
        for (int page = 0; page < 10; ++page) {
            for (int i = 0; i < 15; ++i) drawDisplayText(engine, line);
            drawDisplayText(engine, line + "\\");
        }
        engine.shell.skipMode = false;
    }

    void open(bool step) {
        if (step) {
            platform.postEvent({EventKind::MouseMove, 320, 100, 0});
            platform.postEvent({EventKind::LButtonUp, 320, 100, 0});
        }
        platform.postEvent({EventKind::RButtonUp, 320, 100, 0});
        benchmark::DoNotOptimize(showLookback(engine));
    }
};

void BM_LookbackOpenAndLeave(benchmark::State& state) {
    TenPages pages;
    if (pages.engine.text.lookback.pageCount() != 10) state.SkipWithError("pages not recorded");
    for (auto _ : state) pages.open(false);
}
BENCHMARK(BM_LookbackOpenAndLeave)->Unit(benchmark::kMillisecond);

void BM_LookbackOpenStepAndLeave(benchmark::State& state) {
    TenPages pages;
    for (auto _ : state) pages.open(true);
}
BENCHMARK(BM_LookbackOpenStepAndLeave)->Unit(benchmark::kMillisecond);

} // namespace
