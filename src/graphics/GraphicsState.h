// Everything the picture side of the engine keeps: the engine's fixed surfaces, the layers, the
// effect registry and the loading defaults. One instance lives in the Engine.
#pragma once

#include "graphics/Compose.h"
#include "graphics/Effects.h"
#include "graphics/Surface.h"

namespace orv {

inline constexpr int kGlyphSurfaceSize = 128;

// The last three are scratch: whoever uses one writes every pixel it reads later, so resets leave
// their leftovers in place.
struct EngineSurfaces {
    Surface display;     // what the window shows
    Surface composition; // where the layers are composed
    Surface effectWork;  // scratch of the transitions and of centring a background
    Surface screenKeep;  // a spare screen for the menus and the save code
    Surface glyph;       // 128 x 128, where the text window renders characters
};

struct GraphicsState {
    EngineSurfaces surfaces;
    LayerState layers;
    EffectState effects;
    TransMode defaultTransMode = TransMode::LeftUp; // `transmode`
    bool optionalLoad = false; // a missing picture becomes a blank 1 x 1 instead of an error
    // Nobody sees the screen (--explore): the composition and the frames of transitions are not
    // drawn. Their clock, messages and every decision go on as ever, since none depends on pixels.
    bool unwatched = false;
};

// (Re)creates the screen-sized surfaces (display, composition, background, effect work, screen
// keep) at 640 x 480 x 24 and the glyph surface at 128 x 128 x 24, all black.
void createEngineSurfaces(GraphicsState& graphics);
// The same surfaces, but only those missing or of another size are made (black); the others keep
// their pixels. Every game block starts with the reset, which blackens the screens, so a pass need
// not clear them first.
void allocateEngineSurfaces(GraphicsState& graphics);

// The settings the definition block may change, back to their defaults for a new engine pass
// (the effect registry, the effect pause, the sprite boundary, the background window and the
// default transparency mode). The baseline is kept: it survives every reset.
void resetGraphicsSettings(GraphicsState& graphics);

// The reset to the start: the display, the composition and the background black, the background
// named "black", no standing pictures, no sprites, no filters. The caller shows the black display.
void resetLayersToStart(GraphicsState& graphics);

} // namespace orv
