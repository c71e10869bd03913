// The engine's binary files (save slots, the global variables file, the settings file) are plain
// sequences of 32-bit signed little-endian integers and zero-terminated Shift-JIS texts, with no
// header; a file cut short reads as zeros and empty texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class BinWriter {
public:
    void putInt32(int32_t v);
    // Writes the text's bytes and one zero byte. A text holding a zero byte is written only up to
    // it, as reading would stop there anyway and the following fields would shift.
    void putText(std::string_view text);
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// Reads from data, which must outlive the reader.
class BinReader {
public:
    explicit BinReader(std::string_view data) : data_(data) {}
    // 0 past the end; an integer cut by the end of the data also reads as 0.
    int32_t getInt32();
    // Bytes up to the next zero byte, which is consumed; empty past the end; a text cut by the end
    // of the data is returned as far as it goes.
    std::string getText();
    bool atEnd() const { return pos_ >= data_.size(); }

private:
    std::string_view data_;
    size_t pos_ = 0;
};

} // namespace orv
