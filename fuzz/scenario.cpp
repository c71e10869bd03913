// Arbitrary scenario bytes through the loader, the label table and the
// statement loop, headless on the virtual clock. Runs are bounded by the
// clock and by a statement budget, so endless scenario loops end too.
#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "platform/headless/EventScript.h"
#include "platform/headless/HeadlessPlatform.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <streambuf>
#include <string>

namespace {

namespace fs = std::filesystem;

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

const fs::path& gameDir() {
    static const fs::path dir = [] {
        std::random_device rd;
        fs::path d = fs::temp_directory_path() / ("orvane-fuzz-" + std::to_string(rd()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// Clicks and keys at a few moments, so traps and delays see input.
std::vector<orv::ScriptEvent> events() {
    std::vector<orv::ScriptEvent> out;
    std::string error;
    orv::parseEventScript("wait 30\nclick 5 5\nwait 40\nkey space\nwait 100\nclick\n", out, error);
    return out;
}

} // namespace

// The first byte picks where the scenario comes from; the rest is its content.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const fs::path& dir = gameDir();
    for (const char* name : {"0.txt", "1.txt", "orvane.dat", "orvane_sec.dat"})
        fs::remove(dir / name);
    static const char* const kNames[] = {"0.txt", "1.txt", "orvane.dat", "orvane_sec.dat"};
    {
        std::ofstream out(dir / kNames[data[0] % 4], std::ios::binary);
        out.write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    }

    static NullBuffer nullBuffer;
    static std::ostream nullStream(&nullBuffer);
    orv::HeadlessOptions options;
    options.maxTimeMs = 5000;
    options.autoClick = true;
    options.log = &nullStream;
    orv::HeadlessPlatform platform(options, events());
    orv::Engine engine(platform, dir);
    engine.interp.statementLimit = 20000;
    engine.interp.registryFile = dir / "registry.ini";
    try {
        orv::runEngine(engine);
    } catch (const orv::ExitRequest&) {
    }
    return 0;
}
