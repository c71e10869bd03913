#include "shell/WindowProc.h"

#include "interp/Engine.h"
#include "persist/OrvaneSettings.h"
#include "shell/MainMenu.h"
#include "shell/MenuCommands.h"
#include "shell/PlayerMenu.h"
#include "shell/Screenshot.h"
#include "shell/ShellCommands.h"
#include "shell/ShellState.h"
#include "shell/Shutdown.h"
#include "shell/WindowTitle.h"
#include "sound/SoundPlayback.h"
#include "text/AutoForward.h"
#include "util/sjis.h"

namespace orv {

namespace {

// Rows of the full-screen picture over which the menu bar shows.
constexpr int kMenuRevealRows = 20;

void storePosition(ShellState& shell, const Event& event) {
    shell.pointerX = event.x;
    shell.pointerY = event.y;
    shell.clickX = event.x;
    shell.clickY = event.y;
}

bool isMouseEvent(EventKind kind) {
    switch (kind) {
    case EventKind::MouseMove:
    case EventKind::LButtonDown:
    case EventKind::LButtonUp:
    case EventKind::RButtonDown:
    case EventKind::RButtonUp:
        return true;
    default:
        return false;
    }
}

// The custom cursor is set again with every message while the pointer is over the picture; the
// window timer only moves an animated one on to its next step.
void updateCursor(Engine& engine, const Event& event) {
    ShellState& shell = engine.shell;
    if (!shell.customCursor) return;
    const bool inside = shell.mouseX > 0 && shell.mouseX < kScreenWidth && shell.mouseY > 0 &&
                        shell.mouseY < kScreenHeight;
    if (!inside) return;
    if (event.kind == EventKind::Timer && !shell.customCursor->animated()) return;
    if (const CursorImage* frame = currentCursorFrame(shell, engine.platform.ticks()))
        engine.platform.setCustomCursor(*frame);
}

// Close: the player is asked; a request to end from the system is not.
void closeWindow(Engine& engine, const Event& event) {
    Platform& platform = engine.platform;
    platform.killTimer(kMainTimerId);
    if (event.code != kCloseTerminate) {
        MessageBoxResult answer =
            platform.messageBox(sjis::toUtf8(S("終了確認")), sjis::toUtf8(S("終了しますか？")),
                                MessageBoxButtons::YesNo);
        if (answer != MessageBoxResult::Yes) {
            platform.setTimer(kMainTimerId, kMainTimerPeriodMs);
            return;
        }
    }
    engine.shell.skipMode = false;
    engine.shell.autoclickMode = false;
    shutDown(engine, 0);
}

// In full screen the bar comes while the pointer is in the top rows and goes below them.
void revealMenu(Engine& engine, int y) {
    ShellState& shell = engine.shell;
    if (!shell.fullScreen) return;
    if (y < kMenuRevealRows && shell.menuHidden) {
        engine.platform.setMenuBarShown(true);
        shell.menuHidden = false;
        repaintWindow(engine);
    } else if (y >= kMenuRevealRows && !shell.menuHidden) {
        engine.platform.setMenuBarShown(false);
        shell.menuHidden = true;
        repaintWindow(engine);
    }
}

// The player's scale is kept for the next start.
void changeScale(Engine& engine, int step) {
    if (const int scale = engine.platform.changeWindowScale(step))
        engine.persist.settings.setInt(kScaleSetting, scale);
}

// Tab switches the skipping of read text off anywhere, and on only at a text's click wait (at a
// choice or in a menu it belongs to their entries).
void tabKey(Engine& engine) {
    PlayerState& player = engine.player;
    if (player.tabSkip)
        player.tabSkip = false;
    else if (player.atTextWait)
        player.tabSkip = true;
    else
        return;
    publishPlayerMenu(engine);
}

} // namespace

void windowProc(Engine& engine, const Event& event) {
    ShellState& shell = engine.shell;
    shell.lastMessage = event.kind;
    if (isMouseEvent(event.kind)) {
        shell.mouseX = event.x;
        shell.mouseY = event.y;
    }
    updateCursor(engine, event);
    switch (event.kind) {
    case EventKind::Paint:
        repaintWindow(engine);
        break;
    case EventKind::Close:
        closeWindow(engine, event);
        break;
    case EventKind::Char:
        shell.pointerX = event.code;
        // Space and Enter go on to the next text, also while it moves on by itself.
        if (event.code == ' ' || event.code == '\r') shell.clickFlag = true;
        if (event.code == '\t') tabKey(engine);
        playerKey(engine, event.code);
        break;
    case EventKind::Command:
        if (isPlayerCommand(event.code))
            runPlayerCommand(engine, event.code);
        else
            runMenuCommand(engine, event.code);
        break;
    case EventKind::Timer:
        soundTimerTick(engine);
        expireTitleNote(engine);
        break;
    case EventKind::Key:
        // The window's own keys work wherever the game is; the others are for the waits.
        if (event.code == kKeyFullScreen)
            runMenuCommand(engine, shell.fullScreen ? kMenuWindow : kMenuFullScreen);
        else if (event.code == kKeyScreenshot)
            saveScreenshot(engine);
        else if (event.code == kKeyLarger || event.code == kKeySmaller)
            changeScale(engine, event.code == kKeyLarger ? 1 : -1);
        break;
    case EventKind::Wheel:
        break;
    case EventKind::MouseMove:
        shell.pointerX = event.x;
        shell.pointerY = event.y;
        revealMenu(engine, event.y);
        break;
    case EventKind::LButtonDown:
    case EventKind::RButtonDown:
        storePosition(shell, event);
        break;
    case EventKind::LButtonUp:
        if (shell.skipMode) {
            // The click only ends the skipping.
            shell.skipMode = false;
            break;
        }
        // A click while the text moves on by itself only stops it.
        if (stopPlayerModes(engine)) break;
        shell.clickFlag = true;
        storePosition(shell, event);
        break;
    case EventKind::RButtonUp:
        if (shell.skipMode) {
            shell.skipMode = false;
            break;
        }
        stopPlayerModes(engine);
        shell.rightClickFlag = true;
        storePosition(shell, event);
        break;
    }
}

bool pumpOneEvent(Engine& engine) {
    Event event;
    if (!engine.platform.takeEvent(event)) return false;
    windowProc(engine, event);
    return true;
}

} // namespace orv
