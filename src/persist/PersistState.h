// What outlives a run: the folder of the player's files, whether the global variables are kept,
// the read-file log, the save slots and Orvane's own settings.
#pragma once

#include "persist/FileLog.h"
#include "persist/OrvaneSettings.h"
#include "persist/PlayerFiles.h"
#include "persist/SaveSlotState.h"

namespace orv {

struct PersistState {
    explicit PersistState(std::filesystem::path folder) : files(std::move(folder)) {}

    PlayerFiles files;
    bool globalsEnabled = false; // `globalon` was given
    FileLog fileLog;
    SaveSlotState slots;
    OrvaneSettings settings; // "orvane.ini"
};

} // namespace orv
