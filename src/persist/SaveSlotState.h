// What the save slots keep while the game runs: the slot list's settings from the definition
// block, the snapshot of the current page's start, and the sound as far as the saves know it.
#pragma once

#include "persist/SaveRecord.h"

#include <string>

namespace orv {

inline constexpr int kDefaultSlotCount = 9;
inline constexpr int kMaxSlotCount = 20;

// The music a load asks the sound side to start again (a one-shot WAV or MP3 is not among it).
struct MusicResume {
    int32_t cdTrack = -1;
    bool cdLoop = false;
    std::string midiName;
    bool midiLoop = false;
    std::string wavName; // only a looping WAV
    std::string mp3Name; // only a looping MP3
    bool operator==(const MusicResume&) const = default;
};

struct SaveSlotState {
    int slotCount = kDefaultSlotCount; // `savenumber`
    // Shift-JIS; set by each engine pass and `savename`.
    std::string saveTitle;
    std::string loadTitle;
    std::string slotWord;

    // The latest snapshot, gathered at the start of each fresh page but turned into a slot's
    // bytes only when a save asks for them: most pages are never saved, and the encoding cost as
    // much as the gathering. The record is reused, so that its texts keep their memory.
    SaveRecord snapshot;
    bool hasSnapshot = false;

    // What the last load played again, and the last menu voice played (for the tests).
    MusicResume lastResume;
    std::string lastVoice;
};

} // namespace orv
