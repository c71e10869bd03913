#include "graphics/GraphicsState.h"

#include <string>

namespace orv {

void createEngineSurfaces(GraphicsState& graphics) {
    EngineSurfaces& s = graphics.surfaces;
    for (Surface* screen :
         {&s.display, &s.composition, &graphics.layers.background, &s.effectWork, &s.screenKeep})
        createSurface(*screen, kScreenRight + 1, kScreenBottom + 1, 24);
    createSurface(s.glyph, kGlyphSurfaceSize, kGlyphSurfaceSize, 24);
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
    for (Surface* screen :
         {&s.display, &s.composition, &layers.background, &s.effectWork, &s.screenKeep})
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
