#include "util/binio.h"

namespace orv {

void BinWriter::putInt32(int32_t v) {
    auto u = static_cast<uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) bytes_ += static_cast<char>(u >> shift & 0xFF);
}

void BinWriter::putText(std::string_view text) {
    bytes_.append(text.substr(0, text.find('\0')));
    bytes_ += '\0';
}

int32_t BinReader::getInt32() {
    if (pos_ >= data_.size() || data_.size() - pos_ < 4) {
        pos_ = data_.size();
        return 0;
    }
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= uint32_t(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return static_cast<int32_t>(u);
}

std::string BinReader::getText() {
    if (pos_ >= data_.size()) return {};
    size_t end = data_.find('\0', pos_);
    if (end == std::string_view::npos) {
        std::string text(data_.substr(pos_));
        pos_ = data_.size();
        return text;
    }
    std::string text(data_.substr(pos_, end - pos_));
    pos_ = end + 1;
    return text;
}

} // namespace orv
