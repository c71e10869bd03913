#include "shell/Shutdown.h"

#include "interp/Engine.h"
#include "media/StopAllMedia.h"
#include "shell/ShellState.h"

namespace orv {

void shutDown(Engine& engine, int status) {
    // An error met while shutting down must not run the sequence twice.
    if (!engine.shell.shuttingDown) {
        engine.shell.shuttingDown = true;
        engine.platform.killTimer(kMainTimerId);
        stopAllMedia(engine);
        if (engine.shell.fullScreen) {
            engine.platform.setFullScreen(false);
            engine.shell.fullScreen = false;
        }
    }
    throw ExitRequest{status};
}

} // namespace orv
