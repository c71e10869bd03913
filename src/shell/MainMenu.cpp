#include "shell/MainMenu.h"

#include "interp/Engine.h"
#include "platform/fonts/FontResolver.h"
#include "shell/PlayerMenu.h"
#include "util/sjis.h"

#include <algorithm>

namespace orv {

MenuBar buildMainMenu() {
    MenuBar menu;
    auto& e = menu.entries();
    e.push_back(MenuEntry::plain("終了", kMenuQuit));
    e.push_back(MenuEntry::dropDown(
        "画面", {{kMenuFullScreen, "フルスクリーン"}, {kMenuWindow, "ウィンドウ", true}}));
    e.push_back(MenuEntry::dropDown("フォント", {{kMenuDefaultFont, "デフォルト"}}));
    e.push_back(MenuEntry::plain("選択肢まで進む", kMenuSkip));
    e.push_back(MenuEntry::dropDown(
        "表示形式", {{kMenuClickDefault, "デフォルト", true}, {kMenuClickPage, "一ページごと"}}));
    e.push_back(MenuEntry::dropDown(
        "文字速度",
        {{kMenuSpeedSlow, "低速"}, {kMenuSpeedNormal, "普通", true}, {kMenuSpeedFast, "高速"}}));
    e.push_back(
        MenuEntry::dropDown("ＷＡＶＥ", {{kMenuWaveOn, "オン", true}, {kMenuWaveOff, "オフ"}}));
    e.push_back(MenuEntry::plain("バージョン情報", kMenuVersion));
    return menu;
}

void publishMenu(Engine& engine) {
    if (!engine.player.menuOffered) {
        engine.platform.setMenuBar(engine.shell.menu);
        return;
    }
    MenuBar shown = engine.shell.menu;
    shown.entries().push_back(buildPlayerMenu(engine));
    engine.platform.setMenuBar(shown);
}

void publishPlayerMenu(Engine& engine) {
    if (engine.player.menuOffered) publishMenu(engine);
}

void fillFontMenu(Engine& engine, const std::vector<std::string>& facesUtf8) {
    ShellState& shell = engine.shell;
    MenuBar& menu = shell.menu;
    menu.check(kMenuDefaultFont, true);
    shell.checkedFontItem = kMenuDefaultFont;
    // The entries of an earlier start go first, or every definereset would add the faces again.
    for (MenuEntry& entry : menu.entries()) {
        if (!entry.popup) continue;
        const bool fonts =
            std::any_of(entry.items.begin(), entry.items.end(),
                        [](const MenuItem& i) { return !i.separator && i.id == kMenuDefaultFont; });
        if (!fonts) continue;
        std::erase_if(entry.items, [](const MenuItem& i) {
            return !i.separator && i.id >= 0 && i.id < kFontTableSize;
        });
    }
    for (std::string& name : shell.fontNames) name.clear();
    shell.fontCount = 0;
    for (const std::string& face : facesUtf8) {
        // The name table ends here; faces past it are not offered.
        if (shell.fontCount >= kFontTableSize) break;
        const int number = shell.fontCount++;
        shell.fontNames[size_t(number)] = sjis::fromUtf8(face);
        menu.insertBefore(kMenuDefaultFont, {number, face});
    }
    publishMenu(engine);
}

void fillFontMenu(Engine& engine) {
    FontResolver resolver;
    fillFontMenu(engine, resolver.listJapaneseFixedPitchFaces());
}

} // namespace orv
