#include "menus/SystemMenuCommands.h"

#include "graphics/ImageLoader.h"
#include "interp/Engine.h"
#include "menus/RightClickMenu.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/MainMenu.h"
#include "util/sjis.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace orv {

namespace {

constexpr int64_t kScreenRows = 480;

// A glyph size plus a spacing, kept inside the int range.
int addSaturated(int32_t a, int32_t b) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{a} + b, INT32_MIN, INT32_MAX));
}

void requireFit(Engine& engine) {
    const SystemMenuState& sm = engine.systemMenu;
    if (!menuFitsScreen(sm.window, sm.entries.size()))
        reportError(engine, S(caption::kError), S("rmenuの項目が画面に入りきりません。"));
}

SystemFunction readFunction(Engine& engine, std::string_view message) {
    std::string word;
    readWord(engine, word);
    const std::optional<SystemFunction> function = systemFunctionNamed(word);
    if (!function) reportError(engine, S(caption::kError), S(message));
    return *function;
}

uint32_t readMenuColour(Engine& engine) {
    if (peekAfterBlanks(engine) != '#')
        reportError(engine, S(caption::kError), S("menuselectcolorのパラメータが違います。"));
    return readColourLiteral(engine);
}

} // namespace

void startSystemMenuPass(Engine& engine) {
    SystemMenuState& sm = engine.systemMenu;
    sm.mode = RightClickMode::HideWindow;
    sm.entries.clear();
    MenuWindow& w = sm.window;
    w.glyphWidth = 26;
    w.glyphHeight = 26;
    w.pitchX = 26;
    w.pitchY = 28;
    w.tint = 0x999999;
    sm.highlighted = kDefaultMenuHighlighted;
    sm.normal = kDefaultMenuNormal;
    sm.unavailable = kDefaultMenuUnavailable;
    sm.voices = {};
    sm.inMenu = false;
    sm.lookback.colour = kDefaultLookbackColour;
    sm.lookback.pageVoice.clear();
}

void resetSystemMenuToStart(Engine& engine) {
    engine.systemMenu.enabled = true;
    engine.systemMenu.inMenu = false;
}

bool menuFitsScreen(const MenuWindow& window, size_t count) {
    if (count == 0) return true;
    const auto half = static_cast<int64_t>(count / 2);
    const int64_t first = kScreenCentreY - half * window.pitchY;
    const int64_t last = kScreenCentreY + (static_cast<int64_t>(count) - 1 - half) * window.pitchY;
    return std::min(first, last) >= 0 && std::max(first, last) + window.glyphHeight <= kScreenRows;
}

void cmdRmenu(Engine& engine) {
    std::vector<MenuEntryDef> entries;
    for (;;) {
        std::string name = readString(engine);
        expectComma(engine);
        const SystemFunction function =
            readFunction(engine, "rmenu命令へのパラメータが間違っています。");
        if (entries.size() == kMaxMenuEntries)
            reportError(engine, S(caption::kError), S("rmenuの項目が多すぎます。50個までです。"));
        entries.push_back({std::move(name), function});
        if (peekAfterBlanks(engine) != ',') break;
        ++engine.script.pos;
    }
    SystemMenuState& sm = engine.systemMenu;
    sm.entries = std::move(entries);
    sm.mode = RightClickMode::Menu;
    requireFit(engine);
}

void cmdRlookback(Engine& engine) {
    engine.systemMenu.mode = RightClickMode::Lookback;
}

void cmdRoff(Engine& engine) {
    engine.systemMenu.mode = RightClickMode::Off;
}

void cmdRmode(Engine& engine) {
    engine.systemMenu.enabled = readNumber(engine) != 0;
}

void cmdSystemcall(Engine& engine) {
    const SystemFunction function =
        readFunction(engine, "systemcall命令へのパラメータが間違っています。");
    rightClickHandler(engine, static_cast<int>(function));
    if (engine.interp.resetRequested) throw ResetRequest{};
    // A load has moved the read position already: the loop goes on from there.
    engine.interp.loadPending = false;
}

void cmdKillmenu(Engine& engine) {
    const int32_t position = readNumber(engine);
    // A position the bar does not have removes nothing, as the platform's menus do.
    if (position >= 0 && engine.shell.menu.removeEntryAt(static_cast<size_t>(position)))
        publishMenu(engine);
}

void cmdMenusetwindow(Engine& engine) {
    const auto [glyphW, glyphH, spacingX, spacingY, bold, shadow] = readNumbers<6>(engine);
    expectComma(engine);
    if (peekAfterBlanks(engine) != '#')
        reportError(engine, S(caption::kSyntax),
                    S("カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定して"
                      "ください。"));
    const uint32_t tint = readColourLiteral(engine);
    MenuWindow& w = engine.systemMenu.window;
    w.glyphWidth = glyphW;
    w.glyphHeight = glyphH;
    w.pitchX = addSaturated(glyphW, spacingX);
    w.pitchY = addSaturated(glyphH, spacingY);
    w.bold = bold != 0;
    w.shadow = shadow != 0;
    w.tint = tint;
    // A menu set earlier must still fit with the new sizes.
    requireFit(engine);
}

void cmdMenuselectcolor(Engine& engine) {
    const uint32_t highlighted = readMenuColour(engine);
    expectComma(engine);
    const uint32_t normal = readMenuColour(engine);
    expectComma(engine);
    const uint32_t unavailable = readMenuColour(engine);
    SystemMenuState& sm = engine.systemMenu;
    sm.highlighted = highlighted;
    sm.normal = normal;
    sm.unavailable = unavailable;
}

void cmdMenuselectvoice(Engine& engine) {
    MenuVoices read;
    std::string* const fields[] = {&read.opening, &read.closing, &read.moved, &read.decided,
                                   &read.refused, &read.yes,     &read.no};
    for (size_t i = 0; i < std::size(fields); ++i) {
        if (i > 0) expectComma(engine);
        *fields[i] = readString(engine);
    }
    engine.systemMenu.voices = std::move(read);
}

void cmdLookbackbutton(Engine& engine) {
    LookbackSettings& lb = engine.systemMenu.lookback;
    Surface* const pictures[] = {&lb.upOn, &lb.upOff, &lb.downOn, &lb.downOff};
    for (size_t i = 0; i < std::size(pictures); ++i) {
        if (i > 0) expectComma(engine);
        const std::string name = readString(engine);
        loadImage(engine, *pictures[i], name);
    }
}

void cmdLookbackcolor(Engine& engine) {
    if (peekAfterBlanks(engine) != '#')
        reportError(engine, S(caption::kError),
                    S("lookbackcolorのパラメータは#rrggbbの色指定です。"));
    engine.systemMenu.lookback.colour = readColourLiteral(engine);
}

void cmdLookbackvoice(Engine& engine) {
    engine.systemMenu.lookback.pageVoice = readString(engine);
}

} // namespace orv
