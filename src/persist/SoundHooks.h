// Where the saves meet the sound side: what a snapshot records of the sound, what a load asks to
// play again, and the menu voices of the slot list. Until the sound subsystem is connected here,
// the record is what the last load restored (cleared when all media stop at the reset) and the
// requests are only recorded in the slot state.
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

// The reset to the start: nothing sounds any more.
void forgetSound(Engine& engine);

} // namespace orv
