// Shaking the picture: frames of the display surface moved sideways or up and down in the window,
// with the uncovered band black. Only the window changes; the display surface and the
// composition stay as they are, so the window is simply put back at the end.
#pragma once

#include "graphics/Surface.h"
#include "platform/Platform.h"

#include <cstdint>

namespace orv {

struct Engine;

enum class QuakeAxis { Horizontal, Vertical };

// One frame: the display moved by `offset` pixels (right or down when positive) into the window,
// whose uncovered band is black. A negative offset blackens one column (row) more than it
// uncovers.
void drawQuakeFrame(const Surface& display, FrameBuffer& window, int offset, QuakeAxis axis);

// n swings of 16 frames over t ms, the swing shrinking 16 pixels each time, then the window back
// as the display surface has it. n <= 0 only puts the window back.
void runQuake(Engine& engine, int32_t n, int32_t t, QuakeAxis axis);

} // namespace orv
