// The interpreter's own state: the block being run, the restart and reset
// requests, the click trap, the gosub stack, the random generator and the
// scenario timer.
#pragma once

#include "interp/Random.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orv {

enum class BlockMode { Definition, Game };

struct CommandInfo;

// Command words already read, by their offset in the scenario: a statement
// run again (a loop) skips reading its word and looking it up.
struct StatementCache {
    static constexpr size_t kSize = 1024;
    struct Entry {
        int32_t pos = -1; // offset of the word
        int32_t next = 0; // offset after the word and its blanks
        const CommandInfo* command = nullptr;
        bool keepsPage = false; // the command neither waits nor draws (persist/Snapshot.h)
    };
    std::vector<Entry> entries = std::vector<Entry>(kSize);
    uint64_t generation = 0; // of the ScriptBuffer the entries describe
};

inline constexpr size_t kMaxGosubDepth = 1000;

// Statements between two looks at the clock. The loop yields the processor at
// most once per millisecond of statements: more often only costs time.
inline constexpr uint64_t kClockCheckInterval = 1024;

// Thrown by a wait that sees the reset to the start requested; the statement loop catches it and
// resets, so no handler has to look for the request after its wait.
struct ResetRequest {};
// Thrown the same way once a load has put the game back at its saved page: the statement loop
// catches it and goes on from the restored position.
struct LoadRequest {};

// Where the statements ran, for a run that reports coverage (--explore): a mark at the offset of
// every statement the loop starts (label and comment lines included) and of every label jumped
// to, and the offset of the last statement.
struct StatementTrace {
    std::vector<uint8_t> hit; // by offset; sized by the owner, offsets past it are not marked
    int32_t last = -1;
    void mark(int32_t pos) {
        if (pos >= 0 && size_t(pos) < hit.size()) hit[size_t(pos)] = 1;
        last = pos;
    }
};

struct InterpState {
    BlockMode mode = BlockMode::Definition;
    bool restartRequested = false; // definereset: the engine run starts again
    bool gameStarted = false;      // game: the definition block is over
    bool resetRequested = false;   // the system menu's reset to the start (see ResetRequest)
    bool loadPending = false;      // a slot was loaded (see LoadRequest)
    std::string trapLabel;         // empty: no trap armed

    // Positions to return to; its size is the depth.
    std::vector<int32_t> gosubStack;

    Random random;
    // resettimer's clock value; kept across engine runs, 0 at program start.
    uint32_t timerBase = 0;

    // Statements run so far (commands, display lines, label and comment lines).
    uint64_t statementCount = 0;
    // When non-zero, the run ends with status 4 once this many statements ran
    // (bounds runs whose clock never moves: --max-steps, fuzzing).
    uint64_t statementLimit = 0;
    // The statement count at which the loop next looks at the clock and the limit, and the
    // statements between two looks (fewer in a window while statements are slow).
    uint64_t nextCheck = kClockCheckInterval;
    uint64_t checkInterval = kClockCheckInterval;
    // Clock values at the last yield, the last look and the last pass of the window's messages.
    uint32_t lastYield = 0;
    uint32_t lastCheck = 0;
    uint32_t lastPump = 0;

    StatementCache statementCache;
    StatementTrace* trace = nullptr; // not owned; null unless coverage is wanted

    // The per-user file standing in for the registry (getreg).
    std::filesystem::path registryFile;

    // Reused by readers that look a word up, to spare an allocation each time.
    std::string scratchWord;
};

} // namespace orv
