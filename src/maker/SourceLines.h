// Offsets of the ScriptBuffer as the game maker sees them: a scenario file and a line in it,
// counted as the runtime's error report counts them.
#pragma once

#include "script/ScriptBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct SourcePlace {
    std::string file; // "0.txt", or the scrambled file's name
    int line = 1;     // 1-based within that file
};

class SourceLines {
public:
    explicit SourceLines(const ScriptBuffer& buffer);

    struct File {
        std::string name;
        int32_t start = 0; // offset of its first byte
        int32_t end = 0;   // offset of the LF appended after it
        int firstLine = 0; // global index of its first line
    };

    SourcePlace place(int32_t pos) const;
    // Global line index of an offset (0 = first line of the buffer).
    int lineIndex(int32_t pos) const;
    int32_t lineStart(int index) const { return starts_[size_t(index)]; }
    int lineCount() const { return int(starts_.size()); }
    const std::vector<File>& files() const { return files_; }
    // The file holding a global line index (an index into files()).
    size_t fileOfLine(int index) const;

private:
    std::vector<int32_t> starts_;
    std::vector<File> files_;
};

} // namespace orv
