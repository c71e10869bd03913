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

    // The bytes of the latest snapshot, exactly what a save writes. Grows to the largest record
    // and keeps its memory.
    std::string snapshot;
    // The record the snapshot is gathered into, reused so that its texts keep their memory.
    SaveRecord scratch;

    // What the last load played again, and the last menu voice played (for the tests).
    MusicResume lastResume;
    std::string lastVoice;
};

} // namespace orv
