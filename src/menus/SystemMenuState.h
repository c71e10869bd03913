// What the right-click side of the engine keeps: the right-click mode and its switch, the game's
// own menu with its window, colours and voices, and the lookback viewer's colour, buttons and
// voice. One instance lives in the Engine.
#pragma once

#include "graphics/Surface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// What a right click does.
enum class RightClickMode : int {
    HideWindow = 0, // the text window goes away until the next click
    Menu = 1,       // `rmenu`
    Lookback = -1,  // `rlookback`
    Off = -2,       // `roff`
};

// The functions a menu entry or `systemcall` names; the values are the codes the words stand for.
enum class SystemFunction : int {
    Lookback = 0,
    WindowErase = 1,
    Load = 2,
    Save = 3,
    Reset = 4,
    Skip = 5,
};

// The handler's argument for a right click (the functions are 0 and up).
inline constexpr int kRightClick = -1;

// Entries `rmenu` accepts.
inline constexpr size_t kMaxMenuEntries = 50;

struct MenuEntryDef {
    std::string name; // Shift-JIS
    SystemFunction function = SystemFunction::Lookback;
};

// The voices of the menu and its confirmation, WAV names (empty: none).
struct MenuVoices {
    std::string opening;
    std::string closing;
    std::string moved;
    std::string decided;
    std::string refused;
    std::string yes;
    std::string no;
};

struct MenuWindow {
    int glyphWidth = 26;
    int glyphHeight = 26;
    int pitchX = 26; // glyph size + spacing
    int pitchY = 28;
    // Set only by `menusetwindow`: an engine pass leaves them as they are.
    bool bold = false;
    bool shadow = false;
    uint32_t tint = 0x999999; // the screen behind the menu is darkened by it
};

inline constexpr uint32_t kDefaultMenuHighlighted = 0xffffff;
inline constexpr uint32_t kDefaultMenuNormal = 0xaaaaaa;
inline constexpr uint32_t kDefaultMenuUnavailable = 0x555599;
inline constexpr uint32_t kDefaultLookbackColour = 0xffff40;

struct LookbackSettings {
    uint32_t colour = kDefaultLookbackColour; // 0xRRGGBB
    // The paging buttons at the window's right edge, highlighted and normal.
    Surface upOn;
    Surface upOff;
    Surface downOn;
    Surface downOff;
    std::string pageVoice;
};

struct SystemMenuState {
    RightClickMode mode = RightClickMode::HideWindow;
    bool enabled = true; // `rmode`
    std::vector<MenuEntryDef> entries;
    MenuWindow window;
    uint32_t highlighted = kDefaultMenuHighlighted;
    uint32_t normal = kDefaultMenuNormal;
    // For the slot list that lists unused slots.
    uint32_t unavailable = kDefaultMenuUnavailable;
    MenuVoices voices;
    // The handler is running: a second right click is not taken.
    bool inMenu = false;
    // The page's text layer and coverage while the menu draws into them.
    Surface keptLayer;
    std::vector<uint8_t> keptCoverage;

    LookbackSettings lookback;
};

} // namespace orv
