// Loading pictures named by the scenario: a file name, optionally preceded by an image tag.
#pragma once

#include "graphics/ImageTag.h"
#include "graphics/Surface.h"

#include <string_view>

namespace orv {

struct Engine;

// Replaces the surface's picture with the one the text names. Missing files, unknown formats,
// undecodable files and malformed tags are scenario errors, except that a missing file under the
// optional-load flag gives a blank 1 x 1 picture.
void loadImage(Engine& engine, Surface& surface, std::string_view text);

// `transmode` leftup|copy|alpha: the mode of pictures whose tag names none.
void cmdTransmode(Engine& engine);

} // namespace orv
