// Where the saves meet the sound side: what a snapshot records of the sound, what a load plays
// again, and the menu voices of the slot list.
#pragma once

#include "persist/SaveSlotState.h"

#include <string_view>

namespace orv {

struct Engine;

// The sound fields of a snapshot.
SlotSound soundForSnapshot(const Engine& engine);

// What a load plays again from a slot's sound fields: the CD track with its loop flag, the MIDI
// with its flag, a WAV only when it looped, an MP3 only when it looped (the file keeps the MP3
// name only then).
MusicResume musicToResume(const SlotSound& sound);

// After a load has stopped all media: starts the music of the slot again.
void restoreMusicAfterLoad(Engine& engine, const SlotSound& sound);

// A voice of the game's menu (WAV name, empty: none).
void playMenuVoice(Engine& engine, std::string_view name);

} // namespace orv
