#include "interp/Subsystems.h"

#include "graphics/ButtonCommands.h"
#include "graphics/GraphicsCommands.h"
#include "graphics/Sprites.h"
#include "interp/Engine.h"
#include "media/PackedFiles.h"
#include "media/StopAllMedia.h"
#include "menus/ChoiceState.h"
#include "menus/LookbackViewer.h"
#include "menus/SystemMenuCommands.h"
#include "persist/PersistCommands.h"
#include "persist/SaveCommands.h"
#include "shell/SettingsFiles.h"
#include "shell/ShellCommands.h"
#include "sound/SoundCommands.h"
#include "text/TextWindow.h"

namespace orv {

namespace {

void startInterpPass(Engine& engine) {
    InterpState& interp = engine.interp;
    interp.restartRequested = false;
    interp.resetRequested = false;
    interp.loadPending = false;
    interp.random.seed(engine.platform.ticks());
}

void resetInterpToStart(Engine& engine) {
    InterpState& interp = engine.interp;
    interp.resetRequested = false;
    interp.loadPending = false;
    interp.trapLabel.clear();
    interp.gosubStack.clear();
}

void startShellFlagsPass(Engine& engine) {
    ShellState& shell = engine.shell;
    shell.clearEventFlags();
    shell.speedIndex = 1;
    shell.waveEnabled = true;
    startShellPass(engine);
}

void resetShellToStart(Engine& engine) {
    engine.shell.clickFlag = false;
    engine.shell.rightClickFlag = false;
}

void startVariablesPass(Engine& engine) {
    engine.vars.resetBounds();
    engine.vars.clearAliases();
}

void resetVariablesToStart(Engine& engine) {
    engine.vars.clearLocals();
}

constexpr SubsystemRow kRows[] = {
    {"media", stopAllMedia, stopAllMedia, nullptr},
    {"sound", startSoundPass, nullptr, nullptr},
    {"packed files", startPackedFilesPass, nullptr, nullptr},
    {"interp", startInterpPass, resetInterpToStart, nullptr},
    {"text", startTextPass, resetTextToStart, nullptr},
    {"graphics", startGraphicsPass, resetGraphicsToStart, nullptr},
    {"sprites", nullptr, resetSpritesToStart, nullptr},
    // The buttons outlive a reset to the start (only btndef and btnwait empty them).
    {"buttons", startButtonPass, nullptr, nullptr},
    {"shell", startShellFlagsPass, resetShellToStart, applyEnvData},
    {"choices", startChoicePass, nullptr, nullptr},
    {"system menu", startSystemMenuPass, resetSystemMenuToStart, loadDefaultLookbackButtons},
    {"variables", startVariablesPass, resetVariablesToStart, nullptr},
    {"persist", startPersistPass, nullptr, afterPersistDefinitions},
    {"save slots", startSavePass, resetSavesToStart, nullptr},
};

} // namespace

std::span<const SubsystemRow> subsystemRows() {
    return kRows;
}

void startSubsystemPasses(Engine& engine) {
    for (const SubsystemRow& row : kRows)
        if (row.startPass) row.startPass(engine);
}

void resetSubsystemsToStart(Engine& engine) {
    for (const SubsystemRow& row : kRows)
        if (row.resetToStart) row.resetToStart(engine);
}

void finishSubsystemDefinitions(Engine& engine) {
    for (const SubsystemRow& row : kRows)
        if (row.afterDefinitions) row.afterDefinitions(engine);
}

} // namespace orv
