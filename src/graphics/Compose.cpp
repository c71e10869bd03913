#include "graphics/Compose.h"

#include "graphics/Blend.h"
#include "graphics/Filters.h"

#include <algorithm>
#include <cstring>

namespace orv {

void markDirty(DirtyRect& dirty, int left, int top, int right, int bottom) {
    if (dirty.empty()) {
        dirty = {left, top, right, bottom};
    } else {
        dirty.left = std::min(dirty.left, left);
        dirty.top = std::min(dirty.top, top);
        dirty.right = std::max(dirty.right, right);
        dirty.bottom = std::max(dirty.bottom, bottom);
    }
    dirty.left = std::max(dirty.left, 0);
    dirty.top = std::max(dirty.top, 0);
    dirty.right = std::min(dirty.right, kScreenRight);
    dirty.bottom = std::min(dirty.bottom, kScreenBottom);
}

bool clipToScreen(const DirtyRect& rect, DirtyRect& out) {
    out.left = std::max(rect.left, 0);
    out.top = std::max(rect.top, 0);
    out.right = std::min(rect.right, kScreenRight);
    out.bottom = std::min(rect.bottom, kScreenBottom);
    return out.left <= out.right && out.top <= out.bottom;
}

namespace {

// Per-row scratch for drawSurface; the engine draws from one thread, tests may run several.
struct RowScratch {
    std::vector<uint8_t> colours; // an 8-bit row expanded to blue, green, red
    std::vector<uint8_t> inverse; // per byte: weight left to the destination

    void reserve(size_t pixels) {
        if (colours.size() < pixels * 3) colours.resize(pixels * 3);
        if (inverse.size() < pixels * 3 + 1) inverse.resize(pixels * 3 + 1);
    }
};

RowScratch& scratch() {
    thread_local RowScratch rows;
    return rows;
}

bool drawable(const Surface& picture) {
    if (picture.empty()) return false;
    if (picture.bitsPerPixel == 24) return true;
    return picture.bitsPerPixel == 8 && picture.paletteEntries() == 256 &&
           picture.transMode != TransMode::Alpha;
}

// Where, in an 8-bit or 24-bit row, the transparency key is, and what it is.
struct Key {
    bool any = false; // false in copy mode
    int index = 0;    // 8-bit pictures
    uint8_t blue = 0, green = 0, red = 0;
};

Key keyOf(const Surface& picture) {
    Key key;
    if (picture.transMode == TransMode::LeftUp) {
        key.any = true;
        const uint8_t* top = picture.row(0);
        if (picture.bitsPerPixel == 8) {
            key.index = top[0];
        } else {
            key.blue = top[0];
            key.green = top[1];
            key.red = top[2];
        }
    } else if (picture.transMode == TransMode::Keyed) {
        key.any = true;
        key.index = picture.keyIndex;
        key.blue = static_cast<uint8_t>(picture.keyBlue);
        key.green = static_cast<uint8_t>(picture.keyGreen);
        key.red = static_cast<uint8_t>(picture.keyRed);
    }
    return key;
}

uint32_t load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Marks, per byte, the pixels equal to the key (0xff) for selectBytes. All but the last pixel are
// read four bytes at a time (the fourth belongs to the next pixel and is masked off); the stores
// overlap by one byte, which the next pixel's store overwrites.
void keyMask24(uint8_t* keep, const uint8_t* s, int w, const Key& key) {
    const uint32_t k = uint32_t{key.blue} | uint32_t{key.green} << 8 | uint32_t{key.red} << 16;
    int i = 0;
    for (; i + 1 < w; ++i) {
        const uint32_t m = ((load32(s + i * 3) ^ k) & 0xffffff) == 0 ? 0xffffffffu : 0u;
        std::memcpy(keep + i * 3, &m, 4);
    }
    if (i < w) {
        const uint8_t* p = s + i * 3;
        const uint8_t m = p[0] == key.blue && p[1] == key.green && p[2] == key.red ? 0xff : 0;
        std::memset(keep + i * 3, m, 3);
    }
}

// Per-byte weights from per-pixel ones, four bytes a store; the scratch has room for the spill.
void setPixelInverse(uint8_t* inv, int value) {
    const uint32_t v = static_cast<uint32_t>(value) * 0x01010101u;
    std::memcpy(inv, &v, 4);
}

} // namespace

void drawSurface(const Surface& picture, Surface& dest, int x, int y) {
    drawSurface(picture, dest, DirtyRect{0, 0, dest.width - 1, dest.height - 1}, x, y);
}

void drawSurface(const Surface& picture, Surface& dest, const DirtyRect& clipIn, int x, int y) {
    if (!drawable(picture) || dest.bitsPerPixel != 24) return;
    DirtyRect clip;
    if (!clipToScreen(clipIn, clip)) return;
    clip.right = std::min(clip.right, dest.width - 1);
    clip.bottom = std::min(clip.bottom, dest.height - 1);

    const int cellW = cellWidth(picture);
    int w = displayedWidth(picture);
    int h = picture.height;
    const int cell = std::clamp(picture.currentCell, 0, std::max(picture.cellCount - 1, 0));
    int srcX = cell * cellW;
    int srcY = 0;
    const bool alpha = picture.transMode == TransMode::Alpha;
    // A cell (with its mask) must lie inside the picture; a tag can promise more cells than fit.
    if (w <= 0 || srcX + (alpha ? 2 * w : w) > picture.width) return;

    if (x < clip.left) {
        const int drop = clip.left - x;
        srcX += drop;
        w -= drop;
        x = clip.left;
    }
    if (y < clip.top) {
        const int drop = clip.top - y;
        srcY += drop;
        h -= drop;
        y = clip.top;
    }
    if (x + w - 1 > clip.right) w = clip.right - x + 1;
    if (y + h - 1 > clip.bottom) h = clip.bottom - y + 1;
    if (w <= 0 || h <= 0) return;

    const int level = picture.blendLevel;
    const bool blend = level != -1;
    const int drawnInverse = blend ? 255 - std::clamp(level, 0, 255) : 0;
    const bool palettised = picture.bitsPerPixel == 8;
    const Key key = keyOf(picture);
    const size_t bytes = static_cast<size_t>(w) * 3;
    RowScratch& rows = scratch();
    rows.reserve(static_cast<size_t>(w));
    uint8_t* inv = rows.inverse.data();

    if (alpha) {
        const int maskOffset = displayedWidth(picture) * 3;
        const int weight = blend ? std::clamp(level, 0, 255) : 255;
        for (int r = 0; r < h; ++r) {
            const uint8_t* s = picture.row(srcY + r) + srcX * 3;
            uint8_t* d = dest.row(y + r) + x * 3;
            for (int i = 0; i < w; ++i) {
                const int m = s[i * 3 + maskOffset];
                // Without a level the picture's own weight is 255 - m; with one it is scaled.
                const int a = blend ? static_cast<int>(blendMul(255 - m, weight)) : 255 - m;
                setPixelInverse(inv + i * 3, 255 - a);
            }
            mixBytes(d, s, inv, bytes);
        }
        return;
    }

    if (blend && !key.any && !palettised) {
        std::memset(inv, drawnInverse, bytes);
        for (int r = 0; r < h; ++r)
            mixBytes(dest.row(y + r) + x * 3, picture.row(srcY + r) + srcX * 3, inv, bytes);
        return;
    }

    for (int r = 0; r < h; ++r) {
        const uint8_t* s = picture.row(srcY + r) + srcX * (palettised ? 1 : 3);
        uint8_t* d = dest.row(y + r) + x * 3;
        const uint8_t* colours = s;
        if (palettised) {
            uint8_t* c = rows.colours.data();
            for (int i = 0; i < w; ++i) {
                const PaletteEntry& p = picture.palette[s[i]];
                c[i * 3] = p.blue;
                c[i * 3 + 1] = p.green;
                c[i * 3 + 2] = p.red;
            }
            colours = c;
        }
        if (!blend) {
            if (!key.any) {
                std::memcpy(d, colours, bytes);
            } else if (!palettised) {
                keyMask24(inv, s, w, key);
                selectBytes(d, s, inv, bytes);
            } else {
                for (int i = 0; i < w; ++i) {
                    if (s[i] == key.index) continue;
                    std::memcpy(d + i * 3, colours + i * 3, 3);
                }
            }
            continue;
        }
        for (int i = 0; i < w; ++i) {
            bool transparent = false;
            if (key.any) {
                transparent = palettised ? s[i] == key.index
                                         : s[i * 3] == key.blue && s[i * 3 + 1] == key.green &&
                                               s[i * 3 + 2] == key.red;
            }
            setPixelInverse(inv + i * 3, transparent ? 255 : drawnInverse);
        }
        mixBytes(d, colours, inv, bytes);
    }
}

void copyRect(const Surface& src, Surface& dst, const DirtyRect& rect) {
    if (src.empty() || dst.bitsPerPixel != 24) return;
    const int left = std::max({rect.left, 0});
    const int top = std::max({rect.top, 0});
    const int right = std::min({rect.right, src.width - 1, dst.width - 1});
    const int bottom = std::min({rect.bottom, src.height - 1, dst.height - 1});
    if (left > right || top > bottom) return;
    const int w = right - left + 1;
    if (src.bitsPerPixel == 24 && src.width == dst.width && src.height == dst.height &&
        src.stride == dst.stride && w == dst.width && top == 0 && bottom == dst.height - 1) {
        std::memcpy(dst.pixels.data(), src.pixels.data(), dst.pixels.size());
        return;
    }
    for (int y = top; y <= bottom; ++y) {
        uint8_t* d = dst.row(y) + left * 3;
        if (src.bitsPerPixel == 24) {
            std::memcpy(d, src.row(y) + left * 3, static_cast<size_t>(w) * 3);
        } else {
            const uint8_t* s = src.row(y) + left;
            for (int i = 0; i < w; ++i) {
                const PaletteEntry& p = src.palette[s[i]];
                d[i * 3] = p.blue;
                d[i * 3 + 1] = p.green;
                d[i * 3 + 2] = p.red;
            }
        }
    }
}

namespace {

void fillBlack(Surface& s, const DirtyRect& r) {
    for (int y = r.top; y <= r.bottom; ++y)
        std::memset(s.row(y) + r.left * 3, 0, static_cast<size_t>(r.right - r.left + 1) * 3);
}

void drawBackground(const LayerState& layers, Surface& composition, const DirtyRect& r) {
    const Surface& bg = layers.background;
    const BackgroundWindow& win = layers.bgalia;
    if (!win.on()) {
        // The background is screen-sized after every `bg`; anything it does not cover is black.
        if (bg.width < r.right + 1 || bg.height < r.bottom + 1 || bg.empty())
            fillBlack(composition, r);
        copyRect(bg, composition, r);
        return;
    }
    fillBlack(composition, r);
    if (bg.empty()) return;
    // Screen (sx, sy) shows background (sx - x, sy - y) inside the w x h window.
    const int w = std::min(win.w, bg.width);
    const int h = std::min(win.h, bg.height);
    const int left = std::max(r.left, win.x);
    const int right = std::min<long long>(r.right, static_cast<long long>(win.x) + w - 1);
    const int top = std::max(r.top, win.y);
    const int bottom = std::min<long long>(r.bottom, static_cast<long long>(win.y) + h - 1);
    if (left > right || top > bottom) return;
    for (int sy = top; sy <= bottom; ++sy) {
        uint8_t* d = composition.row(sy) + left * 3;
        const int bx = left - win.x;
        if (bg.bitsPerPixel == 24) {
            std::memcpy(d, bg.row(sy - win.y) + bx * 3, static_cast<size_t>(right - left + 1) * 3);
        } else {
            const uint8_t* s = bg.row(sy - win.y) + bx;
            for (int i = 0; i <= right - left; ++i) {
                const PaletteEntry& p = bg.palette[s[i]];
                d[i * 3] = p.blue;
                d[i * 3 + 1] = p.green;
                d[i * 3 + 2] = p.red;
            }
        }
    }
}

void drawSprite(const LayerState& layers, int number, Surface& composition, const DirtyRect& r) {
    if (number < 0 || number >= static_cast<int>(layers.sprites.size())) return;
    const Sprite& sprite = layers.sprites[static_cast<size_t>(number)];
    if (sprite.name.empty() || !sprite.visible) return;
    drawSurface(sprite.picture, composition, r, sprite.x, sprite.y);
}

} // namespace

void redrawRegion(LayerState& layers, Surface& composition, const DirtyRect& rect,
                  WindowLayer* window) {
    DirtyRect r;
    if (composition.bitsPerPixel != 24 || !clipToScreen(rect, r)) return;
    r.right = std::min(r.right, composition.width - 1);
    r.bottom = std::min(r.bottom, composition.height - 1);
    if (r.left > r.right || r.top > r.bottom) return;

    drawBackground(layers, composition, r);
    for (int n = kSpriteCount - 1; n > layers.humanz; --n) drawSprite(layers, n, composition, r);
    for (const StandingPicture& s : layers.standing)
        if (!s.name.empty()) drawSurface(s.picture, composition, r, s.x, s.y);
    for (int n = std::min(layers.humanz, kSpriteCount - 1); n >= 0; --n)
        drawSprite(layers, n, composition, r);
    applyFilters(layers.filters, composition, r);
    if (layers.textWindowInComposition && window) window->draw(composition, r);
}

} // namespace orv
