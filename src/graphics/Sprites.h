// The sprite table's upkeep: where an entry lives, the area it covers on screen, and its emptying
// at the reset to the start. The table itself sits in the layers, because the composition draws
// it between the background and the text window.
#pragma once

#include "graphics/Compose.h"

#include <cstdint>

namespace orv {

struct Engine;

// Sprite n (0..kSpriteCount-1); the table is made full-sized on first use.
Sprite& spriteAt(LayerState& layers, int n);

// Sprite positions are kept within this distance of the screen, so that the areas computed from
// them never overflow however far a script moves a sprite away.
inline constexpr int kSpriteReach = 1 << 30;
int clampSpritePosition(int64_t value);

// Widens the dirty rectangle by what a picture at (x, y) covers: one column and one row more than
// its displayed cell, so that the edge pixels of a moving picture are always recomposed.
void markPictureArea(DirtyRect& dirty, const Surface& picture, int x, int y);
void markSpriteArea(LayerState& layers, const Sprite& sprite);

// The reset to the start: every sprite gone, its picture's memory given back.
void resetSpritesToStart(Engine& engine);

} // namespace orv
