#include "graphics/Buttons.h"

#include <algorithm>
#include <cstring>

namespace orv {

bool Button::contains(int px, int py) const {
    return x <= px && px <= int64_t{x} + w - 1 && y <= py && py <= int64_t{y} + h - 1;
}

bool Button::screenArea(DirtyRect& out) const {
    return clipWideRect(x, y, int64_t{x} + w - 1, int64_t{y} + h - 1, out);
}

int ButtonState::buttonAt(int px, int py) const {
    for (int i = count - 1; i >= 0; --i)
        if (entries[static_cast<size_t>(i)].contains(px, py)) return i;
    return -1;
}

bool clipWideRect(int64_t left, int64_t top, int64_t right, int64_t bottom, DirtyRect& out) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, kScreenRight);
    bottom = std::min<int64_t>(bottom, kScreenBottom);
    if (left > right || top > bottom) return false;
    out = DirtyRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                    static_cast<int>(bottom)};
    return true;
}

void copyClippedBlock(const Surface& src, int sx, int sy, Surface& dst, int dx, int dy, int w,
                      int h) {
    if (src.empty() || dst.bitsPerPixel != 24 || (src.bitsPerPixel != 24 && src.bitsPerPixel != 8))
        return;
    if (src.bitsPerPixel == 8 && src.palette.size() < 256) return;
    // Columns i and rows j of the block with both ends inside both pictures.
    const int64_t i0 = std::max<int64_t>({0, -int64_t{sx}, -int64_t{dx}});
    const int64_t i1 =
        std::min<int64_t>({int64_t{w}, int64_t{src.width} - sx, int64_t{dst.width} - dx});
    const int64_t j0 = std::max<int64_t>({0, -int64_t{sy}, -int64_t{dy}});
    const int64_t j1 =
        std::min<int64_t>({int64_t{h}, int64_t{src.height} - sy, int64_t{dst.height} - dy});
    if (i0 >= i1 || j0 >= j1) return;
    const auto n = static_cast<size_t>(i1 - i0);
    for (int64_t j = j0; j < j1; ++j) {
        const uint8_t* s = src.row(static_cast<int>(sy + j));
        uint8_t* d = dst.row(static_cast<int>(dy + j)) + (dx + i0) * 3;
        if (src.bitsPerPixel == 24) {
            std::memcpy(d, s + (sx + i0) * 3, n * 3);
            continue;
        }
        s += sx + i0;
        for (size_t i = 0; i < n; ++i) {
            const PaletteEntry& p = src.palette[s[i]];
            d[i * 3] = p.blue;
            d[i * 3 + 1] = p.green;
            d[i * 3 + 2] = p.red;
        }
    }
}

} // namespace orv
