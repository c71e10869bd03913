#include "app/HeadlessBackend.h"

#include "platform/Transcript.h"
#include "platform/headless/HeadlessPlatform.h"

#include <filesystem>

namespace orv {

std::unique_ptr<Platform> createHeadlessPlatform(const Options& options, std::string* error) {
    std::string message;
    std::vector<ScriptEvent> script;
    if (!options.eventsFile.empty()) {
        if (!loadEventScript(options.eventsFile, script, message)) {
            if (error) *error = message;
            return nullptr;
        }
        // Screenshot names are relative to where the program was started,
        // whatever directory the game runs in by the time they are taken.
        for (ScriptEvent& ev : script) {
            if (ev.kind != ScriptEventKind::Shot) continue;
            std::error_code ec;
            std::filesystem::path abs = std::filesystem::absolute(ev.file, ec);
            if (!ec) ev.file = abs.string();
        }
    }
    std::unique_ptr<Transcript> transcript;
    if (!options.transcriptFile.empty()) {
        transcript = Transcript::open(options.transcriptFile, &message);
        if (!transcript) {
            if (error)
                *error = "cannot write transcript '" + options.transcriptFile + "': " + message;
            return nullptr;
        }
    }
    HeadlessOptions headless;
    headless.autoClick = options.autoClick;
    headless.maxTimeMs = options.maxTimeMs.value_or(kDefaultMaxTimeMs);
    auto platform = std::make_unique<HeadlessPlatform>(headless, std::move(script));
    platform->setTranscript(std::move(transcript));
    return platform;
}

} // namespace orv
