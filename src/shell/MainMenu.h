// The window's menu bar: its command ids, the bar as the game starts with it, and the font
// entries offered at every engine start.
#pragma once

#include "platform/MenuBar.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Engine;

// The scenario language this program plays, as the version box's first line names it.
inline constexpr std::string_view kScenarioLanguageVersion = "Orvane Version 1.22";

inline constexpr int kMenuQuit = 40001;
inline constexpr int kMenuFullScreen = 40002;
inline constexpr int kMenuWindow = 40003;
inline constexpr int kMenuDefaultFont = 40004;
inline constexpr int kMenuVersion = 40005;
inline constexpr int kMenuSkip = 40006;
inline constexpr int kMenuClickPage = 40007;
inline constexpr int kMenuClickDefault = 40008;
inline constexpr int kMenuSpeedSlow = 40014;
inline constexpr int kMenuSpeedNormal = 40015;
inline constexpr int kMenuSpeedFast = 40016;
inline constexpr int kMenuWaveOn = 40017;
inline constexpr int kMenuWaveOff = 40018;

// Font entries use their enumeration number as command id; the name table has this many places.
inline constexpr int kFontTableSize = 256;

// The menu bar as the window is created with it, with its first check marks (ウィンドウ,
// display デフォルト, 普通, オン). Labels are UTF-8.
MenuBar buildMainMenu();

// At every engine start: checks デフォルト, replaces the font entries of an earlier start by one
// entry per face (UTF-8 names, in order, at most kFontTableSize of them) inserted before
// デフォルト, and hands the bar to the platform.
void fillFontMenu(Engine& engine, const std::vector<std::string>& facesUtf8);
// The same with the installed Japanese fixed-pitch faces.
void fillFontMenu(Engine& engine);

// Hands the engine's menu bar to the platform after a change.
void publishMenu(Engine& engine);
// The player's popup changed (a check mark, a level): shown again where it is offered.
void publishPlayerMenu(Engine& engine);

} // namespace orv
