#include "persist/PersistCommands.h"

#include "interp/Engine.h"
#include "persist/GlobalsFile.h"

namespace orv {

void cmdGlobalon(Engine& engine) {
    engine.persist.globalsEnabled = true;
}

void cmdFilelog(Engine& engine) {
    engine.persist.fileLog.enabled = true;
}

void startPersistPass(Engine& engine) {
    engine.persist.globalsEnabled = false;
    engine.persist.fileLog.enabled = false;
    loadGlobals(engine);
}

void afterPersistDefinitions(Engine& engine) {
    if (engine.persist.fileLog.enabled) loadFileLog(engine);
}

} // namespace orv
