// The program entry: the command line, the choice of platform, the engine run
// and the exit status.
#include "app/HeadlessBackend.h"
#include "app/Options.h"
#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "platform/Png.h"
#include "platform/Transcript.h"
#include "platform/sdl/SdlPlatform.h"
#include "script/ErrorCaptions.h"
#include "script/ScenarioPack.h"
#include "shell/MainMenu.h"
#include "shell/Startup.h"
#include "util/escape.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace {

int runGame(const orv::Options& options) {
    using namespace orv;
    std::error_code ec;
    if (!std::filesystem::is_directory(options.gameDir, ec)) {
        std::cerr << "orvane: game folder not found: " << escapeControls(options.gameDir) << "\n";
        return 1;
    }

    std::string error;
    std::unique_ptr<Platform> platform;
    std::shared_ptr<Transcript> transcript;
    if (options.headless) {
        platform = createHeadlessPlatform(options, &error);
    } else {
        SdlOptions sdl;
        sdl.scale = options.scale;
        if (!options.transcriptFile.empty()) {
            transcript = Transcript::open(options.transcriptFile, &error);
            if (!transcript) {
                std::cerr << "orvane: cannot write transcript '"
                          << escapeControls(options.transcriptFile) << "': " << error << "\n";
                return 1;
            }
            sdl.transcript = [transcript](std::string_view text) { transcript->write(text); };
        }
        platform = createSdlPlatform(sdl, &error);
        // Through the menu command, as a stored full-screen setting is applied, so that the
        // engine's full-screen state, the bar and its check marks all follow.
        if (platform && options.fullscreen)
            platform->postEvent({EventKind::Command, 0, 0, kMenuFullScreen});
    }
    if (!platform) {
        // The error may quote the events file.
        std::cerr << "orvane: " << (options.headless ? "" : "cannot open a window: ")
                  << escapeControls(error) << "\n";
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
    std::optional<TempDirectory> tempDirectory = TempDirectory::make(&error);
    if (!tempDirectory) {
        std::cerr << "orvane: cannot make a temporary directory (" << error
                  << "); pictures and sounds packed in archives will not load\n";
    }

    int status = 0;
    {
        Engine engine(*platform, options.gameDir);
        if (tempDirectory) engine.tempDirectory = tempDirectory->path();
        if (options.headless)
            engine.interp.statementLimit = options.maxSteps.value_or(kDefaultMaxSteps);
        try {
            runEngine(engine);
        } catch (const ExitRequest& exit) {
            status = exit.status;
            if (!exit.message.empty()) std::cerr << "orvane: " << exit.message << "\n";
        }
    }
    if (!options.screenshotFile.empty()) {
        if (!writePng(options.screenshotFile, platform->window(), &error)) {
            std::cerr << "orvane: cannot write screenshot '"
                      << escapeControls(options.screenshotFile) << "': " << error << "\n";
        }
    }
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
    try {
        return runGame(options);
    } catch (const std::exception& e) {
        std::cerr << "orvane: " << escapeControls(e.what()) << "\n";
        return 1;
    }
}
