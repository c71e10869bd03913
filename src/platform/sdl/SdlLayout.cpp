#include "platform/sdl/SdlLayout.h"

#include "platform/Platform.h"

#include <algorithm>

namespace orv {

namespace {

// Division rounding towards minus infinity, so positions just left of or
// above the picture map to -1 rather than 0.
int floorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return int(q);
}

} // namespace

SdlLayout computeLayout(int outputWidth, int outputHeight, int stripHeight) {
    SdlLayout layout;
    outputWidth = std::max(outputWidth, 0);
    outputHeight = std::max(outputHeight, 0);
    stripHeight = std::clamp(stripHeight, 0, outputHeight);
    layout.menuStrip = {0, 0, stripHeight > 0 ? outputWidth : 0, stripHeight};

    const long long availW = outputWidth;
    const long long availH = outputHeight - stripHeight;
    long long w, h;
    if (availW * kScreenHeight >= availH * kScreenWidth) {
        h = availH;
        w = availH * kScreenWidth / kScreenHeight;
    } else {
        w = availW;
        h = availW * kScreenHeight / kScreenWidth;
    }
    layout.game = {int((availW - w) / 2), stripHeight + int((availH - h) / 2), int(w), int(h)};
    layout.wholeScale = w > 0 && w % kScreenWidth == 0 && h == w / kScreenWidth * kScreenHeight;
    return layout;
}

GamePoint mapToGame(const SdlLayout& layout, int px, int py) {
    const PixelRect& g = layout.game;
    if (g.w <= 0 || g.h <= 0) return {0, 0, PointerArea::Outside};
    int x = floorDiv((long long)(px - g.x) * kScreenWidth, g.w);
    int y = floorDiv((long long)(py - g.y) * kScreenHeight, g.h);
    x = std::clamp(x, 0, kScreenWidth - 1);
    if (layout.menuStrip.contains(px, py))
        return {x, std::clamp(y, -kMenuBarHeight, -1), PointerArea::MenuStrip};
    if (g.contains(px, py)) return {x, std::clamp(y, 0, kScreenHeight - 1), PointerArea::Game};
    return {x, std::clamp(y, 0, kScreenHeight - 1), PointerArea::Outside};
}

std::vector<char32_t> decodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int length;
        char32_t cp;
        char32_t minimum;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, cp = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, cp = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, cp = lead & 0x07, minimum = 0x10000;
        } else {
            ++i; // stray continuation byte or invalid lead
            continue;
        }
        int taken = 1;
        while (taken < length && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
            ++taken;
        }
        i += taken;
        if (taken < length) continue; // truncated: the next byte starts afresh
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) continue;
        out.push_back(cp);
    }
    return out;
}

namespace {

constexpr int kPictureWidth = 640;
constexpr int kWindowHeight = 480 + kMenuBarHeight;
// What a desktop's frame and title bar take around a window.
constexpr int kFrameMarginX = 32;
constexpr int kFrameMarginY = 64;
constexpr int kMaxScale = 8;

} // namespace

int fittingScale(int desktopWidth, int desktopHeight) {
    int scale = 1;
    while (scale < kMaxScale && (scale + 1) * kPictureWidth + kFrameMarginX <= desktopWidth &&
           (scale + 1) * kWindowHeight + kFrameMarginY <= desktopHeight)
        ++scale;
    return scale;
}

int scaleOfWindow(int windowWidth, int windowHeight) {
    return std::clamp(std::min(windowWidth / kPictureWidth, windowHeight / kWindowHeight), 1,
                      kMaxScale);
}

} // namespace orv
