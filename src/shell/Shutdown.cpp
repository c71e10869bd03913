#include "shell/Shutdown.h"

#include "interp/Engine.h"
#include "media/StopAllMedia.h"
#include "persist/GlobalsFile.h"
#include "persist/OrvaneSettings.h"
#include "shell/PlayerMenu.h"
#include "shell/SettingsFiles.h"
#include "shell/ShellState.h"

namespace orv {

void shutDown(Engine& engine, int status) {
    // An error met while shutting down must not run the sequence twice.
    if (!engine.shell.shuttingDown) {
        engine.shell.shuttingDown = true;
        engine.platform.killTimer(kMainTimerId);
        if (engine.persist.globalsEnabled) saveGlobals(engine);
        writeEnvData(engine);
        saveOrvaneSettings(engine);
        savePlayerFiles(engine);
        if (engine.persist.fileLog.enabled) saveFileLog(engine);
        stopAllMedia(engine);
        if (engine.shell.fullScreen) {
            engine.platform.setFullScreen(false);
            engine.shell.fullScreen = false;
        }
    }
    throw ExitRequest{status};
}

} // namespace orv
