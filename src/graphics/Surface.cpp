#include "graphics/Surface.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace orv {

bool createSurface(Surface& surface, int width, int height, int bitsPerPixel) {
    const bool valid = (bitsPerPixel == 8 || bitsPerPixel == 24) && width >= 1 && height >= 1 &&
                       width <= kMaxSurfaceDimension && height <= kMaxSurfaceDimension;
    // The engine recreates its screen-sized surfaces on every pass: clearing the bitmap it
    // already has costs a fraction of giving memory back and faulting fresh pages in.
    if (valid && surface.width == width && surface.height == height &&
        surface.bitsPerPixel == bitsPerPixel &&
        surface.pixels.size() == static_cast<size_t>(surface.stride) * height) {
        std::memset(surface.pixels.data(), 0, surface.pixels.size());
        if (bitsPerPixel == 8) surface.palette.assign(256, PaletteEntry{});
        return true;
    }
    releaseSurface(surface);
    if (!valid) return false;
    const int stride = surfaceStride(width, bitsPerPixel);
    try {
        surface.pixels.assign(static_cast<size_t>(stride) * height, 0);
        if (bitsPerPixel == 8) surface.palette.assign(256, PaletteEntry{});
    } catch (const std::bad_alloc&) {
        releaseSurface(surface);
        return false;
    }
    surface.width = width;
    surface.height = height;
    surface.bitsPerPixel = bitsPerPixel;
    surface.stride = stride;
    return true;
}

void moveBitmap(Surface& into, Surface& from) {
    into.width = from.width;
    into.height = from.height;
    into.bitsPerPixel = from.bitsPerPixel;
    into.stride = from.stride;
    into.pixels = std::move(from.pixels);
    into.palette = std::move(from.palette);
    releaseSurface(from);
}

void releaseSurface(Surface& surface) {
    // Swap with empties so the memory really goes back rather than staying reserved.
    std::vector<uint8_t>().swap(surface.pixels);
    std::vector<PaletteEntry>().swap(surface.palette);
    surface.width = 0;
    surface.height = 0;
    surface.bitsPerPixel = 0;
    surface.stride = 0;
}

int cellWidth(const Surface& surface) {
    return surface.cellCount > 0 ? surface.width / surface.cellCount : surface.width;
}

int displayedWidth(const Surface& surface) {
    int w = cellWidth(surface);
    return surface.transMode == TransMode::Alpha ? w / 2 : w;
}

namespace {

int nearestPaletteIndex(const Surface& surface, uint32_t rgb) {
    const int r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
    int best = 0;
    int bestDistance = 0x7fffffff;
    for (int i = 0; i < surface.paletteEntries(); ++i) {
        const PaletteEntry& p = surface.palette[i];
        const int dr = p.red - r, dg = p.green - g, db = p.blue - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

} // namespace

void fillRect(Surface& surface, int left, int top, int right, int bottom, uint32_t rgb) {
    if (surface.empty()) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, surface.width);
    bottom = std::min(bottom, surface.height);
    if (left >= right || top >= bottom) return;

    // Whole rows without padding lie end to end (the bottom row first): one span for all.
    auto fillBytes = [&](uint8_t byte, size_t span, int offset) {
        if (span == static_cast<size_t>(surface.stride)) {
            std::memset(surface.row(bottom - 1), byte, span * static_cast<size_t>(bottom - top));
            return;
        }
        for (int y = top; y < bottom; ++y) std::memset(surface.row(y) + offset, byte, span);
    };
    if (surface.bitsPerPixel == 8) {
        const auto index = static_cast<uint8_t>(nearestPaletteIndex(surface, rgb));
        fillBytes(index, static_cast<size_t>(right - left), left);
        return;
    }
    const uint8_t b = rgb & 0xff, g = (rgb >> 8) & 0xff, r = (rgb >> 16) & 0xff;
    const size_t span = static_cast<size_t>(right - left) * 3;
    if (b == g && g == r) {
        // Grey, black and white are one byte repeated: whole spans at once.
        fillBytes(b, span, left * 3);
        return;
    }
    // One row by pixels, the others copied from it.
    uint8_t* first = surface.row(top) + left * 3;
    for (uint8_t* p = first; p < first + span; p += 3) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    for (int y = top + 1; y < bottom; ++y) std::memcpy(surface.row(y) + left * 3, first, span);
}

void fillSurface(Surface& surface, uint32_t rgb) {
    fillRect(surface, 0, 0, surface.width, surface.height, rgb);
}

namespace {
bool inside(const Surface& s, int x, int y) {
    return !s.empty() && x >= 0 && y >= 0 && x < s.width && y < s.height;
}
} // namespace

uint32_t pixelColor(const Surface& surface, int x, int y) {
    if (!inside(surface, x, y)) return 0;
    if (surface.bitsPerPixel == 8) {
        const PaletteEntry& p = surface.palette[surface.row(y)[x]];
        return (uint32_t{p.red} << 16) | (uint32_t{p.green} << 8) | p.blue;
    }
    const uint8_t* p = surface.row(y) + x * 3;
    return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

int pixelIndex(const Surface& surface, int x, int y) {
    if (!inside(surface, x, y) || surface.bitsPerPixel != 8) return -1;
    return surface.row(y)[x];
}

void setPixel(Surface& surface, int x, int y, uint32_t value) {
    if (!inside(surface, x, y)) return;
    if (surface.bitsPerPixel == 8) {
        surface.row(y)[x] = static_cast<uint8_t>(value);
        return;
    }
    uint8_t* p = surface.row(y) + x * 3;
    p[0] = value & 0xff;
    p[1] = (value >> 8) & 0xff;
    p[2] = (value >> 16) & 0xff;
}

} // namespace orv
