// The colour filters the screen redraw applies to every region it recomposes: an inversion before
// the monochrome tint, the tint, an inversion after it. They act on the composed picture only;
// the text window is laid over afterwards and keeps its colours.
#pragma once

#include "graphics/Compose.h"

namespace orv {

// Runs the filters that are on over the inclusive region of the 24-bit composition (already
// clipped to it). A region covering the whole surface is one pass over its pixel memory.
void applyFilters(const FilterState& filters, Surface& composition, const DirtyRect& region);

} // namespace orv
