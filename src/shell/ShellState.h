// What the window procedure records for the waits to poll: clicks, keys, the
// pointer, skip mode and the player's menu choices.
#pragma once

#include "platform/MenuBar.h"
#include "platform/Platform.h"
#include "shell/CursorFile.h"
#include "shell/MainMenu.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv {

// The window's repeating timer and its period.
inline constexpr int kMainTimerId = 1;
inline constexpr uint32_t kMainTimerPeriodMs = 100;

// The window's title as the engine keeps it (UTF-8), so that a note can be shown over it.
struct WindowTitleState {
    std::string text;
    // The scenario gave `caption`: the folder's name no longer stands in.
    bool captionGiven = false;
    // While a note shows in its place: when it goes.
    std::optional<uint32_t> noteUntil;
};

struct ShellState {
    bool clickFlag = false;      // left button released, Space or Enter
    bool rightClickFlag = false; // right button released
    bool skipMode = false;       // "skip to the next choice"; a click ends it
    bool autoclickMode = false;
    int clickX = 0; // position of the last button message
    int clickY = 0;
    int pointerX = 0; // last mouse position, or the last character code
    int pointerY = 0;
    // Kind of the last event the window procedure handled.
    std::optional<EventKind> lastMessage;

    // Player settings from the menu bar: display mode survives engine runs,
    // speed and WAVE are set again at every start.
    int displayMode = 0;
    int speedIndex = 1;
    bool waveEnabled = true;
    bool fullScreen = false;
    // In full screen: the bar is away while the pointer is below its rows.
    bool menuHidden = false;

    // The menu bar as the engine changes it; the platform draws a copy.
    MenuBar menu = buildMainMenu();
    int checkedFontItem = kMenuDefaultFont;
    // Face names (Shift-JIS) of the font entries by number, and how many were offered.
    std::array<std::string, kFontTableSize> fontNames;
    int fontCount = 0;

    // Set by `mousecursor`: shown while the pointer is over the picture. An animated one counts
    // its steps from when it was set.
    std::optional<AnimatedCursor> customCursor;
    uint32_t customCursorSince = 0;
    // The last pointer position of a mouse event (the pointer fields above also take keys).
    int mouseX = -1;
    int mouseY = -1;

    // A video has the window: painting leaves it alone.
    bool videoPlaying = false;

    // The version box's two lines (`versionstr`), Shift-JIS.
    std::string versionLine1 = std::string(kScenarioLanguageVersion);
    std::string versionLine2 = "Orvane - an interpreter for visual novel scenarios";

    bool shuttingDown = false;

    WindowTitleState title;

    // While a choice, a button wait or a text-link wait runs, and only when listPicks is set
    // (--explore): one point on each thing the player can pick there, in the order they count.
    bool listPicks = false;
    std::vector<std::pair<int, int>> pickPoints;

    // The flags a new engine run clears.
    void clearEventFlags() {
        clickFlag = false;
        rightClickFlag = false;
        skipMode = false;
        lastMessage.reset();
    }
};

} // namespace orv
