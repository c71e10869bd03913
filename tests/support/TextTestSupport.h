// Helpers for the text and choice tests: an engine ready to draw text without a scenario run, and
// the coverage of the text layer.
#pragma once

#include "EngineHarness.h"
#include "Pictures.h"
#include "graphics/GraphicsCommands.h"
#include "text/TextWindow.h"

#include <cstdint>

namespace orv::test {

// The state a game block starts in: surfaces made, defaults set, the screen black.
inline void prepareForText(Engine& engine) {
    startGraphicsPass(engine);
    startTextPass(engine);
    resetTextToStart(engine);
    resetGraphicsToStart(engine);
}

inline uint8_t coverageAt(const Engine& engine, int x, int y) {
    return engine.text.coverage[static_cast<size_t>(y) * 640 + x];
}

} // namespace orv::test
