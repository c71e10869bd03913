// Helpers for the text window's tests: an engine ready to draw text without a scenario run, small
// BMP files, and pixel access.
#pragma once

#include "EngineHarness.h"
#include "graphics/GraphicsCommands.h"
#include "text/TextWindow.h"

#include <cstdint>
#include <functional>
#include <string>

namespace orv::test {

// The state a game block starts in: surfaces made, defaults set, the screen black.
inline void prepareForText(Engine& engine) {
    startGraphicsPass(engine);
    startTextPass(engine);
    resetTextToStart(engine);
    resetGraphicsToStart(engine);
}

// A 24-bit BMP file whose pixel (x, y) from the top-left is colour(x, y) = 0xRRGGBB.
inline std::string bmp24(int w, int h, const std::function<uint32_t(int, int)>& colour) {
    auto put = [](std::string& s, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
    };
    const int stride = (w * 3 + 3) / 4 * 4;
    std::string pixels(static_cast<size_t>(stride) * h, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colour(x, y);
            char* p = &pixels[static_cast<size_t>(h - 1 - y) * stride + x * 3];
            p[0] = static_cast<char>(c & 0xff);
            p[1] = static_cast<char>((c >> 8) & 0xff);
            p[2] = static_cast<char>((c >> 16) & 0xff);
        }
    std::string file = "BM";
    put(file, static_cast<uint32_t>(54 + pixels.size()), 4);
    put(file, 0, 4);
    put(file, 54, 4);
    put(file, 40, 4);
    put(file, static_cast<uint32_t>(w), 4);
    put(file, static_cast<uint32_t>(h), 4);
    put(file, 1, 2);
    put(file, 24, 2);
    for (int i = 0; i < 6; ++i) put(file, 0, 4);
    return file + pixels;
}

inline uint32_t surfacePixel(const Surface& s, int x, int y) {
    return pixelColor(s, x, y);
}

inline uint32_t framePixel(const FrameBuffer& fb, int x, int y) {
    const uint8_t* p = fb.row(y) + x * 3;
    return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

inline uint8_t coverageAt(const Engine& engine, int x, int y) {
    return engine.text.coverage[static_cast<size_t>(y) * 640 + x];
}

// floor(a * b / 255), written out so the tests do not borrow the engine's arithmetic.
inline unsigned mul255(unsigned a, unsigned b) {
    return a * b / 255;
}

} // namespace orv::test
