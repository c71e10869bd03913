// Save slots: the snapshot the statement loop takes before each statement of a fresh page (a
// typical state: 20 sprites, 200 short string variables, a 10 KB backlog; and the largest record
// the slot fields allow), and loading a slot of the typical state back (reading the file,
// checking it, rebuilding the screen with its 20 sprite pictures). Writing is measured without
// the wait for the disk: the bytes of a save are the snapshot's, written as they are.
#include "graphics/GraphicsCommands.h"
#include "graphics/Sprites.h"
#include "interp/Engine.h"
#include "persist/SaveSlots.h"
#include "persist/Snapshot.h"
#include "platform/headless/HeadlessPlatform.h"
#include "script/LabelTable.h"
#include "text/TextWindow.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

using namespace orv;
namespace fs = std::filesystem;

// A 32 x 32 picture, 24-bit, grey.
std::string bmp32() {
    std::string s = "BM";
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
    };
    auto put16 = [&](uint16_t v) { s += static_cast<char>(v), s += static_cast<char>(v >> 8); };
    const uint32_t image = 32 * 32 * 3;
    put32(54 + image), put32(0), put32(54);
    put32(40), put32(32), put32(32), put16(1), put16(24), put32(0), put32(image);
    put32(0), put32(0), put32(0), put32(0);
    s.append(image, '\x80');
    return s;
}

struct Game {
    fs::path dir;
    HeadlessPlatform platform{HeadlessOptions{}, {}};
    std::unique_ptr<Engine> engine;

    explicit Game(bool largest) {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("orvane-bench-saves-" + std::to_string(rd()));
        fs::create_directories(dir);
        std::ofstream(dir / "s.bmp", std::ios::binary) << bmp32();
        engine = std::make_unique<Engine>(platform, dir);
        Engine& e = *engine;
        e.script.buffer.assign("*define\ngame\n*start\ntext\nend\n", ScenarioSource::Numbered);
        buildLabelTable(e);
        e.script.pos = *e.script.labels.find("start");
        startGraphicsPass(e);
        startTextPass(e);
        resetTextToStart(e);
        resetGraphicsToStart(e);

        const int sprites = largest ? 256 : 20;
        const std::string longName = std::string(249, 'n') + "s.bmp";
        for (int i = 0; i < sprites; ++i) {
            Sprite& s = spriteAt(e.graphics.layers, i);
            s.name = largest ? longName : "s.bmp";
            s.x = i * 8;
            s.visible = 1;
        }
        for (int i = 0; i < 200; ++i)
            e.vars.str[size_t(i)] = largest ? std::string(255, 'v') : "name" + std::to_string(i);
        const size_t backlog = largest ? 89998 : 10000;
        for (size_t i = 0; i + 2 <= backlog; i += 2)
            e.text.lookback.appendCharacter('\x82', '\xa0');
    }
    ~Game() { fs::remove_all(dir); }
};

void BM_TakeSnapshotTypical(benchmark::State& state) {
    Game game(false);
    for (auto _ : state) takeSnapshot(*game.engine);
    state.counters["bytes"] = double(snapshotBytes(*game.engine).size());
}
BENCHMARK(BM_TakeSnapshotTypical)->Unit(benchmark::kMicrosecond);

void BM_TakeSnapshotLargest(benchmark::State& state) {
    Game game(true);
    for (auto _ : state) takeSnapshot(*game.engine);
    state.counters["bytes"] = double(snapshotBytes(*game.engine).size());
}
BENCHMARK(BM_TakeSnapshotLargest)->Unit(benchmark::kMicrosecond);

void BM_LoadSlotTypical(benchmark::State& state) {
    Game game(false);
    Engine& e = *game.engine;
    takeSnapshot(e);
    std::ofstream(game.dir / slotFileName(1), std::ios::binary) << snapshotBytes(e);
    for (auto _ : state)
        if (loadSlot(e, 1) != LoadOutcome::Loaded) state.SkipWithError("the slot was refused");
}
BENCHMARK(BM_LoadSlotTypical)->Unit(benchmark::kMillisecond);

} // namespace
