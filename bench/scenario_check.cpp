// --check on a large scenario (about 5 MB in ten files, 5000 labels, jumps, choices and pictures
// among the text), loading included, as a game maker runs it. The aim: well under 200 ms.
#include "maker/ScenarioCheck.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 10;
constexpr int kLabels = 5000;
constexpr size_t kTarget = 5000000;
constexpr int kPictures = 50;

fs::path makeGame() {
    std::random_device rd;
    fs::path dir = fs::temp_directory_path() / ("orvane-bench-check-" + std::to_string(rd()));
    fs::create_directories(dir);
    for (int p = 0; p < kPictures; ++p)
        std::ofstream(dir / ("bg" + std::to_string(p) + ".bmp"), std::ios::binary) << "BM";
    // Display text (Shift-JIS) and commands, CR LF ended; every label is jumped to.
    const std::string text = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\x81\x41\x82\xa0\x82\xa2"
                             "\x82\xa4\x82\xa6\x82\xa8\x81\x42\r\nmov %1,%2 : add %1,3 ; note\r\n";
    const size_t perFile = kTarget / kFiles;
    int label = 0;
    std::string first = "*define\r\ngame\r\n*start\r\n";
    for (int f = 0; f < kFiles; ++f) {
        std::string body = f == 0 ? first : std::string();
        int labelsHere = kLabels / kFiles - (f == 0 ? 2 : 0);
        const size_t every = perFile / size_t(labelsHere + 1);
        size_t nextLabel = every;
        while (body.size() < perFile) {
            if (body.size() >= nextLabel && labelsHere > 0) {
                const std::string name = "label_" + std::to_string(label++);
                body += "bg \"bg" + std::to_string(label % kPictures) + ".bmp\",1\r\n";
                body += "select \"\x82\xa0\",*" + name + ",\"\x82\xa2\",*" + name + "\r\n";
                body += "*" + name + "\r\n";
                --labelsHere;
                nextLabel += every;
            }
            body += text;
        }
        if (f == kFiles - 1) body += "end\r\n";
        std::ofstream(dir / (std::to_string(f) + ".txt"), std::ios::binary) << body;
    }
    return dir;
}

void BM_CheckScenario(benchmark::State& state) {
    const fs::path dir = makeGame();
    int status = -1;
    size_t findings = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        status = orv::runCheck(dir.string(), false, out, err);
        findings = out.str().size();
        benchmark::DoNotOptimize(status);
    }
    if (status != 0 || findings != 0) state.SkipWithError("the generated scenario is not clean");
    std::error_code ec;
    fs::remove_all(dir, ec);
}
BENCHMARK(BM_CheckScenario)->Unit(benchmark::kMillisecond);

} // namespace
