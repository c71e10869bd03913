#include "graphics/GraphicsCommands.h"

#include "graphics/ImageLoader.h"
#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/WindowProc.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <algorithm>

namespace orv {

uint32_t EngineTransitionHost::ticks() {
    return engine_.platform.ticks();
}
void EngineTransitionHost::sleep(uint32_t ms) {
    engine_.platform.sleep(ms);
}
void EngineTransitionHost::pumpOneEvent() {
    orv::pumpOneEvent(engine_);
}
FrameBuffer& EngineTransitionHost::window() {
    return engine_.platform.window();
}
void EngineTransitionHost::present(const Rect& rect) {
    engine_.platform.present(rect);
}
void EngineTransitionHost::loadImage(Surface& surface, const std::string& text) {
    orv::loadImage(engine_, surface, text);
}
void EngineTransitionHost::reportError(std::string_view caption, std::string_view text) {
    orv::reportError(engine_, caption, text);
}

void startGraphicsPass(Engine& engine) {
    allocateEngineSurfaces(engine.graphics);
    resetGraphicsSettings(engine.graphics);
}

void resetGraphicsToStart(Engine& engine) {
    resetLayersToStart(engine.graphics);
    copyToWindow(engine.graphics.surfaces.display, engine.platform.window(), kWholeScreen);
    engine.platform.present(toPlatformRect(kWholeScreen));
}

namespace {

class TextWindowLayer final : public WindowLayer {
public:
    explicit TextWindowLayer(Engine& engine) : engine_(engine) {}
    void draw(Surface& composition, const DirtyRect& region) override {
        drawWindowLayer(engine_, composition, region);
    }

private:
    Engine& engine_;
};

} // namespace

void redrawRegion(Engine& engine, const DirtyRect& rect) {
    GraphicsState& g = engine.graphics;
    if (g.unwatched) return;
    TextWindowLayer window(engine);
    redrawRegion(g.layers, g.surfaces.composition, rect, &window);
}

void showDirty(Engine& engine, int type, int duration, const std::string& image) {
    GraphicsState& g = engine.graphics;
    if (transitionCoversScreen(type)) markDirty(g.layers.dirty, 0, 0, kScreenRight, kScreenBottom);
    redrawRegion(engine, g.layers.dirty);
    WaitKindScope busy(engine.platform, WaitKind::None);
    EngineTransitionHost host(engine);
    const DirtyRect region = g.layers.dirty;
    runTransition(g, host, type, duration, image, region);
}

namespace {

// The letter of a standing position: 0 left, 1 centre, 2 right, 3 all (when allowed), -1 other.
int readPosition(Engine& engine, bool allowAll) {
    const char c = peekAfterBlanks(engine);
    if (c != '\n' && c != '\0') ++engine.script.pos;
    switch (c) {
    case 'l':
    case 'L':
        return kLeft;
    case 'c':
    case 'C':
        return kCentre;
    case 'r':
    case 'R':
        return kRight;
    case 'a':
    case 'A':
        return allowAll ? 3 : -1;
    default:
        return -1;
    }
}

void markStandingArea(GraphicsState& g, int position) {
    const StandingPicture& p = g.layers.standing[static_cast<size_t>(position)];
    markDirty(g.layers.dirty, p.x, p.y, p.x + displayedWidth(p.picture) + 1,
              p.y + p.picture.height + 1);
}

void clearStanding(GraphicsState& g, int position) {
    StandingPicture& p = g.layers.standing[static_cast<size_t>(position)];
    releaseSurface(p.picture);
    p.name.clear();
}

// An effect definition after its number (or, for windoweffect, from the start).
EffectSpec readEffectSpec(Engine& engine) {
    EffectSpec effect;
    effect.type = readNumber(engine);
    if (effect.type == 1) return effect;
    expectComma(engine);
    effect.duration = readNumber(engine);
    if (effect.type == 15 || effect.type == 18) {
        expectComma(engine);
        effect.image = readString(engine);
    }
    return effect;
}

} // namespace

void runEffect(Engine& engine) {
    const int32_t n = readNumber(engine);
    hideTextWindowIfErasable(engine);
    if (peekAfterBlanks(engine) == ',') {
        ++engine.script.pos;
        const int32_t duration = readNumber(engine);
        std::string image;
        if (peekAfterBlanks(engine) == ',') {
            ++engine.script.pos;
            image = readString(engine);
        }
        showDirty(engine, n, duration, image);
        return;
    }
    if (n == 0) return;
    if (n < 0 || n >= kEffectCount)
        reportError(engine, S(caption::kError), S("未定義のエフェクトを使いました"));
    const EffectSpec effect = engine.graphics.effects.registry[static_cast<size_t>(n)];
    showDirty(engine, effect.type, effect.duration, effect.image);
}

void loadBackgroundPicture(Engine& engine, std::string name) {
    GraphicsState& g = engine.graphics;
    LayerState& layers = g.layers;
    loadImage(engine, layers.background, name);
    layers.backgroundName = std::move(name);
    layers.background.transMode = TransMode::Copy;
    const int w = displayedWidth(layers.background);
    const int h = layers.background.height;
    if (w != kScreenRight + 1 || h != kScreenBottom + 1) {
        // Centred on black, halves truncated toward zero.
        Surface& work = g.surfaces.effectWork;
        if (work.width != kScreenRight + 1 || work.height != kScreenBottom + 1 ||
            work.bitsPerPixel != 24)
            createSurface(work, kScreenRight + 1, kScreenBottom + 1, 24);
        fillSurface(work, 0x000000);
        drawSurface(layers.background, work, 320 - w / 2, 240 - h / 2);
        createSurface(layers.background, kScreenRight + 1, kScreenBottom + 1, 24);
        copyRect(work, layers.background, kWholeScreen);
    }
}

namespace {

// Six hexadecimal digits after the '#'; false when they are not there.
bool parseColourName(std::string_view name, uint32_t& colour) {
    if (name.size() < 7) return false;
    colour = 0;
    for (size_t i = 1; i < 7; ++i) {
        const char c = name[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return false;
        colour = colour << 4 | static_cast<uint32_t>(digit);
    }
    return true;
}

} // namespace

void setBackground(Engine& engine, std::string name) {
    LayerState& layers = engine.graphics.layers;
    uint32_t colour = 0;
    const bool isColour = !name.empty() && name[0] == '#';
    if (!isColour && name != "black" && name != "white" && !name.empty()) {
        loadBackgroundPicture(engine, std::move(name));
        return;
    }
    if (isColour && !parseColourName(name, colour)) colour = 0;
    if (name == "white") colour = 0xffffff;
    if (layers.bgalia.on())
        createSurface(layers.background, layers.bgalia.w, layers.bgalia.h, 24);
    else
        createSurface(layers.background, kScreenRight + 1, kScreenBottom + 1, 24);
    fillRect(layers.background, 0, 0, 640, 480, colour);
    layers.backgroundName = std::move(name);
}

void cmdBg(Engine& engine) {
    GraphicsState& g = engine.graphics;
    LayerState& layers = g.layers;
    hideTextWindowIfErasable(engine);
    const char first = peekAfterBlanks(engine);
    bool isString = first == '"';
    if (!isString) {
        if (layers.bgalia.on())
            createSurface(layers.background, layers.bgalia.w, layers.bgalia.h, 24);
        else
            createSurface(layers.background, kScreenRight + 1, kScreenBottom + 1, 24);
        const int32_t start = engine.script.pos;
        if (first == '#') {
            const uint32_t colour = readColourLiteral(engine);
            layers.backgroundName =
                std::string(engine.script.buffer.text().substr(static_cast<size_t>(start), 7));
            fillRect(layers.background, 0, 0, 640, 480, colour);
        } else {
            std::string word;
            readWord(engine, word);
            if (word == "black" || word == "white") {
                layers.backgroundName = word;
                fillRect(layers.background, 0, 0, 640, 480, word == "black" ? 0x000000 : 0xffffff);
            } else {
                engine.script.pos = start;
                isString = true;
            }
        }
    }
    if (isString) loadBackgroundPicture(engine, readString(engine));
    for (int p = 0; p < 3; ++p) clearStanding(g, p);
    expectComma(engine);
    layers.dirty = kWholeScreen;
    runEffect(engine);
}

void cmdLd(Engine& engine) {
    GraphicsState& g = engine.graphics;
    hideTextWindowIfErasable(engine);
    const int position = readPosition(engine, false);
    if (position >= 0) {
        StandingPicture& p = g.layers.standing[static_cast<size_t>(position)];
        markStandingArea(g, position);
        expectComma(engine);
        p.name = readString(engine);
        loadImage(engine, p.picture, p.name);
        p.x = kPositionCentres[static_cast<size_t>(position)] - displayedWidth(p.picture) / 2;
        p.y = g.layers.baseline - p.picture.height;
        markStandingArea(g, position);
    }
    expectComma(engine);
    runEffect(engine);
}

void cmdCl(Engine& engine) {
    GraphicsState& g = engine.graphics;
    hideTextWindowIfErasable(engine);
    const int position = readPosition(engine, true);
    for (int p = 0; p < 3; ++p) {
        if (position != p && position != 3) continue;
        markStandingArea(g, p);
        clearStanding(g, p);
    }
    expectComma(engine);
    runEffect(engine);
}

void cmdTal(Engine& engine) {
    GraphicsState& g = engine.graphics;
    hideTextWindowIfErasable(engine);
    const int position = readPosition(engine, false);
    expectComma(engine);
    const int level = std::clamp<int32_t>(readNumber(engine), 0, 255);
    if (position >= 0) {
        g.layers.standing[static_cast<size_t>(position)].picture.blendLevel = level;
        markStandingArea(g, position);
    }
    expectComma(engine);
    runEffect(engine);
}

void cmdHumanz(Engine& engine) {
    const int32_t n = readNumber(engine);
    if (n < 0 || n > 255) reportError(engine, S(caption::kError), S("humanz指定が範囲外です。"));
    engine.graphics.layers.humanz = n;
}

void cmdBgalia(Engine& engine) {
    const auto [x, y, w, h] = readNumbers<4>(engine);
    engine.graphics.layers.bgalia = BackgroundWindow{x, y, w, h};
}

void cmdUnderline(Engine& engine) {
    engine.graphics.layers.baseline = readNumber(engine);
}

void cmdEffect(Engine& engine) {
    const int32_t n = readNumber(engine);
    if (n < 2 || n >= kEffectCount)
        reportError(engine, S(caption::kParameter), S("effect命令の第一パラメータは2～49です。"));
    expectComma(engine);
    engine.graphics.effects.registry[static_cast<size_t>(n)] = readEffectSpec(engine);
}

void cmdWindoweffect(Engine& engine) {
    engine.graphics.effects.windowEffect = readEffectSpec(engine);
}

void cmdEffectblank(Engine& engine) {
    engine.graphics.effects.effectPause = readNumber(engine);
}

void cmdPrint(Engine& engine) {
    runEffect(engine);
}

} // namespace orv
