#include "maker/SourceLines.h"

#include <algorithm>

namespace orv {

SourceLines::SourceLines(const ScriptBuffer& buffer) {
    std::string_view text = buffer.text();
    starts_.push_back(0);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') starts_.push_back(int32_t(i + 1));
    const int32_t length = buffer.length();
    if (buffer.source() != ScenarioSource::Numbered) {
        std::string name(buffer.source() == ScenarioSource::SecScrambled ? kSecScrambledName
                                                                         : kScrambledName);
        files_.push_back({name, 0, std::max(0, length - 1), 0});
        return;
    }
    int32_t start = 0;
    for (int n = 0; n < kScenarioFileCount; ++n) {
        const int32_t end = buffer.fileEnds()[size_t(n)];
        if (end == kMissingFileEnd) continue;
        files_.push_back({std::to_string(n) + ".txt", start, end, lineIndex(start)});
        start = end + 1;
    }
    if (files_.empty()) files_.push_back({"0.txt", 0, 0, 0});
}

int SourceLines::lineIndex(int32_t pos) const {
    auto it = std::upper_bound(starts_.begin(), starts_.end(), pos);
    return int(it - starts_.begin()) - 1;
}

size_t SourceLines::fileOfLine(int index) const {
    const int32_t pos = starts_[size_t(std::clamp(index, 0, lineCount() - 1))];
    // The file whose text (or appended LF) holds the offset; past every file, the last.
    for (size_t f = 0; f < files_.size(); ++f)
        if (pos <= files_[f].end) return f;
    return files_.size() - 1;
}

SourcePlace SourceLines::place(int32_t pos) const {
    const int index = lineIndex(std::max(0, pos));
    const File& file = files_[fileOfLine(index)];
    return {file.name, index - file.firstLine + 1};
}

} // namespace orv
