// Writes cursor, icon and animated cursor files byte by byte for the reader's tests, so each field
// can hold whatever a test needs, including values no real writer would produce.
#pragma once

#include "BmpBuilder.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv::test {

inline void setLe16(std::string& s, size_t at, uint32_t v) {
    s[at] = char(v & 0xff);
    s[at + 1] = char((v >> 8) & 0xff);
}
inline void setLe32(std::string& s, size_t at, uint32_t v) {
    setLe16(s, at, v & 0xffff);
    setLe16(s, at + 2, v >> 16);
}

// A device-independent bitmap as stored in an icon directory. Pixels and mask are given top-down,
// row by row; a pixel is a palette index for depths up to 8, else 0xAARRGGBB (alpha written only
// at depth 32). The mask holds 1 where the AND mask is set.
struct DibSpec {
    int width = 1;
    int height = 1;
    int depth = 1;
    std::vector<uint32_t> palette{}; // 0xRRGGBB; its size is written as the colours-used field
    std::vector<uint32_t> pixels{};
    std::vector<uint8_t> mask{}; // empty: all clear
    bool writeMask = true;
};

inline std::string buildDib(const DibSpec& layout) {
    std::string out;
    put32(out, 40);
    put32(out, uint32_t(layout.width));
    put32(out, uint32_t(layout.height * 2));
    put16(out, 1);
    put16(out, uint32_t(layout.depth));
    for (int i = 0; i < 4; ++i) put32(out, 0); // compression, image size, resolution
    put32(out, uint32_t(layout.palette.size()));
    put32(out, 0);
    for (uint32_t rgb : layout.palette) put32(out, rgb & 0xffffff);

    const size_t colorStride = (size_t(layout.width) * layout.depth + 31) / 32 * 4;
    for (int y = layout.height - 1; y >= 0; --y) {
        std::string row(colorStride, '\0');
        for (int x = 0; x < layout.width; ++x) {
            const uint32_t p = layout.pixels.at(size_t(y) * layout.width + x);
            if (layout.depth <= 8) {
                const size_t bit = size_t(x) * layout.depth;
                row[bit / 8] = char(uint8_t(row[bit / 8]) | p << (8 - layout.depth - bit % 8));
            } else {
                const size_t at = size_t(x) * (layout.depth / 8);
                for (int b = 0; b < layout.depth / 8; ++b) row[at + b] = char(p >> (8 * b));
            }
        }
        out += row;
    }
    if (layout.writeMask) {
        const size_t maskStride = (size_t(layout.width) + 31) / 32 * 4;
        for (int y = layout.height - 1; y >= 0; --y) {
            std::string row(maskStride, '\0');
            for (int x = 0; x < layout.width && !layout.mask.empty(); ++x)
                if (layout.mask.at(size_t(y) * layout.width + x))
                    row[x / 8] |= char(0x80 >> (x % 8));
            out += row;
        }
    }
    return out;
}

// An 8-bit BGRA picture (top-down, 0xAARRGGBB per pixel) as a PNG file.
inline std::string buildPng(int width, int height, const std::vector<uint32_t>& argb) {
    std::vector<uint8_t> bgra;
    for (uint32_t p : argb)
        for (int b = 0; b < 4; ++b) bgra.push_back(uint8_t(p >> (8 * b)));
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(width);
    png.height = png_uint_32(height);
    png.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    std::string out;
    // The first call measures, the second writes.
    for (int pass = 0; pass < 2; ++pass) {
        out.resize(size);
        if (!png_image_write_to_memory(&png, pass ? out.data() : nullptr, &size, 0, bgra.data(), 0,
                                       nullptr))
            throw std::runtime_error("png");
    }
    out.resize(size);
    return out;
}

struct DirEntry {
    std::string image;
    uint32_t planesOrHotX = 0;
    uint32_t depthOrHotY = 0;
    uint8_t width = 0; // the directory's own one-byte sizes, which the reader does not trust
    uint8_t height = 0;
};

// An icon (type 1) or cursor (type 2) file; images follow the directory in order.
inline std::string buildIconFile(uint32_t type, const std::vector<DirEntry>& entries) {
    std::string out;
    put16(out, 0);
    put16(out, type);
    put16(out, uint32_t(entries.size()));
    size_t offset = 6 + 16 * entries.size();
    for (const DirEntry& e : entries) {
        out += char(e.width);
        out += char(e.height);
        out += '\0'; // colour count
        out += '\0';
        put16(out, e.planesOrHotX);
        put16(out, e.depthOrHotY);
        put32(out, uint32_t(e.image.size()));
        put32(out, uint32_t(offset));
        offset += e.image.size();
    }
    for (const DirEntry& e : entries) out += e.image;
    return out;
}

inline std::string riffChunk(const std::string& tag, const std::string& data) {
    std::string out = tag;
    put32(out, uint32_t(data.size()));
    out += data;
    if (data.size() % 2) out += '\0';
    return out;
}

inline std::string riffList(const std::string& type, const std::string& chunks) {
    return riffChunk("LIST", type + chunks);
}

inline std::string riffForm(const std::string& type, const std::string& chunks) {
    std::string out = "RIFF";
    put32(out, uint32_t(4 + chunks.size()));
    return out + type + chunks;
}

struct AniHeader {
    uint32_t frames = 1;
    uint32_t steps = 1;
    uint32_t rateJiffies = 10;
    uint32_t flags = 1; // frames are icons; 2 adds "has a sequence"
};

inline std::string aniHeaderChunk(const AniHeader& h) {
    std::string data;
    put32(data, 36);
    put32(data, h.frames);
    put32(data, h.steps);
    for (int i = 0; i < 4; ++i) put32(data, 0); // width, height, depth, planes: unused here
    put32(data, h.rateJiffies);
    put32(data, h.flags);
    return riffChunk("anih", data);
}

inline std::string dwordChunk(const std::string& tag, const std::vector<uint32_t>& values) {
    std::string data;
    for (uint32_t v : values) put32(data, v);
    return riffChunk(tag, data);
}

} // namespace orv::test
