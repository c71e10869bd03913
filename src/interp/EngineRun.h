// The engine's outer run and the statement loop.
#pragma once

#include "interp/InterpState.h"

#include <cstdint>
#include <string>

namespace orv {

struct Engine;

// Runs the game: defaults, scenario, definition block, then the game block,
// again from the top after definereset. Ends only by throwing ExitRequest.
[[noreturn]] void runEngine(Engine& engine);

// The statement loop. Returns in the definition block once game has run, and
// in either block once a restart is requested.
void runStatements(Engine& engine, BlockMode mode);

// Clears the local state and continues at the label start.
void resetToStart(Engine& engine);

// Reads the display line at the read position up to (not over) its line feed,
// with "$n" and "%n" expanded; "%" right after "!x" is kept for the text window.
std::string assembleDisplayLine(Engine& engine);

// value in full-width digits, "－" before a negative one.
void appendFullWidthNumber(std::string& out, int32_t value);

void cmdDefinereset(Engine& engine);
void cmdGame(Engine& engine);

} // namespace orv
