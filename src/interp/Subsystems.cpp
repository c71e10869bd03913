#include "interp/Subsystems.h"

#include "graphics/GraphicsCommands.h"
#include "interp/Engine.h"
#include "media/PackedFiles.h"
#include "media/StopAllMedia.h"
#include "menus/ChoiceState.h"
#include "shell/ShellCommands.h"
#include "sound/SoundCommands.h"
#include "text/TextWindow.h"

namespace orv {

namespace {

void startInterpPass(Engine& engine) {
    InterpState& interp = engine.interp;
    interp.restartRequested = false;
    interp.resetRequested = false;
    interp.random.seed(engine.platform.ticks());
}

void resetInterpToStart(Engine& engine) {
    InterpState& interp = engine.interp;
    interp.resetRequested = false;
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
    // Global variables start empty unless a globals file provides them.
    engine.vars.clearGlobals();
    engine.vars.clearAliases();
}

void resetVariablesToStart(Engine& engine) {
    engine.vars.clearLocals();
}

constexpr SubsystemRow kRows[] = {
    {"media", stopAllMedia, stopAllMedia},
    {"sound", startSoundPass, nullptr},
    {"packed files", startPackedFilesPass, nullptr},
    {"interp", startInterpPass, resetInterpToStart},
    {"text", startTextPass, resetTextToStart},
    {"graphics", startGraphicsPass, resetGraphicsToStart},
    {"shell", startShellFlagsPass, resetShellToStart},
    {"choices", startChoicePass, nullptr},
    {"variables", startVariablesPass, resetVariablesToStart},
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

} // namespace orv
