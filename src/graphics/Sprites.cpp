#include "graphics/Sprites.h"

#include "interp/Engine.h"

#include <algorithm>

namespace orv {

Sprite& spriteAt(LayerState& layers, int n) {
    if (layers.sprites.size() < kSpriteCount) layers.sprites.resize(kSpriteCount);
    return layers.sprites[static_cast<size_t>(n)];
}

int clampSpritePosition(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, -kSpriteReach, kSpriteReach));
}

void markPictureArea(DirtyRect& dirty, const Surface& picture, int x, int y) {
    markDirty(dirty, x, y, x + displayedWidth(picture) + 1, y + picture.height + 1);
}

void markSpriteArea(LayerState& layers, const Sprite& sprite) {
    markPictureArea(layers.dirty, sprite.picture, sprite.x, sprite.y);
}

void resetSpritesToStart(Engine& engine) {
    for (Sprite& sprite : engine.graphics.layers.sprites) sprite = Sprite{};
}

} // namespace orv
