#include "text/TextWindow.h"

#include "graphics/Blend.h"
#include "graphics/GraphicsCommands.h"
#include "graphics/ImageLoader.h"
#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "shell/WindowProc.h"
#include "text/Lookback.h"
#include "util/PixelKernel.h"
#include "util/sjis.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace orv {

namespace {

constexpr int kScreenW = kScreenRight + 1;
constexpr int kScreenH = kScreenBottom + 1;

void shadeComposition(Engine& engine, Surface& composition, const DirtyRect& area) {
    TextWindow& w = engine.text.window;
    DirtyRect r;
    const bool any = clipToScreen(area, r);
    w.shown = true;
    if (!any) return;
    if (w.windowColour == -1) {
        const DirtyRect clip{r.left, r.top, r.right + 2, r.bottom + 2};
        drawSurface(w.windowPicture, composition, clip, w.left, w.top);
        return;
    }
    const auto colour = static_cast<uint32_t>(w.windowColour);
    if (colour == 0xffffff) return;
    // One row of weights in the byte order of a pixel (blue, green, red), laid over every row.
    const auto bytes = static_cast<size_t>(r.right - r.left + 1) * 3;
    std::array<uint8_t, static_cast<size_t>(kScreenW) * 3> weights;
    for (size_t i = 0; i < bytes; i += 3) {
        weights[i] = static_cast<uint8_t>(colour & 0xff);
        weights[i + 1] = static_cast<uint8_t>((colour >> 8) & 0xff);
        weights[i + 2] = static_cast<uint8_t>((colour >> 16) & 0xff);
    }
    for (int y = r.top; y <= r.bottom; ++y)
        scaleBytes(composition.row(y) + static_cast<size_t>(r.left) * 3, weights.data(), bytes);
}

// The first x in [x, end) where the page has ink, or end. Most of a page is blank, so the mask is
// read eight pixels at a time.
ORV_PIXEL_KERNEL int nextInk(const uint8_t* mask, int x, int end) {
    for (; x + 8 <= end; x += 8) {
        uint64_t word;
        std::memcpy(&word, mask + x, sizeof word);
        if (word == 0) continue;
        if constexpr (std::endian::native == std::endian::little)
            return x + std::countr_zero(word) / 8;
        else
            return x + std::countl_zero(word) / 8;
    }
    while (x < end && mask[x] == 0) ++x;
    return x;
}

bool intersect(const DirtyRect& a, const DirtyRect& b, DirtyRect& out) {
    out = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return out.left <= out.right && out.top <= out.bottom;
}

// The layer is read only where the mask has ink, and drawCell writes both together: clearing the
// mask clears the page, whatever bytes the layer still holds.
void clearPage(TextState& text) {
    std::fill(text.coverage.begin(), text.coverage.end(), uint8_t{0});
}

// Lays the page's ink of one row over columns left..right of the composition row `out`, with the
// shadow one pixel to the right when on.
ORV_PIXEL_KERNEL void inkRow(uint8_t* out, const uint8_t* layer, const uint8_t* mask, int left,
                             int right, bool shadow) {
    const int end = right + 1;
    for (int x = nextInk(mask, left, end); x < end; x = nextInk(mask, x + 1, end)) {
        const unsigned keep = 255 - mask[x];
        uint8_t* p = out + static_cast<size_t>(x) * 3;
        const uint8_t* t = layer + static_cast<size_t>(x) * 3;
        for (int k = 0; k < 3; ++k)
            p[k] = static_cast<uint8_t>(std::min(255u, blendMul(p[k], keep) + t[k]));
        if (shadow && x < right) {
            for (int k = 3; k < 6; ++k) p[k] = static_cast<uint8_t>(blendMul(p[k], keep));
        }
    }
}

// One row of a cell: `width` coverage values inked in `rgb` into the display row `out` and the
// text layer row `layer`, the first `shaded` of them casting their shadow one pixel right.
ORV_PIXEL_KERNEL void cellRow(uint8_t* out, uint8_t* layer, const uint8_t* cov, int width,
                              int shaded, const unsigned (&rgb)[3]) {
    for (int i = 0; i < width; ++i, out += 3, layer += 3) {
        const unsigned a = cov[i];
        if (a == 0) continue; // no ink, no shadow: nothing changes
        const unsigned keep = 255 - a;
        const bool shade = i < shaded;
        for (int k = 0; k < 3; ++k) {
            const unsigned ink = blendMul(rgb[k], a);
            layer[k] = static_cast<uint8_t>(ink);
            if (shade) out[3 + k] = static_cast<uint8_t>(blendMul(out[3 + k], keep));
            out[k] = static_cast<uint8_t>(std::min(255u, ink + blendMul(out[k], keep)));
        }
    }
}

} // namespace

DirtyRect windowRect(const TextState& text) {
    const TextWindow& w = text.window;
    return {w.left, w.top, w.right, w.bottom};
}

DirtyRect widenedWindowRect(const TextState& text) {
    const TextWindow& w = text.window;
    DirtyRect r;
    // The window's edges are whatever the scenario gave; two more must not pass the int range.
    const auto widen = [](int edge) { return edge > INT32_MAX - 2 ? INT32_MAX : edge + 2; };
    if (!clipToScreen({w.left, w.top, widen(w.right), widen(w.bottom)}, r)) return {};
    return r;
}

void startTextPass(Engine& engine) {
    TextState& text = engine.text;
    // The reset before the game block clears the page; until then nothing draws it.
    if (text.textLayer.empty()) createSurface(text.textLayer, kScreenW, kScreenH, 24);
    text.coverage.resize(static_cast<size_t>(kScreenW) * kScreenH);
    text.window.linkColour = kDefaultLinkColour;
    text.window.scriptFace = std::string(kDefaultFaceSjis);
    TextPacing& pacing = text.pacing;
    pacing.speedTable = {40, 10, 0};
    pacing.clickstrList.clear();
    pacing.clickstrMargin = 0;
    pacing.clickVoice.clear();
    pacing.pageVoice.clear();
}

void resetTextToStart(Engine& engine) {
    TextState& text = engine.text;
    TextWindow& w = text.window;
    TextWindow fresh;
    fresh.linkColour = w.linkColour;
    fresh.chosenFace = w.chosenFace;
    fresh.scriptFace = w.scriptFace;
    fresh.currentFace = w.chosenFace;
    w = std::move(fresh);
    engine.graphics.layers.textWindowInComposition = false;
    text.links.clear();
    text.lookback.wipe();

    TextPacing& pacing = text.pacing;
    pacing.cursorKind = kNoCursor;
    pacing.autoclickTime = 0;
    pacing.rightClickOff = false;
    releaseSurface(pacing.savedArea);
    engine.shell.autoclickMode = false;
    engine.shell.skipMode = false;
    // The default cursors are optional: a game without them waits with no cursor.
    engine.graphics.optionalLoad = true;
    for (size_t i = 0; i < pacing.cursors.size(); ++i) {
        TextCursor& cursor = pacing.cursors[i];
        loadImage(engine, cursor.picture, kDefaultCursorText[i]);
        cursor.name.clear();
        cursor.relative = true;
        cursor.offsetX = 0;
        cursor.offsetY = 0;
    }
    engine.graphics.optionalLoad = false;

    if (text.textLayer.empty()) createSurface(text.textLayer, kScreenW, kScreenH, 24);
    text.coverage.resize(static_cast<size_t>(kScreenW) * kScreenH);
    clearPage(text);
}

const EffectSpec& windowEffect(const Engine& engine) {
    return engine.graphics.effects.windowEffect;
}

void showRegion(Engine& engine, const EffectSpec& effect, const DirtyRect& region) {
    GraphicsState& g = engine.graphics;
    DirtyRect r = region;
    if (transitionCoversScreen(effect.type) && !(r == kWholeScreen)) {
        redrawRegion(engine, kWholeScreen);
        r = kWholeScreen;
    }
    WaitKindScope busy(engine.platform, WaitKind::None);
    EngineTransitionHost host(engine);
    runTransition(g, host, effect.type, effect.duration, effect.image, r);
}

void newLine(Engine& engine) {
    TextWindow& w = engine.text.window;
    w.column = 0;
    appendLineFeed(engine);
    // Wraps like the 32-bit machine did rather than overflow (a pitch of 0 allows any line).
    w.line = static_cast<int>(static_cast<uint32_t>(w.line) + 1u);
    if (w.line == w.lines)
        reportError(engine, S(caption::kError), S("文字が枠をはみ出してしまいました。"));
}

void newPage(Engine& engine) {
    TextState& text = engine.text;
    TextWindow& w = text.window;
    w.column = 0;
    w.line = 0;
    clearPage(text);
    w.currentFace = w.chosenFace;
    if (!w.shown) return;
    GraphicsState& g = engine.graphics;
    const DirtyRect wide = widenedWindowRect(text);
    g.layers.textWindowInComposition = false;
    redrawRegion(engine, wide);
    shadeComposition(engine, g.surfaces.composition, windowRect(text));
    showRegion(engine, EffectSpec{1, 0, {}}, wide);
    w.shown = true;
    g.layers.textWindowInComposition = true;
}

void hideTextWindowIfErasable(Engine& engine) {
    if (engine.text.window.eraseFlag != 0) hideTextWindowAlways(engine);
}

void hideTextWindowAlways(Engine& engine) {
    TextWindow& w = engine.text.window;
    if (!w.shown) return;
    GraphicsState& g = engine.graphics;
    g.layers.textWindowInComposition = false;
    w.shown = false;
    markDirty(g.layers.dirty, w.left, w.top, w.right, w.bottom);
    const EffectSpec effect = windowEffect(engine);
    showDirty(engine, effect.type, effect.duration, effect.image);
}

void shadeWindowArea(Engine& engine, const DirtyRect& area) {
    shadeComposition(engine, engine.graphics.surfaces.composition, area);
}

void drawWindowLayer(Engine& engine, Surface& composition, const DirtyRect& region) {
    TextState& text = engine.text;
    const TextWindow& w = text.window;
    if (w.textMode == 0) return;
    DirtyRect inWindow, area;
    if (!intersect(region, windowRect(text), inWindow) || !clipToScreen(inWindow, area)) return;
    shadeComposition(engine, composition, area);
    if (text.textLayer.empty() || text.coverage.empty()) return;
    const bool shadow = w.shadow != 0;
    for (int y = area.top; y <= area.bottom; ++y)
        inkRow(composition.row(y), text.textLayer.row(y),
               text.coverage.data() + static_cast<size_t>(y) * kScreenW, area.left, area.right,
               shadow);
}

void showTextWindow(Engine& engine) {
    GraphicsState& g = engine.graphics;
    g.layers.textWindowInComposition = true;
    redrawRegion(engine, kWholeScreen);
    showRegion(engine, windowEffect(engine), widenedWindowRect(engine.text));
}

void drawCell(Engine& engine, int x, int y, unsigned char first, unsigned char second,
              uint32_t colour) {
    const TextWindow& w = engine.text.window;
    // The callers keep the cell and the shadow column right of it on the screen.
    if (x < 0 || y < 0 || x + w.glyphWidth >= kScreenW || y + w.glyphHeight > kScreenH) return;
    const CellStyle style{w.currentFace, w.glyphWidth, w.glyphHeight, w.bold != 0, w.shadow != 0};
    drawCell(engine, style, DirtyRect{x, y, x + w.glyphWidth, y + w.glyphHeight - 1}, x, y, first,
             second, colour);
}

void drawCell(Engine& engine, const CellStyle& style, const DirtyRect& clip, int x, int y,
              unsigned char first, unsigned char second, uint32_t colour) {
    // Ink only: nothing the scenario decides depends on it.
    if (engine.graphics.unwatched) return;
    TextState& text = engine.text;
    const GlyphCell& cell = text.glyphs.cell(style.face, style.glyphWidth, style.glyphHeight,
                                             style.bold, first, second);
    DirtyRect c;
    if (cell.width <= 0 || cell.height <= 0 || !clipToScreen(clip, c)) return;
    // The cell's pixels inside the clip: columns i0..i1-1 and rows j0..j1-1 of the cell.
    const int i0 = std::max(0, c.left - x);
    const int i1 = std::min(cell.width, c.right - x + 1);
    const int j0 = std::max(0, c.top - y);
    const int j1 = std::min(cell.height, c.bottom - y + 1);
    if (i0 >= i1 || j0 >= j1) return;
    Surface& display = engine.graphics.surfaces.display;
    const bool shadow = style.shadow;
    // The shadow of the last column falls right of the cell, and only inside the clip.
    const int shadowEnd = std::min(i1, c.right - x);
    // Blue, green, red, as the bytes of a pixel lie.
    const unsigned rgb[3] = {colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff};
    const auto n = static_cast<size_t>(i1 - i0);
    // A cell kept off the page inks a scratch row instead of the text layer.
    std::array<uint8_t, static_cast<size_t>(kScreenW) * 3> scratch;
    for (int j = j0; j < j1; ++j) {
        const int sy = y + j;
        uint8_t* out = display.row(sy) + static_cast<size_t>(x + i0) * 3;
        uint8_t* layer = scratch.data();
        const uint8_t* cov = cell.coverage.data() + static_cast<size_t>(j) * cell.width;
        if (style.recordInPage) {
            layer = text.textLayer.row(sy) + static_cast<size_t>(x + i0) * 3;
            uint8_t* mask = text.coverage.data() + static_cast<size_t>(sy) * kScreenW + x + i0;
            std::memcpy(mask, cov + i0, n);
            std::memset(layer, 0, n * 3);
        }
        cellRow(out, layer, cov + i0, i1 - i0, shadow ? shadowEnd - i0 : 0, rgb);
    }
    const DirtyRect r{x + i0, y + j0, x + i1 - 1, y + j1 - 1};
    copyToWindow(display, engine.platform.window(), r);
    engine.platform.present(toPlatformRect(r));
}

} // namespace orv
