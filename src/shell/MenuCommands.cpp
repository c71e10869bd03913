#include "shell/MenuCommands.h"

#include "graphics/Compose.h"
#include "graphics/Transition.h"
#include "interp/Engine.h"
#include "persist/OrvaneSettings.h"
#include "script/ErrorReport.h"
#include "shell/MainMenu.h"
#include "util/sjis.h"

namespace orv {

namespace {

// Sets the check mark of one item and clears another's, and shows the bar so.
void checkOnly(Engine& engine, int check, int uncheck) {
    engine.shell.menu.check(uncheck, false);
    engine.shell.menu.check(check, true);
    publishMenu(engine);
}

void setSpeed(Engine& engine, int index) {
    static constexpr int kIds[] = {kMenuSpeedSlow, kMenuSpeedNormal, kMenuSpeedFast};
    for (int id : kIds) engine.shell.menu.check(id, false);
    engine.shell.menu.check(kIds[index], true);
    engine.shell.speedIndex = index;
    publishMenu(engine);
}

// A font entry or the default font becomes the face of the text from the next page on.
void chooseFont(Engine& engine, int id, std::string face) {
    ShellState& shell = engine.shell;
    engine.text.window.chosenFace = std::move(face);
    // Choosing the checked entry again keeps its mark (checking before unchecking would have
    // cleared it).
    if (shell.checkedFontItem != id) shell.menu.check(shell.checkedFontItem, false);
    shell.menu.check(id, true);
    shell.checkedFontItem = id;
    publishMenu(engine);
}

void enterFullScreen(Engine& engine) {
    ShellState& shell = engine.shell;
    if (shell.fullScreen) return;
    if (!engine.platform.setFullScreen(true)) reportError(engine, "error", "DISP_CHANGE_FAILED");
    engine.platform.setMenuBarShown(false);
    shell.fullScreen = true;
    engine.persist.settings.setBool(kFullScreenSetting, true);
    shell.menuHidden = true;
    checkOnly(engine, kMenuFullScreen, kMenuWindow);
    repaintWindow(engine);
    // The bar shows at once, as if the pointer stood at the top.
    engine.platform.postEvent({EventKind::MouseMove, 0, 1, 0});
}

void leaveFullScreen(Engine& engine) {
    ShellState& shell = engine.shell;
    if (!shell.fullScreen) return;
    bool restored = false;
    for (int attempt = 0; attempt < 10 && !restored; ++attempt) {
        restored = engine.platform.setFullScreen(false);
        if (!restored) engine.platform.sleep(5);
    }
    if (!restored) return;
    shell.fullScreen = false;
    engine.persist.settings.setBool(kFullScreenSetting, false);
    engine.platform.setMenuBarShown(true);
    checkOnly(engine, kMenuWindow, kMenuFullScreen);
    repaintWindow(engine);
    engine.platform.postEvent({EventKind::MouseMove, 0, 1, 0});
}

} // namespace

void repaintWindow(Engine& engine) {
    if (engine.shell.videoPlaying) return;
    copyToWindow(engine.graphics.surfaces.display, engine.platform.window(), kWholeScreen);
    engine.platform.present({0, 0, kScreenWidth, kScreenHeight});
}

void runMenuCommand(Engine& engine, int id) {
    ShellState& shell = engine.shell;
    switch (id) {
    case kMenuQuit:
        // Through Close, so that the player is asked.
        engine.platform.postEvent({EventKind::Close, 0, 0, 0});
        break;
    case kMenuFullScreen:
        enterFullScreen(engine);
        break;
    case kMenuWindow:
        leaveFullScreen(engine);
        break;
    case kMenuDefaultFont:
        chooseFont(engine, id, engine.text.window.scriptFace);
        break;
    case kMenuVersion:
        engine.platform.messageBox(sjis::toUtf8(S("バージョン情報")),
                                   sjis::toUtf8(shell.versionLine1 + "\n" + shell.versionLine2),
                                   MessageBoxButtons::Ok);
        break;
    case kMenuSkip:
        shell.skipMode = true;
        break;
    case kMenuClickPage:
        if (shell.autoclickMode) break;
        checkOnly(engine, kMenuClickPage, kMenuClickDefault);
        shell.displayMode = 1;
        break;
    case kMenuClickDefault:
        checkOnly(engine, kMenuClickDefault, kMenuClickPage);
        shell.displayMode = 0;
        break;
    case kMenuSpeedSlow:
        setSpeed(engine, 0);
        break;
    case kMenuSpeedNormal:
        setSpeed(engine, 1);
        break;
    case kMenuSpeedFast:
        setSpeed(engine, 2);
        break;
    case kMenuWaveOn:
        checkOnly(engine, kMenuWaveOn, kMenuWaveOff);
        shell.waveEnabled = true;
        break;
    case kMenuWaveOff:
        checkOnly(engine, kMenuWaveOff, kMenuWaveOn);
        shell.waveEnabled = false;
        break;
    default:
        // A font entry: its id is its number in the name table. Anything else names no font
        // and is ignored rather than read outside the table.
        if (id >= 0 && id < shell.fontCount && !shell.fontNames[size_t(id)].empty())
            chooseFont(engine, id, shell.fontNames[size_t(id)]);
        break;
    }
}

} // namespace orv
