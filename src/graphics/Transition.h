// Carrying a newly composed picture to the screen.
//
// A transition takes the composition surface to the display surface and the window through one of
// eighteen effects, paced by the millisecond clock: each frame notes the clock, draws, lets one
// pending window message through and sleeps only what is left of its period; the level-driven
// effects advance by the time a frame really took, so a slow machine takes about as long with
// fewer frames.
//
// The window here is the platform's frame buffer, not the display surface: the blinds and sweeps
// (types 2-9) copy straight from the composition to the window and the scrolls (11-14) move the
// window's own pixels, leaving the display surface to the finish. The mask wipes and mosaics
// (15-18) work on the display surface and copy it out each frame.
#pragma once

#include "graphics/Compose.h"
#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

struct GraphicsState;

// What a transition needs from the running engine.
class TransitionHost {
public:
    virtual ~TransitionHost() = default;
    virtual uint32_t ticks() = 0;
    virtual void sleep(uint32_t ms) = 0;
    // Takes at most one pending window message and hands it to the window procedure.
    virtual void pumpOneEvent() = 0;
    virtual FrameBuffer& window() = 0;
    virtual void present(const Rect& rect) = 0;
    // Loads a mask picture (an image text with its tag); failures are reported by the loader.
    virtual void loadImage(Surface& surface, const std::string& text) = 0;
    // Fatal: does not return in the engine. Texts are Shift-JIS.
    virtual void reportError(std::string_view caption, std::string_view text) = 0;
};

// Runs transition `type` over the inclusive `region` (normally the dirty rectangle, already
// recomposed). Type 0 does nothing; type -1 and types outside -1..18 are reported.
void runTransition(GraphicsState& graphics, TransitionHost& host, int type, int duration,
                   const std::string& image, const DirtyRect& region);

// The scrolls and the mosaic into the new picture change the whole window, so they must have the
// whole screen recomposed and carried to the display, not only what changed.
bool transitionCoversScreen(int type);

// Copies the inclusive rectangle of a 24-bit screen-sized surface into the window's frame.
void copyToWindow(const Surface& source, FrameBuffer& window, const DirtyRect& rect);

// The half-open platform rectangle of an inclusive one.
inline Rect toPlatformRect(const DirtyRect& r) {
    return Rect{r.left, r.top, r.right + 1, r.bottom + 1};
}

} // namespace orv
