// Reading the scenario from the game folder into the ScriptBuffer.
#pragma once

#include "script/ScriptBuffer.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class GameFs;
struct Engine;

// What a file opened in text mode reads as: each CR LF becomes LF, and a
// Ctrl-Z byte ends the file. A CR not followed by LF stays.
std::string textModeTranslate(std::string_view raw);

// What a load met besides the text, for the messages that help a game maker.
struct ScenarioFileNotes {
    // Some scenario file is there (readable or not).
    bool found = false;
    // "PATH: reason" of a scenario file that is there but cannot be read; the
    // load stops at it.
    std::string unreadable;
    // The first file holding a NUL byte, and the line of that byte in it.
    std::string nulFile;
    int32_t nulLine = 0;
};

// The numbered files 0.txt to 99.txt joined as the loader joins them: the text
// of each file that exists followed by one LF. fileEnds receives the offset of
// each appended LF (kMissingFileEnd for a gap). Returns false when the text
// fills the scenario capacity; the joined text then ends at the capacity.
// No more of a file is read than can fit.
bool joinNumberedFiles(const GameFs& fs, std::string& out,
                       std::array<int32_t, kScenarioFileCount>& fileEnds,
                       ScenarioFileNotes* notes = nullptr);

// Undoes (or applies: the operation is its own inverse) the scrambling of one
// of the single scenario files.
void scramble(std::string& bytes, ScenarioSource source);

// Fills the buffer from the game folder: "orvane_sec.dat" or "orvane.dat" when
// "0.txt" does not exist, else the numbered files. Returns false when the
// scenario is too long for the capacity (the buffer then holds what fitted).
bool loadScenarioFiles(const GameFs& fs, ScriptBuffer& buffer, ScenarioFileNotes* notes = nullptr);

// The engine's load: as above, reporting a scenario that is too long. A
// folder without a scenario, or with a scenario file that cannot be read, ends
// the run with status 1 and one line on the notice stream; a NUL byte inside
// the text is worth a warning there (the statement loop still stops at it).
void loadScenario(Engine& engine);

} // namespace orv
