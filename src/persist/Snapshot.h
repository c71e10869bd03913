// The save snapshot: the whole savable state gathered into the slot bytes before the statements
// of a fresh page, so that a save made anywhere on the page restores its start.
#pragma once

#include "persist/SaveRecord.h"

#include <string>

namespace orv {

struct CommandInfo;
struct Engine;

// The engine's savable state as a record.
void captureSaveRecord(const Engine& engine, SaveRecord& record);

// Refreshes the snapshot from the engine as it is now.
void takeSnapshot(Engine& engine);

// The latest snapshot as a slot's bytes; before any page of the game, the state as it is now.
std::string snapshotBytes(Engine& engine);

// Before a game-block statement at the read position: the snapshot when the text window is at
// its first column and line. Of a row of statements on a fresh page only the last one's snapshot
// can ever be saved (a save happens inside a statement that waits, and the page stays fresh
// until a statement moves the pen); so a command known neither to wait nor to move the pen
// (arithmetic, jumps, conditions) leaves the snapshot to the statements after it, which keeps
// busy loops at full speed.
void snapshotBeforeStatement(Engine& engine, bool command);

// Whether a command is one of those (the statement cache keeps the answer with each statement).
bool commandKeepsPage(const CommandInfo& command);

} // namespace orv
