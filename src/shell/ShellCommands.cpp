#include "shell/ShellCommands.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/CursorFile.h"
#include "shell/MainMenu.h"
#include "shell/Wait.h"
#include "shell/WindowTitle.h"
#include "util/sjis.h"

namespace orv {

namespace {

void clearCustomCursor(Engine& engine) {
    engine.shell.customCursor.reset();
    engine.platform.setArrowCursor();
}

// Works the menu bar as a player would: what is pending is handled first, the command is posted
// like a choice from the bar, and the window procedure carries it out among the messages after.
void postMenuCommand(Engine& engine, int id, uint32_t sleepMs) {
    WaitRule rule;
    rule.kind = engine.platform.waitKind();
    rule.virtualStepMs = sleepMs;
    rule.maxIdleMs = sleepMs;
    rule.idleAfterEvent = true;
    auto fiftyRounds = [&] {
        int rounds = 0;
        waitUntil(engine, rule, [&](const Event*) { return ++rounds == 50; });
    };
    fiftyRounds();
    engine.platform.postEvent({EventKind::Command, 0, 0, id});
    fiftyRounds();
}

} // namespace

const CursorImage* currentCursorFrame(const ShellState& shell, uint32_t now) {
    if (!shell.customCursor) return nullptr;
    const AnimatedCursor& cursor = *shell.customCursor;
    if (cursor.sequence.empty() || cursor.frames.empty()) return nullptr;
    size_t step = 0;
    uint64_t cycle = 0;
    for (uint32_t ms : cursor.ratesMs) cycle += ms;
    if (cursor.animated() && cycle > 0 && cursor.ratesMs.size() == cursor.sequence.size()) {
        uint64_t t = uint32_t(now - shell.customCursorSince) % cycle;
        while (step + 1 < cursor.sequence.size() && t >= cursor.ratesMs[step]) {
            t -= cursor.ratesMs[step];
            ++step;
        }
    }
    const int frame = cursor.sequence[step];
    if (frame < 0 || size_t(frame) >= cursor.frames.size()) return nullptr;
    return &cursor.frames[size_t(frame)];
}

void cmdMousecursor(Engine& engine) {
    if (engine.script.buffer.data()[engine.script.pos] == 'o') {
        std::string word;
        readWord(engine, word);
        if (word != "off")
            reportError(engine, S(caption::kError),
                        S("mousecursorのパラメータは、offかファイル名です。"));
        clearCustomCursor(engine);
        return;
    }
    const std::string name = readString(engine);
    // Archives are searched once they exist; until then a file not on disk is not found.
    const std::optional<std::string> bytes = engine.fs.readAll(name);
    if (!bytes) reportError(engine, S(caption::kError), S("カーソルファイルが見つかりません。"));
    std::optional<AnimatedCursor> cursor = readCursorFile(*bytes);
    if (!cursor) {
        // A file the system could not load as a cursor left no custom cursor; the arrow shows.
        clearCustomCursor(engine);
        return;
    }
    ShellState& shell = engine.shell;
    shell.customCursor = std::move(*cursor);
    shell.customCursorSince = engine.platform.ticks();
    if (const CursorImage* frame = currentCursorFrame(shell, shell.customCursorSince))
        engine.platform.setCustomCursor(*frame);
}

void cmdCaption(Engine& engine) {
    const std::string title = readString(engine);
    setCaptionTitle(engine, sjis::toUtf8(title));
}

void cmdVersionstr(Engine& engine) {
    std::string first = readString(engine);
    expectComma(engine);
    std::string second = readString(engine);
    engine.shell.versionLine1 = std::move(first);
    engine.shell.versionLine2 = std::move(second);
}

void cmdMenuFull(Engine& engine) {
    postMenuCommand(engine, kMenuFullScreen, 1);
}

void cmdMenuWindow(Engine& engine) {
    postMenuCommand(engine, kMenuWindow, 0);
}

void cmdMenuClickDef(Engine& engine) {
    postMenuCommand(engine, kMenuClickDefault, 1);
}

void cmdMenuClickPage(Engine& engine) {
    postMenuCommand(engine, kMenuClickPage, 1);
}

void startShellPass(Engine& engine) {
    ShellState& shell = engine.shell;
    if (shell.customCursor) clearCustomCursor(engine);
    // Speed and WAVE have just taken their defaults again; their marks follow, so the bar never
    // shows a choice the engine has dropped.
    static constexpr int kSpeeds[] = {kMenuSpeedSlow, kMenuSpeedNormal, kMenuSpeedFast};
    for (int i = 0; i < 3; ++i) shell.menu.check(kSpeeds[i], shell.speedIndex == i);
    shell.menu.check(kMenuWaveOn, shell.waveEnabled);
    shell.menu.check(kMenuWaveOff, !shell.waveEnabled);
    fillFontMenu(engine);
    showFolderTitle(engine);
}

} // namespace orv
