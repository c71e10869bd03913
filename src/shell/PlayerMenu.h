// The player's popup at the end of the menu bar: auto-forward and its speed, skipping read text,
// copying pages to the clipboard, the volumes and mute, and a screenshot. It is a table of rows, so
// another item is one more row. The popup is added to what the platform is handed, never to the bar
// the scenario edits, so the game's menu commands count their positions as they always did.
#pragma once

#include "platform/MenuBar.h"

namespace orv {

struct Engine;

// The popup's command ids have a range of their own.
inline constexpr int kPlayerMenuFirstId = 41000;
inline constexpr int kPlayerMenuLastId = 41999;

inline constexpr int kPlayerAutoForward = 41001;
inline constexpr int kPlayerSpeedSlow = 41002;
inline constexpr int kPlayerSpeedNormal = 41003;
inline constexpr int kPlayerSpeedFast = 41004;
inline constexpr int kPlayerSkipRead = 41010;
inline constexpr int kPlayerCopyPages = 41020;
// One per volume category, in VolumeCategory's order: each choice lowers it by a quarter, from
// none back to full.
inline constexpr int kPlayerVolumeMusic = 41030;
inline constexpr int kPlayerVolumeEffects = 41031;
inline constexpr int kPlayerVolumeVoices = 41032;
inline constexpr int kPlayerVolumeVideo = 41033;
inline constexpr int kPlayerMute = 41040;
inline constexpr int kPlayerScreenshot = 41050;

inline bool isPlayerCommand(int id) {
    return id >= kPlayerMenuFirstId && id <= kPlayerMenuLastId;
}

// The popup as the player's state has it now (labels UTF-8, check marks set).
MenuEntry buildPlayerMenu(const Engine& engine);
void runPlayerCommand(Engine& engine, int id);

// The player's keys, from anywhere the window procedure runs: A auto-forward, M mute.
void playerKey(Engine& engine, int code);

// Once per program run: the player's settings from orvane.ini and the read marks.
void loadPlayerSettings(Engine& engine);
// At the end of the run, beside orvane.ini.
void savePlayerFiles(Engine& engine);

} // namespace orv
