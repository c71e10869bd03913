// Statement throughput of the interpreter on a tight arithmetic loop, run
// in-process on the headless platform.
#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "platform/headless/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path makeGame(const std::string& scenario) {
    std::random_device rd;
    fs::path dir = fs::temp_directory_path() / ("orvane-bench-" + std::to_string(rd()));
    fs::create_directories(dir);
    std::ofstream(dir / "0.txt", std::ios::binary) << scenario;
    return dir;
}

void runLoop(benchmark::State& state, const std::string& body) {
    const int64_t rounds = state.range(0);
    fs::path dir = makeGame("*define\ngame\n*start\n" + body + "\nend\n");
    uint64_t statements = 0;
    for (auto _ : state) {
        orv::HeadlessPlatform platform({}, {});
        orv::Engine engine(platform, dir);
        int status = -1;
        try {
            engine.vars.num[2] = int32_t(rounds);
            orv::runEngine(engine);
        } catch (const orv::ExitRequest& exit) {
            status = exit.status;
        }
        if (status != 0) state.SkipWithError("the loop did not end with end");
        statements += engine.interp.statementCount;
    }
    state.counters["statements/s"] =
        benchmark::Counter(double(statements), benchmark::Counter::kIsRate);
    fs::remove_all(dir);
}

// *l / add %0,3 / inc %1 / if %1 < N goto *l: five statements a round.
void BM_ArithmeticLoop(benchmark::State& state) {
    runLoop(state, "*l\nadd %0,3\ninc %1\nif %1 < " + std::to_string(state.range(0)) + " goto *l");
}
BENCHMARK(BM_ArithmeticLoop)->Arg(2000000)->Unit(benchmark::kMillisecond);

// The same loop with a bounded variable, a string append and an alias.
void BM_MixedLoop(benchmark::State& state) {
    runLoop(state, "*l\nadd %0,3 : mov $1,\"x\" : add $1,$1\ninc %1\nif %1 < " +
                       std::to_string(state.range(0)) + " goto *l");
}
BENCHMARK(BM_MixedLoop)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
