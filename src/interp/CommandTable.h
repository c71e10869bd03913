// The command vocabulary: every command with its block class, in the order
// the dispatcher tries them.
#pragma once

#include "interp/InterpState.h"

#include <span>
#include <string_view>

namespace orv {

struct Engine;

enum class BlockClass { Both, Definition, Game };

using CommandHandler = void (*)(Engine&);

struct CommandInfo {
    std::string_view name;
    BlockClass block;
    CommandHandler handler;
};

// The whole table in dispatch order.
std::span<const CommandInfo> commandTable();

// The command a word runs in a block, as the ordered search finds it: first
// among the commands of both blocks, then among those of the given block.
const CommandInfo* findCommand(std::string_view word, BlockMode mode);

// Runs the command named by word (lower case), or reports it as unknown. A
// pending reset to the start is performed instead, and the word dropped.
void dispatchCommand(Engine& engine, std::string_view word, BlockMode mode);

// Reads the command word at the read position and dispatches it, as
// readWord followed by dispatchCommand would.
void dispatchStatement(Engine& engine, BlockMode mode);

} // namespace orv
