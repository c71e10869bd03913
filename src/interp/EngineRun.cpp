#include "interp/EngineRun.h"

#include "interp/CommandTable.h"
#include "interp/Engine.h"
#include "interp/Subsystems.h"
#include "menus/LookbackViewer.h"
#include "persist/OrvaneSettings.h"
#include "persist/Snapshot.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/ScenarioLoader.h"
#include "script/TokenReader.h"
#include "shell/PlayerMenu.h"
#include "shell/SettingsFiles.h"
#include "shell/ShellState.h"
#include "shell/Wait.h"
#include "text/DisplayText.h"
#include "text/ReadMarks.h"
#include "text/TextCommands.h"
#include "util/sjis.h"

namespace orv {

namespace {

// In a window the statements let the window's messages through at least this often (real
// milliseconds), so a loop that never waits can still be closed, asked to quit and redrawn.
constexpr uint32_t kPumpIntervalMs = 16;
// A restart by definereset builds the screens and reads the scenario again: it counts as this
// many statements against the limit, so a game block that only restarts ends too.
constexpr uint64_t kRestartSteps = 100000;

void checkStatementLimit(const InterpState& interp) {
    if (interp.statementLimit && interp.statementCount >= interp.statementLimit)
        throw ExitRequest{
            4, "stopped at the statement limit: " + std::to_string(interp.statementLimit) +
                   " statements (--max-steps)"};
}

void scheduleNextCheck(InterpState& interp) {
    interp.nextCheck = interp.statementCount + interp.checkInterval;
    if (interp.statementLimit && interp.nextCheck > interp.statementLimit)
        interp.nextCheck = interp.statementLimit;
}

// Statements slow enough to space the looks apart get looked at more often, so the messages
// still go through in time; fast ones space them out again.
void keepWindowResponsive(Engine& engine, uint32_t now) {
    InterpState& interp = engine.interp;
    const uint32_t sinceCheck = now - interp.lastCheck;
    interp.lastCheck = now;
    if (sinceCheck > kPumpIntervalMs / 4 && interp.checkInterval > 1)
        interp.checkInterval /= 2;
    else if (sinceCheck == 0 && interp.checkInterval < kClockCheckInterval)
        interp.checkInterval *= 2;
    if (now - interp.lastPump < kPumpIntervalMs) return;
    interp.lastPump = now;
    pumpAllPending(engine);
}

void everyFewStatements(Engine& engine) {
    InterpState& interp = engine.interp;
    checkStatementLimit(interp);
    Platform& platform = engine.platform;
    const uint32_t now = platform.ticks();
    if (!platform.isHeadless()) keepWindowResponsive(engine, now);
    if (now != interp.lastYield) {
        interp.lastYield = now;
        platform.sleep(0);
    }
    scheduleNextCheck(interp);
}

// At the start of a statement: a click while a trap is armed jumps to it.
void checkTrap(Engine& engine) {
    InterpState& interp = engine.interp;
    if (engine.platform.hasEvent(EventKind::LButtonUp)) {
        engine.platform.discardEvents(EventKind::LButtonUp);
        std::string label = std::move(interp.trapLabel);
        interp.trapLabel.clear();
        jumpToLabel(engine, label);
    } else if (engine.shell.clickFlag) {
        std::string label = std::move(interp.trapLabel);
        interp.trapLabel.clear();
        engine.shell.clickFlag = false;
        jumpToLabel(engine, label);
    }
}

inline bool isWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// The statements up to a restart, the end of the definition block, or a reset request (thrown).
void runUntilReset(Engine& engine, BlockMode mode) {
    ScriptState& script = engine.script;
    InterpState& interp = engine.interp;
    while (!interp.restartRequested) {
        if (interp.resetRequested) throw ResetRequest{};
        if (!interp.trapLabel.empty()) checkTrap(engine);
        const char* text = script.buffer.data();
        char c = text[script.pos];
        if (c == ' ' || c == '\t' || c == '\n' || c == ':') {
            ++script.pos;
            continue;
        }
        if (++interp.statementCount >= interp.nextCheck) everyFewStatements(engine);
        if (interp.trace) interp.trace->mark(script.pos);
        if (c == '\0') {
            reportError(engine, S(caption::kScript), S("ファイルの終端に達しました。"));
        } else if (c == '*' || c == ';') {
            while (text[script.pos] != '\n' && text[script.pos] != '\0') ++script.pos;
        } else if (isWordStart(c)) {
            if (mode == BlockMode::Game) snapshotBeforeStatement(engine, true);
            dispatchStatement(engine, mode);
            if (mode == BlockMode::Definition && interp.gameStarted) return;
        } else {
            if (mode == BlockMode::Definition)
                reportError(engine, S(caption::kDefineBlock),
                            S("*defineブロックには、表示文はおけません。"));
            snapshotBeforeStatement(engine, false);
            beginDisplayLine(engine, script.pos);
            std::string line = assembleDisplayLine(engine);
            drawDisplayText(engine, line);
        }
    }
}

} // namespace

void appendFullWidthNumber(std::string& out, int32_t value) {
    uint32_t magnitude = uint32_t(value);
    if (value < 0) {
        out += "\x81\x7c"; // －
        magnitude = 0u - magnitude;
    }
    char digits[10];
    int count = 0;
    do {
        digits[count++] = char(magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (count > 0) {
        out += '\x82';
        out += char(0x4f + digits[--count]); // ０ is 82 4F, ９ is 82 58
    }
}

std::string assembleDisplayLine(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    std::string line;
    for (;;) {
        char c = text[script.pos];
        if (c == '\n' || c == '\0') break;
        if (c == '$') {
            line += readString(engine);
        } else if (c == '%' && !(script.pos >= 2 && text[script.pos - 2] == '!')) {
            appendFullWidthNumber(line, readNumber(engine));
        } else {
            line += c;
            ++script.pos;
        }
        if (line.size() > kMaxStringBytes)
            reportError(engine, S(caption::kRuntime),
                        formatMessage(S("表示文が長すぎます。%dバイトまでです。"),
                                      int64_t(kMaxStringBytes)));
    }
    return line;
}

void runStatements(Engine& engine, BlockMode mode) {
    InterpState& interp = engine.interp;
    interp.mode = mode;
    if (mode == BlockMode::Definition) {
        jumpToLabel(engine, "define");
        interp.trapLabel.clear();
        interp.gameStarted = false;
    }
    skipBlanks(engine);
    while (!interp.restartRequested) {
        try {
            runUntilReset(engine, mode);
            return;
        } catch (const ResetRequest&) {
            resetToStart(engine);
        } catch (const LoadRequest&) {
            // The load has put the read position at its page's first statement.
            interp.loadPending = false;
        }
    }
}

void resetToStart(Engine& engine) {
    resetSubsystemsToStart(engine);
    jumpToLabel(engine, "start");
}

void runEngine(Engine& engine) {
    InterpState& interp = engine.interp;
    scheduleNextCheck(interp);
    readConfig(engine);
    loadOrvaneSettings(engine);
    loadPlayerSettings(engine);
    for (bool restart = false;; restart = true) {
        if (restart) {
            interp.statementCount += kRestartSteps;
            checkStatementLimit(interp);
        }
        startSubsystemPasses(engine);
        loadScenario(engine);
        buildLabelTable(engine);

        runStatements(engine, BlockMode::Definition);
        finishSubsystemDefinitions(engine);

        engine.platform.setTimer(kMainTimerId, kMainTimerPeriodMs);
        engine.platform.showWindow();

        do {
            resetToStart(engine);
            runStatements(engine, BlockMode::Game);
        } while (!interp.restartRequested);
        engine.script.buffer.clear();
        engine.script.labels.clear();
    }
}

void cmdDefinereset(Engine& engine) {
    engine.interp.restartRequested = true;
}

void cmdGame(Engine& engine) {
    engine.interp.gameStarted = true;
    takeScriptFace(engine);
}

} // namespace orv
