// Arbitrary scenario bytes through the loader, the label table and the
// statement loop, headless on the virtual clock. Runs are bounded by the
// clock and by a statement budget, so endless scenario loops end too.
#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "persist/PlayerFiles.h"
#include "platform/headless/EventScript.h"
#include "platform/headless/HeadlessPlatform.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>

#include <signal.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

constexpr std::string_view kDirPrefix = "orvane-fuzz-";

// Folders left by fuzzing processes that died (a crash ends the process
// without destructors): each is named after its process.
void removeStaleDirs(const fs::path& temp) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(temp, ec)) {
        std::string name = entry.path().filename().string();
        if (!name.starts_with(kDirPrefix)) continue;
        char* end = nullptr;
        long pid = std::strtol(name.c_str() + kDirPrefix.size(), &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) fs::remove_all(entry.path(), ec);
    }
}

// Every input writes its scenario: in memory when the machine offers a memory
// file system, since creating and renaming files on a disk was the largest
// single cost of an input.
fs::path scratchRoot() {
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path();
}

constexpr const char* kScenarioNames[] = {"0.txt", "1.txt", "orvane.dat", "orvane_sec.dat"};
constexpr size_t kKinds = std::size(kScenarioNames);

// The folders of this process, removed when the process ends normally: a game
// folder for each kind of scenario file, holding only that file, which every
// input of its kind rewrites in place. The folders thus stay as they were
// listed from one input to the next, and the engine need not list them again
// for each name it misses. The registry file lies beside them.
class ScratchDirs {
public:
    ScratchDirs() {
        fs::path temp = scratchRoot();
        removeStaleDirs(temp);
        root_ = temp / (std::string(kDirPrefix) + std::to_string(::getpid()));
        for (size_t kind = 0; kind < kKinds; ++kind) fs::create_directories(game(kind));
    }
    ~ScratchDirs() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    ScratchDirs(const ScratchDirs&) = delete;
    ScratchDirs& operator=(const ScratchDirs&) = delete;
    fs::path game(size_t kind) const { return root_ / ("game" + std::to_string(kind)); }
    fs::path registry() const { return root_ / "registry.ini"; }

private:
    fs::path root_;
};

const ScratchDirs& scratchDirs() {
    static const ScratchDirs dirs;
    return dirs;
}

// Clicks and keys at a few moments, so traps and delays see input.
const std::vector<orv::ScriptEvent>& events() {
    static const std::vector<orv::ScriptEvent> out = [] {
        std::vector<orv::ScriptEvent> parsed;
        std::string error;
        orv::parseEventScript("wait 30\nclick 5 5\nwait 40\nkey space\nwait 100\nclick\n", parsed,
                              error);
        return parsed;
    }();
    return out;
}

// A surface with only the bitmap of s: the picture attributes of one input
// must not leak into the next.
orv::Surface bitmapOf(orv::Surface& s) {
    orv::Surface out;
    orv::moveBitmap(out, s);
    return out;
}

// The screen-sized bitmaps of the previous input's platform and engine. The
// platform clears its window, and the reset before the game block clears what
// the game can see; handing them on spares allocating and faulting in several
// megabytes per input, which was nearly all of an input's cost.
struct Bitmaps {
    orv::FrameBuffer window;
    orv::EngineSurfaces surfaces;
    orv::Surface background;
    orv::Surface textLayer;
    std::vector<uint8_t> coverage;

    void lend(orv::Engine& engine) {
        engine.graphics.surfaces = std::move(surfaces);
        engine.graphics.layers.background = std::move(background);
        engine.text.textLayer = std::move(textLayer);
        engine.text.coverage = std::move(coverage);
    }
    void takeBack(orv::Engine& engine) {
        orv::EngineSurfaces& s = engine.graphics.surfaces;
        for (auto [from, to] : {std::pair{&s.display, &surfaces.display},
                                {&s.composition, &surfaces.composition},
                                {&s.effectWork, &surfaces.effectWork},
                                {&s.screenKeep, &surfaces.screenKeep},
                                {&s.glyph, &surfaces.glyph},
                                {&engine.graphics.layers.background, &background},
                                {&engine.text.textLayer, &textLayer}})
            *to = bitmapOf(*from);
        coverage = std::move(engine.text.coverage);
    }
};

// The glyph cells rendered so far: a cell depends only on its face, size and
// bytes, and rendering the same ones again was a tenth of an input's cost. A
// fresh cache once the kept one grows large bounds the memory, and the time a
// huge glyph surface would cost every later render. The cells come from the
// cache's own pool, so an input that adds cells does not hold more blocks than
// it freed, which would have the fuzzer run it again to look for a leak.
struct Glyphs {
    static constexpr size_t kMaxBytes = size_t(16) << 20;
    orv::GlyphCache cache;

    void lend(orv::Engine& engine) { engine.text.glyphs = std::move(cache); }
    void takeBack(orv::Engine& engine) {
        cache = std::move(engine.text.glyphs);
        if (cache.memoryBytes() > kMaxBytes) cache = orv::GlyphCache();
    }
};

} // namespace

// The first byte picks where the scenario comes from; the rest is its content.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const fs::path registry = scratchDirs().registry();
    const size_t kind = data[0] % kKinds;
    const fs::path dir = scratchDirs().game(kind);
    {
        std::ofstream out(dir / kScenarioNames[kind], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    }

    static NullBuffer nullBuffer;
    static std::ostream nullStream(&nullBuffer);
    static Bitmaps bitmaps;
    static Glyphs glyphs;
    orv::HeadlessOptions options;
    options.maxTimeMs = 5000;
    options.autoClick = true;
    options.log = &nullStream;
    orv::HeadlessPlatform platform(options, events(), std::move(bitmaps.window));
    orv::Engine engine(platform, dir);
    bitmaps.lend(engine);
    glyphs.lend(engine);
    engine.script.notices = &nullStream;
    engine.interp.statementLimit = 20000;
    engine.interp.registryFile = registry;
    // The player's files (saves, globals, read marks, settings) live and die with the input, so
    // that what an input does depends on its bytes alone; their readers have a target of their
    // own.
    engine.persist.files = orv::PlayerFiles::inMemory();
    try {
        orv::runEngine(engine);
    } catch (const orv::ExitRequest&) {
    }
    bitmaps.takeBack(engine);
    glyphs.takeBack(engine);
    bitmaps.window = std::move(platform.window());
    std::error_code ec;
    fs::remove(registry, ec);
    return 0;
}
