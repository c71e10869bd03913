#include "graphics/SpriteCommands.h"

#include "graphics/ImageLoader.h"
#include "graphics/Sprites.h"
#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <algorithm>

namespace orv {

namespace {

// The sprite number that opens every sprite command; -1 only where it means all of them.
int readSpriteNumber(Engine& engine, bool allowAll) {
    const int32_t n = readNumber(engine);
    if (n >= 0 && n < kSpriteCount) return n;
    if (allowAll && n == -1) return n;
    reportError(engine, S(caption::kParameter),
                formatMessage(allowAll
                                  ? S("スプライト番号%dは範囲外です。-1～255で指定してください。")
                                  : S("スプライト番号%dは範囲外です。0～255で指定してください。"),
                              n));
}

// A sprite that vsp or msp may change: one that has a picture.
Sprite& definedSprite(Engine& engine, int n) {
    Sprite& sprite = spriteAt(engine.graphics.layers, n);
    if (sprite.name.empty())
        reportError(engine, S(caption::kError),
                    formatMessage(S("定義されていないスプライト%dを使おうとしました。"), n));
    return sprite;
}

void loadSprite(Engine& engine, bool shown) {
    LayerState& layers = engine.graphics.layers;
    hideTextWindowIfErasable(engine);
    const int n = readSpriteNumber(engine, false);
    expectComma(engine);
    Sprite& sprite = spriteAt(layers, n);
    if (!sprite.name.empty() && sprite.visible) markSpriteArea(layers, sprite);
    std::string picture = readString(engine);
    expectComma(engine);
    const int32_t x = readNumber(engine);
    expectComma(engine);
    const int32_t y = readNumber(engine);
    // The name first: a picture that fails to load ends the run, and what stays is never drawn.
    sprite.name = std::move(picture);
    loadImage(engine, sprite.picture, sprite.name);
    sprite.x = clampSpritePosition(x);
    sprite.y = clampSpritePosition(y);
    if (shown) markSpriteArea(layers, sprite);
    sprite.visible = shown ? 1 : 0;
    if (peekAfterBlanks(engine) != ',') return;
    ++engine.script.pos;
    const int32_t level = readNumber(engine);
    if (level < -1 || level > 255)
        reportError(engine, S(caption::kParameter),
                    formatMessage(
                        S("スプライトの透明度%dは範囲外です。-1～255で指定してください。"), level));
    sprite.picture.blendLevel = level;
}

void clearSprite(LayerState& layers, Sprite& sprite) {
    if (sprite.name.empty()) return;
    if (sprite.visible) markSpriteArea(layers, sprite);
    sprite.name.clear();
    // A fresh surface rather than a release, so that the memory goes back at once.
    sprite.picture = Surface{};
}

} // namespace

void cmdLsp(Engine& engine) {
    loadSprite(engine, true);
}

void cmdLsph(Engine& engine) {
    loadSprite(engine, false);
}

void cmdCsp(Engine& engine) {
    LayerState& layers = engine.graphics.layers;
    hideTextWindowIfErasable(engine);
    const int n = readSpriteNumber(engine, true);
    if (n != -1) {
        clearSprite(layers, spriteAt(layers, n));
        return;
    }
    for (Sprite& sprite : layers.sprites) clearSprite(layers, sprite);
}

void cmdVsp(Engine& engine) {
    LayerState& layers = engine.graphics.layers;
    hideTextWindowIfErasable(engine);
    const int n = readSpriteNumber(engine, false);
    expectComma(engine);
    const int32_t visible = readNumber(engine);
    Sprite& sprite = definedSprite(engine, n);
    if (visible == sprite.visible) return;
    sprite.visible = visible;
    markSpriteArea(layers, sprite);
}

void cmdMsp(Engine& engine) {
    LayerState& layers = engine.graphics.layers;
    hideTextWindowIfErasable(engine);
    const int n = readSpriteNumber(engine, false);
    expectComma(engine);
    const auto [dx, dy] = readNumbers<2>(engine);
    Sprite& sprite = definedSprite(engine, n);
    if (sprite.visible) markSpriteArea(layers, sprite);
    sprite.x = clampSpritePosition(int64_t{sprite.x} + dx);
    sprite.y = clampSpritePosition(int64_t{sprite.y} + dy);
    if (sprite.visible) markSpriteArea(layers, sprite);
    if (peekAfterBlanks(engine) != ',') return;
    ++engine.script.pos;
    const int32_t dlevel = readNumber(engine);
    int& level = sprite.picture.blendLevel;
    if (level == -1) level = 255;
    level = static_cast<int>(std::clamp<int64_t>(int64_t{level} + dlevel, 0, 255));
}

} // namespace orv
