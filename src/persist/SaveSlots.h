// Writing the snapshot to a numbered slot file and loading a slot back: the state, then the
// screen and the music rebuilt from it, the game going on at the first statement of the page
// it was saved on.
#pragma once

#include "persist/SaveRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct Engine;

// "save%d.dat" of a slot number (from 1).
std::string slotFileName(int slot);

// Writes the latest snapshot to the slot's file, replacing it whole; a failure is told to the
// player and leaves the old file. False then.
bool writeSlot(Engine& engine, int slot);

enum class LoadOutcome {
    Loaded,
    Missing, // no file (it vanished after the list was drawn): refused like an empty slot
    Refused, // the file is damaged or belongs to another scenario; the player was told why
};

// Reads the slot and, when it is sound, puts the game back: stops all media, restores the text
// window, the lookback, the cursors, the pictures, the sprites, the filters, the local
// variables, the gosub stack and the read position, shows the screen at once and starts the
// looping music again. The caller then lets the statement loop go on (the load is pending).
LoadOutcome loadSlot(Engine& engine, int slot);

// Why a record cannot be put into this engine as it stands (the scenario loaded now), in UTF-8;
// nothing when it can: its read position must be a statement start of the game block and its
// return positions inside the scenario.
std::optional<std::string> slotProblem(const Engine& engine, const SaveRecord& record,
                                       SlotDamage damage);

// Whether the statement loop can begin a statement at pos of the scenario text: the first byte
// of a line's statement, one after a ':' separator, or the command after an if or notif
// condition.
bool isStatementStart(std::string_view text, int32_t pos);

} // namespace orv
