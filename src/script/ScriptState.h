// The scenario store: the loaded text, the shared read position and the labels.
#pragma once

#include "script/LabelTable.h"
#include "script/ScriptBuffer.h"

#include <cstdint>
#include <iosfwd>

namespace orv {

struct ScriptState {
    ScriptBuffer buffer;
    // Offset of the next byte to read; every reader, jump and save works on it.
    int32_t pos = 0;
    LabelTable labels;
    // Where notices about the scenario files go (a file that cannot be read, a
    // NUL byte in the text); null means standard error.
    std::ostream* notices = nullptr;

    char current() const { return buffer.at(pos); }
};

} // namespace orv
