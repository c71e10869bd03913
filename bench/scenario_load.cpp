// Loading a large scenario (about 5 MB in ten files, 5000 labels) and
// building its label table, as every engine run does.
#include "interp/Engine.h"
#include "platform/headless/HeadlessPlatform.h"
#include "script/LabelTable.h"
#include "script/ScenarioLoader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 10;
constexpr int kLabels = 5000;
constexpr size_t kTarget = 5000000;

fs::path makeGame() {
    std::random_device rd;
    fs::path dir = fs::temp_directory_path() / ("orvane-bench-" + std::to_string(rd()));
    fs::create_directories(dir);
    // Lines of display text (Shift-JIS) and commands, CR LF ended, with the
    // labels spread evenly through the files.
    const std::string text = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\x81\x41mov %1,%2 ; "
                             "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\r\n";
    size_t perFile = kTarget / kFiles;
    int label = 0;
    for (int f = 0; f < kFiles; ++f) {
        std::string body;
        int labelsHere = kLabels / kFiles;
        size_t every = perFile / size_t(labelsHere);
        size_t nextLabel = 0;
        while (body.size() < perFile) {
            if (body.size() >= nextLabel && labelsHere > 0) {
                body += "*label_" + std::to_string(label++) + "\r\n";
                --labelsHere;
                nextLabel += every;
            }
            body += text;
        }
        std::ofstream(dir / (std::to_string(f) + ".txt"), std::ios::binary) << body;
    }
    return dir;
}

void BM_LoadScenarioAndLabels(benchmark::State& state) {
    fs::path dir = makeGame();
    orv::HeadlessPlatform platform({}, {});
    orv::Engine engine(platform, dir);
    for (auto _ : state) {
        orv::loadScenario(engine);
        orv::buildLabelTable(engine);
        benchmark::DoNotOptimize(engine.script.labels.size());
    }
    if (engine.script.labels.size() != kLabels) state.SkipWithError("wrong label count");
    state.counters["bytes"] = double(engine.script.buffer.length());
    state.counters["labels"] = double(engine.script.labels.size());
    fs::remove_all(dir);
}
BENCHMARK(BM_LoadScenarioAndLabels)->Unit(benchmark::kMillisecond);

} // namespace
