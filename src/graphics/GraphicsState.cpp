#include "graphics/GraphicsState.h"

#include <array>
#include <string>

namespace orv {

namespace {

struct SurfaceSize {
    Surface* surface;
    int width;
    int height;
};

std::array<SurfaceSize, 6> engineSurfaces(GraphicsState& graphics) {
    EngineSurfaces& s = graphics.surfaces;
    constexpr int w = kScreenRight + 1, h = kScreenBottom + 1;
    return {{{&s.display, w, h},
             {&s.composition, w, h},
             {&graphics.layers.background, w, h},
             {&s.effectWork, w, h},
             {&s.screenKeep, w, h},
             {&s.glyph, kGlyphSurfaceSize, kGlyphSurfaceSize}}};
}

} // namespace

void createEngineSurfaces(GraphicsState& graphics) {
    for (const SurfaceSize& s : engineSurfaces(graphics))
        createSurface(*s.surface, s.width, s.height, 24);
}

void allocateEngineSurfaces(GraphicsState& graphics) {
    for (const SurfaceSize& s : engineSurfaces(graphics)) {
        const Surface& surface = *s.surface;
        if (surface.empty() || surface.width != s.width || surface.height != s.height ||
            surface.bitsPerPixel != 24)
            createSurface(*s.surface, s.width, s.height, 24);
    }
}

void resetGraphicsSettings(GraphicsState& graphics) {
    graphics.effects.reset();
    graphics.layers.humanz = 127;
    graphics.layers.bgalia = BackgroundWindow{};
    graphics.defaultTransMode = TransMode::LeftUp;
    graphics.optionalLoad = false;
}

void resetLayersToStart(GraphicsState& graphics) {
    EngineSurfaces& s = graphics.surfaces;
    LayerState& layers = graphics.layers;
    for (Surface* screen : {&s.display, &s.composition, &layers.background})
        fillSurface(*screen, 0x000000);
    layers.backgroundName = "black";
    for (StandingPicture& p : layers.standing) p.name.clear();
    for (Sprite& sprite : layers.sprites) {
        sprite.name.clear();
        sprite.x = 0;
        sprite.y = 0;
    }
    layers.filters.negativeMode = 0;
    layers.filters.monochrome = 0;
}

} // namespace orv
