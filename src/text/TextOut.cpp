#include "text/TextOut.h"

#include "interp/Engine.h"
#include "shell/MainMenu.h"

namespace orv {

namespace {

constexpr std::string_view kCopyPagesKey = "textout.clipboard";

bool pagesWanted(const PlayerState& player) {
    return player.textOut || player.copyPages;
}

} // namespace

void noteShownCharacter(Engine& engine, std::string_view utf8) {
    PlayerState& player = engine.player;
    ++player.charactersSinceWait;
    if (pagesWanted(player)) player.pageText += utf8;
}

void notePageEnd(Engine& engine) {
    PlayerState& player = engine.player;
    if (player.pageText.empty()) return;
    if (player.textOut) {
        player.textOut->write(player.pageText);
        player.textOut->write("\n");
        // Live: a reader on the other end of a pipe sees the page while it is on the screen.
        player.textOut->flush();
    }
    if (player.copyPages) engine.platform.setClipboardText(player.pageText);
    player.pageText.clear();
}

void setCopyPages(Engine& engine, bool on) {
    engine.player.copyPages = on;
    engine.persist.settings.setBool(kCopyPagesKey, on);
    publishPlayerMenu(engine);
}

void loadTextOutSettings(Engine& engine) {
    engine.player.copyPages = engine.persist.settings.getBool(kCopyPagesKey, false);
}

} // namespace orv
