// Small pictures, BMP files of them, and pixel access.
#pragma once

#include "BmpBuilder.h"
#include "graphics/Surface.h"
#include "platform/Platform.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

using Colours = std::vector<uint32_t>;

// A 24-bit picture whose pixel (x, y) is colour(x, y) = 0xRRGGBB.
inline Surface makePicture(int w, int h, const std::function<uint32_t(int, int)>& colour,
                           TransMode mode = TransMode::Copy) {
    Surface s;
    createSurface(s, w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) setPixel(s, x, y, colour(x, y));
    s.transMode = mode;
    return s;
}

inline Surface solidPicture(int w, int h, uint32_t rgb, TransMode mode = TransMode::Copy) {
    return makePicture(
        w, h, [rgb](int, int) { return rgb; }, mode);
}

// An 8-bit picture whose index at (x, y) is index(x, y); palette entry i is paletteColour(i).
inline Surface makeIndexed(int w, int h, const std::function<int(int, int)>& index,
                           const std::function<uint32_t(int)>& paletteColour,
                           TransMode mode = TransMode::Copy) {
    Surface s;
    createSurface(s, w, h, 8);
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = paletteColour(i);
        s.palette[i] = PaletteEntry{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                                    static_cast<uint8_t>(c >> 16), 0};
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) setPixel(s, x, y, static_cast<uint32_t>(index(x, y)));
    s.transMode = mode;
    return s;
}

// A 24-bit BMP file whose pixel (x, y) from the top-left is colour(x, y).
inline std::string bmp24(int w, int h, const std::function<uint32_t(int, int)>& colour) {
    BmpSpec layout{.width = w, .height = h};
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            put32(layout.pixels, colour(x, y));
            layout.pixels.pop_back();
        }
        layout.pixels.resize((layout.pixels.size() + 3) / 4 * 4, '\0');
    }
    return buildBmp(layout);
}

inline uint32_t windowPixel(const FrameBuffer& fb, int x, int y) {
    const uint8_t* p = fb.row(y) + x * 3;
    return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

// The colours at the given points, to compare a list of them at once.
inline std::vector<uint32_t> coloursAt(const Surface& s,
                                       std::initializer_list<std::pair<int, int>> at) {
    std::vector<uint32_t> out;
    for (auto [x, y] : at) out.push_back(pixelColor(s, x, y));
    return out;
}

// Distinct, position-dependent test patterns for "before" and "after" pictures.
inline uint32_t oldColour(int x, int y) {
    return (static_cast<uint32_t>((x * 3 + y) & 0xff) << 16) |
           (static_cast<uint32_t>((y * 5) & 0xff) << 8) | static_cast<uint32_t>((x + 11) & 0xff);
}
inline uint32_t newColour(int x, int y) {
    return (static_cast<uint32_t>((200 + x) & 0xff) << 16) |
           (static_cast<uint32_t>((x * 7 + y * 2 + 1) & 0xff) << 8) |
           static_cast<uint32_t>((255 - y) & 0xff);
}

} // namespace orv::test
