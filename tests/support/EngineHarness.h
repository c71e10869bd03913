// An engine on a headless platform over a temporary game folder, for tests
// that run scenario code in-process: message boxes and the transcript are
// captured, and a run ends with the exit status it would give the process.
#pragma once

#include "TestSupport.h"
#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "platform/headless/EventScript.h"
#include "platform/headless/HeadlessPlatform.h"
#include "script/ScenarioLoader.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace orv::test {

// The piece written `times` times over.
inline std::string repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

// The bytes a game's scrambled scenario file holds for `plain`.
inline std::string scrambled(std::string plain, ScenarioSource source) {
    scramble(plain, source);
    return plain;
}

// Names each case of a parameterised test after its `name`, '-' read as '_' (which test names
// allow).
struct CaseName {
    template <class Info> std::string operator()(const Info& info) const {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    }
};

class CapturingPlatform : public HeadlessPlatform {
public:
    using HeadlessPlatform::HeadlessPlatform;
    void writeTranscript(std::string_view utf8) override {
        transcript.append(utf8);
        if (onTranscript) onTranscript(utf8);
    }
    std::optional<std::string> inputDialog(const InputDialogRequest& request,
                                           const InputCheck& check) override {
        inputDialogs.push_back(request);
        return HeadlessPlatform::inputDialog(request, check);
    }
    std::string transcript;
    // Every input dialog opened, as asked for.
    std::vector<InputDialogRequest> inputDialogs;
    // Lets a test act at the moment a line is shown.
    std::function<void(std::string_view)> onTranscript;
};

class Harness {
public:
    // events: an events file text; maxTimeMs bounds the run (status 4).
    explicit Harness(const std::string& events = "", uint64_t maxTimeMs = 600000,
                     bool autoClick = false) {
        std::vector<ScriptEvent> script;
        std::string error;
        EXPECT_TRUE(parseEventScript(events, script, error)) << error;
        HeadlessOptions options;
        options.log = &log_;
        options.maxTimeMs = maxTimeMs;
        options.autoClick = autoClick;
        platform_ = std::make_unique<CapturingPlatform>(options, std::move(script));
        engine_ = std::make_unique<Engine>(*platform_, dir_.path());
        engine_->interp.registryFile = dir_.path() / "registry.ini";
    }

    // Writes a game file; .txt scenario text is given in UTF-8 and stored as Shift-JIS.
    void file(const std::string& name, const std::string& utf8) {
        bool scenario = name.size() > 4 && name.substr(name.size() - 4) == ".txt";
        dir_.write(name, scenario ? sjis::fromUtf8(utf8) : utf8);
    }
    void scenario(const std::string& utf8) { file("0.txt", utf8); }

    // The whole engine run; the exit status it ends with.
    int run() {
        return capture([&] { runEngine(*engine_); });
    }
    // The same with this scenario (UTF-8) written first.
    int run(const std::string& utf8) {
        scenario(utf8);
        return run();
    }
    // Runs fn, returning the status of the ExitRequest it ends with, or -1.
    int capture(const std::function<void()>& fn) {
        try {
            fn();
        } catch (const ExitRequest& exit) {
            return exit.status;
        }
        return -1;
    }

    // Puts text (UTF-8) in the buffer as a loaded scenario, read position 0.
    void load(const std::string& utf8) {
        engine_->script.buffer.assign(sjis::fromUtf8(utf8), ScenarioSource::Numbered);
        engine_->script.buffer.fileEnds()[0] = engine_->script.buffer.length() - 1;
        engine_->script.pos = 0;
    }

    Engine& engine() { return *engine_; }
    CapturingPlatform& platform() { return *platform_; }
    const std::filesystem::path& dir() const { return dir_.path(); }
    // Message boxes shown so far, "[caption] text\n" each, in UTF-8.
    std::string log() const { return log_.str(); }
    std::string transcript() const { return platform_->transcript; }
    // The first line of the first message box: "[caption] text".
    std::string firstMessage() const {
        std::string all = log_.str();
        return all.substr(0, all.find('\n'));
    }

private:
    TempDir dir_;
    std::ostringstream log_;
    std::unique_ptr<CapturingPlatform> platform_;
    std::unique_ptr<Engine> engine_;
};

// A scenario's definition block that goes straight to the game block.
inline const char* const kPrologue = "*define\ngame\n*start\n";

} // namespace orv::test
