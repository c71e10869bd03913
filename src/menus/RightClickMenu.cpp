#include "menus/RightClickMenu.h"

#include "graphics/Blend.h"
#include "graphics/GraphicsCommands.h"
#include "interp/Engine.h"
#include "media/StopAllMedia.h"
#include "menus/Confirm.h"
#include "menus/LookbackViewer.h"
#include "persist/SaveSlots.h"
#include "persist/SlotList.h"
#include "persist/SoundHooks.h"
#include "script/ErrorReport.h"
#include "shell/MainMenu.h"
#include "text/ClickWait.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace orv {

namespace {

constexpr std::pair<std::string_view, SystemFunction> kFunctionWords[] = {
    {"lookback", SystemFunction::Lookback}, {"windowerase", SystemFunction::WindowErase},
    {"load", SystemFunction::Load},         {"save", SystemFunction::Save},
    {"reset", SystemFunction::Reset},       {"skip", SystemFunction::Skip},
};

void redrawAndShow(Engine& engine) {
    redrawRegion(engine, kWholeScreen);
    showRegion(engine, EffectSpec{1, 0, {}}, kWholeScreen);
}

// The menu draws its entries into the page's text layer (so that its own redraws keep them);
// the page is put aside first and brought back when the menu closes.
class MenuScreen {
public:
    explicit MenuScreen(Engine& engine)
        : engine_(engine), inComposition_(engine.graphics.layers.textWindowInComposition),
          shown_(engine.text.window.shown) {
        SystemMenuState& sm = engine.systemMenu;
        sm.keptLayer = engine.text.textLayer;
        sm.keptCoverage = engine.text.coverage;
    }

    void clearPage() {
        TextState& text = engine_.text;
        std::fill(text.coverage.begin(), text.coverage.end(), uint8_t{0});
        std::fill(text.textLayer.pixels.begin(), text.textLayer.pixels.end(), uint8_t{0});
    }

    void restorePage() {
        SystemMenuState& sm = engine_.systemMenu;
        engine_.text.textLayer = sm.keptLayer;
        engine_.text.coverage = sm.keptCoverage;
    }

    // Back to the screen the menu was opened on: the page, and the text window shown or hidden
    // as it was (a systemcall may come while the window is away).
    void close() {
        restorePage();
        restoreWindow();
        redrawAndShow(engine_);
    }

    void restoreWindow() {
        engine_.graphics.layers.textWindowInComposition = inComposition_;
        engine_.text.window.shown = shown_;
    }

private:
    Engine& engine_;
    bool inComposition_;
    bool shown_;
};

// The slot list, the question and the save or load, until the player has done one (true) or
// closed the list (false: the caller closes the menu). After a load the screen is the loaded
// game's and the load is pending.
bool runSlotFunction(Engine& engine, MenuScreen& screen, bool saving) {
    for (;;) {
        screen.clearPage();
        std::string name;
        const int index = chooseSlot(engine, saving, name);
        if (index < 0) return false;
        screen.clearPage();
        const std::string question = formatMessage(saving ? S("%sにセーブします。よろしいですか？")
                                                          : S("%sをロードします。よろしいですか？"),
                                                   name);
        if (confirm(engine, question) != ConfirmAnswer::Yes) continue;
        if (saving) {
            writeSlot(engine, index + 1);
            return false;
        }
        switch (loadSlot(engine, index + 1)) {
        case LoadOutcome::Loaded:
            engine.interp.loadPending = true;
            return true;
        case LoadOutcome::Missing:
            playMenuVoice(engine, engine.systemMenu.voices.refused);
            continue;
        case LoadOutcome::Refused:
            return false;
        }
    }
}

// The menu (a right click) or the function named by a systemcall, until the screen is left.
void runSystemMenu(Engine& engine, int function) {
    SystemMenuState& sm = engine.systemMenu;
    const bool rightClick = function == kRightClick;
    MenuScreen screen(engine);
    for (;;) {
        engine.text.window.shown = false;
        auto chosen = static_cast<SystemFunction>(function);
        if (rightClick) {
            screen.clearPage();
            std::vector<std::string> names;
            names.reserve(sm.entries.size());
            for (const MenuEntryDef& entry : sm.entries) names.push_back(entry.name);
            const int index = runChoice(engine, menuForm(engine), 0, 0, names);
            if (index < 0) {
                screen.close();
                return;
            }
            chosen = sm.entries[static_cast<size_t>(index)].function;
        }
        switch (chosen) {
        case SystemFunction::Lookback:
            redrawAndShow(engine);
            if (rightClick) screen.restorePage();
            if (!showLookback(engine) && rightClick) redrawAndShow(engine);
            return;
        case SystemFunction::WindowErase:
            if (rightClick) {
                screen.restorePage();
                if (!engine.text.window.shown) return;
                hideWindowUntilClick(engine);
                return;
            }
            engine.text.window.shown = true;
            hideWindowUntilClick(engine);
            // A window that was away before the call is still away: the next text brings it.
            screen.restoreWindow();
            return;
        case SystemFunction::Load:
        case SystemFunction::Save:
            if (runSlotFunction(engine, screen, chosen == SystemFunction::Save)) return;
            screen.close();
            return;
        case SystemFunction::Reset:
            screen.clearPage();
            if (confirm(engine, S("終了します。よろしいですか？")) == ConfirmAnswer::Yes) {
                stopAllMedia(engine);
                engine.interp.resetRequested = true;
                return;
            }
            // From the menu the player is back at the menu; a systemcall only asked.
            if (rightClick) continue;
            screen.close();
            return;
        case SystemFunction::Skip:
            // Through the window procedure, as the menu bar's own entry does.
            engine.platform.postEvent({EventKind::Command, 0, 0, kMenuSkip});
            screen.close();
            return;
        }
        return;
    }
}

// Whether a right click during a wait for the player is answered at all.
bool rightClickAnswered(const Engine& engine) {
    const SystemMenuState& sm = engine.systemMenu;
    return sm.mode != RightClickMode::Off && sm.enabled && !engine.text.pacing.rightClickOff;
}

// While the menu or the lookback runs: a second right click does not open another.
class InMenu {
public:
    explicit InMenu(SystemMenuState& sm) : inMenu_(sm.inMenu) { inMenu_ = true; }
    ~InMenu() { inMenu_ = false; }
    InMenu(const InMenu&) = delete;
    InMenu& operator=(const InMenu&) = delete;

private:
    bool& inMenu_;
};

} // namespace

std::optional<SystemFunction> systemFunctionNamed(std::string_view word) {
    for (const auto& [name, function] : kFunctionWords)
        if (name == word) return function;
    return std::nullopt;
}

ChoiceForm menuForm(const Engine& engine) {
    const SystemMenuState& sm = engine.systemMenu;
    ChoiceForm form;
    form.menu = true;
    form.glyphWidth = sm.window.glyphWidth;
    form.glyphHeight = sm.window.glyphHeight;
    form.pitchX = sm.window.pitchX;
    form.pitchY = sm.window.pitchY;
    form.bold = sm.window.bold;
    form.shadow = sm.window.shadow;
    form.highlighted = sm.highlighted;
    form.normal = sm.normal;
    form.shownVoice = sm.voices.opening;
    form.movedVoice = sm.voices.moved;
    form.decidedVoice = sm.voices.decided;
    form.closingVoice = sm.voices.closing;
    form.showBackdrop = showMenuBackdrop;
    return form;
}

void showMenuBackdrop(Engine& engine) {
    GraphicsState& g = engine.graphics;
    g.layers.textWindowInComposition = false;
    redrawRegion(engine, kWholeScreen);
    const uint32_t tint = engine.systemMenu.window.tint;
    // One row of weights in the byte order of a pixel (blue, green, red), laid over every row.
    constexpr size_t kRowBytes = static_cast<size_t>(kScreenRight + 1) * 3;
    std::array<uint8_t, kRowBytes> weights;
    for (size_t i = 0; i < kRowBytes; i += 3) {
        weights[i] = static_cast<uint8_t>(tint & 0xff);
        weights[i + 1] = static_cast<uint8_t>((tint >> 8) & 0xff);
        weights[i + 2] = static_cast<uint8_t>((tint >> 16) & 0xff);
    }
    Surface& composition = g.surfaces.composition;
    for (int y = 0; y <= kScreenBottom; ++y)
        scaleBytes(composition.row(y), weights.data(), kRowBytes);
    engine.text.window.shown = true;
    showRegion(engine, EffectSpec{1, 0, {}}, kWholeScreen);
    g.layers.textWindowInComposition = true;
}

bool isWheelUp(const Event* event) {
    return event && event->kind == EventKind::Wheel && event->code == kWheelUp;
}

bool wheelLookback(Engine& engine) {
    SystemMenuState& sm = engine.systemMenu;
    if (!rightClickAnswered(engine) || sm.inMenu) return false;
    const bool offered =
        sm.mode == RightClickMode::Lookback ||
        (sm.mode == RightClickMode::Menu &&
         std::any_of(sm.entries.begin(), sm.entries.end(), [](const MenuEntryDef& entry) {
             return entry.function == SystemFunction::Lookback;
         }));
    if (!offered) return false;
    InMenu in(sm);
    return showLookback(engine);
}

void rightClickHandler(Engine& engine, int function) {
    SystemMenuState& sm = engine.systemMenu;
    if (function == kRightClick && !rightClickAnswered(engine)) return;
    if (sm.inMenu) return;
    InMenu in(sm);

    if (function == kRightClick && sm.mode == RightClickMode::Lookback) {
        showLookback(engine);
        return;
    }
    if (function == kRightClick && sm.mode == RightClickMode::HideWindow) {
        if (engine.text.window.shown) hideWindowUntilClick(engine);
        return;
    }
    runSystemMenu(engine, function);
    // A load from the menu leaves the wait that opened it at once, before that wait draws
    // anything of the page left behind (its cursor, a choice's highlight) over the loaded screen.
    if (function == kRightClick && engine.interp.loadPending) throw LoadRequest{};
}

} // namespace orv
