// The picture formats besides BMP, decoded by built-in components chosen by what a file holds:
// whatever picture plug-in a scenario registers for an extension, PNG, JPEG and GIF files (and
// BMP files under another name) load through these.
#pragma once

#include "graphics/Surface.h"

#include <string_view>

namespace orv {

enum class PictureContent { Png, Jpeg, Gif, Bmp, Unknown };

PictureContent sniffPicture(std::string_view bytes);

// Decodes into a 24-bit surface (a GIF's first frame; transparency is dropped, as the picture
// comes to the compositor as a plain bitmap); false, with the surface empty, when the bytes are
// not a picture these decoders know or are damaged.
bool decodePicture(Surface& surface, std::string_view bytes);

} // namespace orv
