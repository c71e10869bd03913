// The scenario store: the loaded text, the shared read position and the labels.
#pragma once

#include "script/LabelTable.h"
#include "script/ScriptBuffer.h"

#include <cstdint>

namespace orv {

struct ScriptState {
    ScriptBuffer buffer;
    // Offset of the next byte to read; every reader, jump and save works on it.
    int32_t pos = 0;
    LabelTable labels;

    char current() const { return buffer.at(pos); }
};

} // namespace orv
