// The window's own furniture (menu bar, popups, dialogs) in the classic grey: faces in the
// strip's grey, bevels in white and dark grey, the chosen item and caption bars in navy.
#pragma once

#include "platform/fonts/UiText.h"

namespace orv::ui {

inline constexpr Rgb8 kFace{0xC0, 0xC0, 0xC0};
inline constexpr Rgb8 kLight{0xFF, 0xFF, 0xFF};
inline constexpr Rgb8 kShadow{0x80, 0x80, 0x80};
inline constexpr Rgb8 kDark{0x40, 0x40, 0x40};
inline constexpr Rgb8 kText{0x00, 0x00, 0x00};
inline constexpr Rgb8 kHotFace{0x00, 0x00, 0x80};
inline constexpr Rgb8 kHotText{0xFF, 0xFF, 0xFF};

// A frame s pixels thick: top and left in one colour, bottom and right in another.
inline void bevel(RgbCanvas& c, int x, int y, int w, int h, int s, Rgb8 topLeft, Rgb8 bottomRight) {
    c.fill(x, y, w, s, topLeft);
    c.fill(x, y, s, h, topLeft);
    c.fill(x, y + h - s, w, s, bottomRight);
    c.fill(x + w - s, y, s, h, bottomRight);
}

} // namespace orv::ui
