// The player's volumes: music (CD track, MIDI, MP3), sound effects (WAV), voices (the WAV of a
// click wait, choice or menu) and video, each 0 to 100 %, and a mute over all of them. They are
// the player's, kept in orvane.ini, and sit on top of whatever the scenario does with its sound
// (a CD fade-out still fades from the player's level).
#pragma once

#include <array>
#include <string_view>

namespace orv {

struct Engine;

enum class VolumeCategory { Music, Effects, Voices, Video };
inline constexpr size_t kVolumeCategories = 4;

struct PlayerVolumes {
    std::array<int, kVolumeCategories> percent{100, 100, 100, 100};
    bool muted = false;
};

// The category's settings key word ("music", "effects", "voices", "video").
std::string_view volumeName(VolumeCategory category);

// What the category sounds at now: its level, or 0 while muted.
int effectiveVolume(const Engine& engine, VolumeCategory category);

// From orvane.ini, once per program run.
void loadVolumes(Engine& engine);
// The player changes a level or the mute: kept in orvane.ini, written to the sound log and
// heard at once.
void setPlayerVolume(Engine& engine, VolumeCategory category, int percent);
void setMuted(Engine& engine, bool muted);

// Hands the levels to the mixer's channels (a channel's gain; the WAV channel takes the voices'
// level while it plays a voice, the effects' otherwise; a video's sound has a channel of its own).
void applyVolumes(Engine& engine);

} // namespace orv
