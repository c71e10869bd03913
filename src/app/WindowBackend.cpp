#include "app/WindowBackend.h"

#include "persist/OrvaneSettings.h"
#include "platform/Transcript.h"
#include "platform/sdl/SdlPlatform.h"
#include "shell/MainMenu.h"

namespace orv {

std::unique_ptr<Platform> createWindowPlatform(const Options& options,
                                               const OrvaneSettings& settings, std::string* error) {
    std::string message;
    SdlOptions sdl;
    sdl.scale = options.scaleGiven ? options.scale : settings.getInt(kScaleSetting, 0, 1, 8);
    if (!options.transcriptFile.empty()) {
        sdl.transcript = Transcript::open(options.transcriptFile, &message);
        if (!sdl.transcript) {
            if (error)
                *error = "cannot write transcript '" + options.transcriptFile + "': " + message;
            return nullptr;
        }
    }
    std::unique_ptr<Platform> platform = createSdlPlatform(sdl, &message);
    if (!platform) {
        if (error) *error = "cannot open a window: " + message;
        return nullptr;
    }
    // Through the menu command, as a stored full-screen setting is applied, so that the
    // engine's full-screen state, the bar and its check marks all follow.
    if (options.fullscreen || settings.getBool(kFullScreenSetting, false))
        platform->postEvent({EventKind::Command, 0, 0, kMenuFullScreen});
    return platform;
}

} // namespace orv
