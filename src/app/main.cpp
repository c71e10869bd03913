// The program entry: the command line, the choice of platform, the engine run
// and the exit status.
#include "app/HeadlessBackend.h"
#include "app/Options.h"
#include "app/WindowBackend.h"
#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "maker/Explore.h"
#include "maker/ScenarioCheck.h"
#include "persist/OrvaneSettings.h"
#include "persist/PlayerFiles.h"
#include "platform/Png.h"
#include "platform/TerminationSignals.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/sdl/SdlAudio.h"
#include "script/ErrorCaptions.h"
#include "script/ScenarioPack.h"
#include "shell/Startup.h"
#include "sound/SoundLog.h"
#include "util/escape.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace {

std::unique_ptr<orv::AudioDevice> makeHeadlessAudio() {
    return std::make_unique<orv::HeadlessAudio>();
}

int runGame(const orv::Options& options) {
    using namespace orv;
    std::error_code ec;
    if (!std::filesystem::is_directory(options.gameDir, ec)) {
        std::cerr << "orvane: game folder not found: " << escapeControls(options.gameDir) << "\n";
        return 1;
    }

    std::string error;
    std::string notice;
    const std::filesystem::path playerFolder =
        choosePlayerFolder(options.gameDir, options.saveDir, &notice);
    if (!notice.empty()) std::cerr << "orvane: " << escapeControls(notice) << "\n";
    std::unique_ptr<Platform> platform =
        options.headless
            ? createHeadlessPlatform(options, &error)
            : createWindowPlatform(options, readOrvaneSettings(PlayerFiles(playerFolder)), &error);
    if (!platform) {
        std::cerr << "orvane: " << escapeControls(error) << "\n";
        return 1;
    }

    // Two windowed copies would fight over the same save files; headless runs are
    // tests and may run side by side.
    std::optional<SingleInstanceLock> lock =
        options.headless ? std::nullopt
                         : SingleInstanceLock::acquire(SingleInstanceLock::defaultPath());
    if (!options.headless && !lock) {
        platform->messageBox(caption::kStartup, "同時に二つ実行しないでください",
                             MessageBoxButtons::Ok);
        return 1;
    }
    TempDirectory::removeStale(TempDirectory::base());
    std::optional<TempDirectory> tempDirectory = TempDirectory::make(&error);
    if (!tempDirectory) {
        std::cerr << "orvane: cannot make a temporary directory (" << error
                  << "); pictures and sounds packed in archives will not load\n";
    }

    int status = 0;
    std::string textOutError;
    {
        Engine engine(*platform, options.gameDir);
        if (tempDirectory) engine.tempDirectory = tempDirectory->path();
        engine.persist.files = PlayerFiles(playerFolder);
        if (!options.soundLogFile.empty()) {
            engine.sound.log = SoundLog::open(options.soundLogFile, &error);
            if (!engine.sound.log) {
                std::cerr << "orvane: cannot write sound log '"
                          << escapeControls(options.soundLogFile) << "': " << error << "\n";
                return 1;
            }
        }
        if (!options.textOutFile.empty()) {
            engine.player.textOut = Transcript::open(options.textOutFile, &error);
            if (!engine.player.textOut) {
                std::cerr << "orvane: cannot write text out '"
                          << escapeControls(options.textOutFile) << "': " << error << "\n";
                return 1;
            }
        }
        engine.player.menuOffered = true;
        engine.sound.makeDevice = options.headless ? makeHeadlessAudio : createSdlAudio;
        if (options.headless)
            engine.interp.statementLimit = options.maxSteps.value_or(kDefaultMaxSteps);
        try {
            runEngine(engine);
        } catch (const ExitRequest& exit) {
            status = exit.status;
            if (!exit.message.empty()) std::cerr << "orvane: " << exit.message << "\n";
        }
        if (engine.player.textOut && !engine.player.textOut->finish(&error)) textOutError = error;
    }
    // An output that was asked for and could not be written fails the run, unless the run
    // already ended with a status that says more.
    auto outputLost = [&status](const std::string& line) {
        std::cerr << "orvane: " << line << "\n";
        if (status == 0) status = 1;
    };
    if (!options.screenshotFile.empty() &&
        !writePng(options.screenshotFile, platform->window(), &error))
        outputLost("cannot write screenshot '" + escapeControls(options.screenshotFile) +
                   "': " + error);
    if (!platform->finishTranscript(&error))
        outputLost("cannot write transcript '" + escapeControls(options.transcriptFile) +
                   "': " + error);
    if (!textOutError.empty())
        outputLost("cannot write text out '" + escapeControls(options.textOutFile) +
                   "': " + textOutError);
    if (platform->lostOutput() && status == 0) status = 1;
    return status;
}

} // namespace

int main(int argc, char** argv) {
    using namespace orv;
    CommandLine commandLine = parseCommandLine(argc, argv);
    if (!commandLine.ok()) {
        std::cerr << usageErrorText(commandLine.error);
        return 1;
    }
    const Options& options = commandLine.options;
    if (options.help) {
        std::cout << helpText();
        return 0;
    }
    if (options.version) {
        std::cout << versionText();
        return 0;
    }
    if (!options.packScenario.empty()) {
        std::string error;
        if (!packScenario(options.packScenario, &error)) {
            std::cerr << "orvane: --pack-scenario: " << escapeControls(error) << "\n";
            return 1;
        }
        return 0;
    }
    if (options.check) return runCheck(options.gameDir, options.json, std::cout, std::cerr);
    if (options.explore) {
        ExploreOptions explore;
        explore.gameDir = options.gameDir;
        explore.plays = *options.explore;
        explore.seed = options.seed.value_or(explore.seed);
        explore.jobs = options.jobs.value_or(explore.jobs);
        explore.maxSteps = options.maxSteps.value_or(explore.maxSteps);
        explore.maxTimeMs = options.maxTimeMs.value_or(explore.maxTimeMs);
        try {
            return runExplore(explore, std::cout, std::cerr);
        } catch (const std::exception& e) {
            std::cerr << "orvane: " << escapeControls(e.what()) << "\n";
            return 1;
        }
    }
    // Before the window backend starts, so that it keeps these handlers rather than its own.
    installTerminationSignals();
    try {
        return runGame(options);
    } catch (const std::exception& e) {
        std::cerr << "orvane: " << escapeControls(e.what()) << "\n";
        return 1;
    }
}
