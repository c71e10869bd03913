// Builds BMP files byte by byte for the reader's tests, so every header field can be set to
// whatever a test needs, including values no writer would produce.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::test {

struct BmpSpec {
    uint32_t headerSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t xDensity = 2835;
    int32_t yDensity = 2835;
    uint32_t colorsUsed = 0;
    // Written after the info header when non-empty (bit fields after a 40-byte header), or into
    // the header from byte 40 on for larger headers.
    std::vector<uint32_t> masks{};
    // Blue, green, red per entry (the fourth byte is written as 0, except in the 12-byte form).
    std::vector<uint32_t> palette{}; // 0xRRGGBB
    std::string gap{};               // bytes between the palette and the pixels
    std::string pixels{};
    int64_t fileSizeField = -1;    // -1: the real size
    int64_t pixelOffsetField = -1; // -1: the real offset
};

inline void put16(std::string& s, uint32_t v) {
    s += {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)};
}
inline void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}

inline std::string buildBmp(const BmpSpec& layout) {
    const bool core = layout.headerSize == 12;
    std::string info;
    put32(info, layout.headerSize);
    for (int32_t size : {layout.width, layout.height})
        (core ? put16 : put32)(info, static_cast<uint32_t>(size));
    put16(info, layout.planes);
    put16(info, layout.bitsPerPixel);
    if (!core) {
        for (uint32_t v :
             {layout.compression, layout.imageSize, static_cast<uint32_t>(layout.xDensity),
              static_cast<uint32_t>(layout.yDensity), layout.colorsUsed, 0u})
            put32(info, v); // the last: colours important
        if (layout.headerSize > 40)
            for (uint32_t m : layout.masks) put32(info, m);
        info.resize(layout.headerSize, '\0');
    }
    if (layout.headerSize == 40)
        for (uint32_t m : layout.masks) put32(info, m);

    std::string table;
    for (uint32_t c : layout.palette) {
        put32(table, c & 0xffffff);
        if (core) table.pop_back();
    }

    const size_t offset = 14 + info.size() + table.size() + layout.gap.size();
    const size_t total = offset + layout.pixels.size();
    std::string file = "BM";
    put32(file, static_cast<uint32_t>(layout.fileSizeField < 0 ? total : layout.fileSizeField));
    put32(file, 0);
    put32(file,
          static_cast<uint32_t>(layout.pixelOffsetField < 0 ? offset : layout.pixelOffsetField));
    return file + info + table + layout.gap + layout.pixels;
}

// Raw bytes from a list of values 0..255.
inline std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

} // namespace orv::test
