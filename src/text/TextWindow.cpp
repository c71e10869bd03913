#include "text/TextWindow.h"

#include "graphics/Blend.h"
#include "graphics/GraphicsCommands.h"
#include "graphics/ImageLoader.h"
#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "shell/WindowProc.h"
#include "text/Lookback.h"
#include "util/sjis.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace orv {

namespace {

constexpr int kScreenW = kScreenRight + 1;
constexpr int kScreenH = kScreenBottom + 1;

// A lookup of floor(c * p / 255) for one channel of a tint.
using ChannelTable = std::array<uint8_t, 256>;

ChannelTable tintTable(unsigned c) {
    ChannelTable t{};
    for (unsigned p = 0; p < 256; ++p) t[p] = static_cast<uint8_t>(blendMul(c, p));
    return t;
}

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
    // Blue, green, red: the order of the bytes in a pixel.
    const std::array<ChannelTable, 3> tables = {tintTable(colour & 0xff),
                                                tintTable((colour >> 8) & 0xff),
                                                tintTable((colour >> 16) & 0xff)};
    for (int y = r.top; y <= r.bottom; ++y) {
        uint8_t* p = composition.row(y) + static_cast<size_t>(r.left) * 3;
        for (int x = r.left; x <= r.right; ++x, p += 3) {
            p[0] = tables[0][p[0]];
            p[1] = tables[1][p[1]];
            p[2] = tables[2][p[2]];
        }
    }
}

bool intersect(const DirtyRect& a, const DirtyRect& b, DirtyRect& out) {
    out = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return out.left <= out.right && out.top <= out.bottom;
}

void clearPage(TextState& text) {
    fillSurface(text.textLayer, 0x000000);
    std::fill(text.coverage.begin(), text.coverage.end(), uint8_t{0});
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
    createSurface(text.textLayer, kScreenW, kScreenH, 24);
    text.coverage.assign(static_cast<size_t>(kScreenW) * kScreenH, 0);
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
    pacing.inRightClick = false;
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
    for (int y = area.top; y <= area.bottom; ++y) {
        const uint8_t* mask = text.coverage.data() + static_cast<size_t>(y) * kScreenW;
        const uint8_t* layer = text.textLayer.row(y);
        uint8_t* out = composition.row(y);
        for (int x = area.left; x <= area.right; ++x) {
            const unsigned a = mask[x];
            if (a == 0) continue;
            const unsigned keep = 255 - a;
            uint8_t* p = out + static_cast<size_t>(x) * 3;
            const uint8_t* t = layer + static_cast<size_t>(x) * 3;
            for (int k = 0; k < 3; ++k)
                p[k] = static_cast<uint8_t>(std::min(255u, blendMul(p[k], keep) + t[k]));
            if (shadow && x < area.right) {
                for (int k = 3; k < 6; ++k) p[k] = static_cast<uint8_t>(blendMul(p[k], keep));
            }
        }
    }
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
    for (int j = j0; j < j1; ++j) {
        const int sy = y + j;
        uint8_t* out = display.row(sy) + static_cast<size_t>(x + i0) * 3;
        uint8_t* layer = text.textLayer.row(sy) + static_cast<size_t>(x + i0) * 3;
        uint8_t* mask = text.coverage.data() + static_cast<size_t>(sy) * kScreenW + x + i0;
        const uint8_t* cov = cell.coverage.data() + static_cast<size_t>(j) * cell.width;
        std::memcpy(mask, cov + i0, n);
        std::memset(layer, 0, n * 3);
        for (int i = i0; i < i1; ++i, out += 3, layer += 3) {
            const unsigned a = cov[i];
            if (a == 0) continue; // no ink, no shadow: nothing changes
            const unsigned keep = 255 - a;
            const bool shade = shadow && i < shadowEnd;
            for (int k = 0; k < 3; ++k) {
                const unsigned ink = blendMul(rgb[k], a);
                layer[k] = static_cast<uint8_t>(ink);
                if (shade) out[3 + k] = static_cast<uint8_t>(blendMul(out[3 + k], keep));
                out[k] = static_cast<uint8_t>(std::min(255u, ink + blendMul(out[k], keep)));
            }
        }
    }
    const DirtyRect r{x + i0, y + j0, x + i1 - 1, y + j1 - 1};
    copyToWindow(display, engine.platform.window(), r);
    engine.platform.present(toPlatformRect(r));
}

} // namespace orv
