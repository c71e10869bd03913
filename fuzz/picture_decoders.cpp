// Pictures registered through `spi` come from game folders and archives: any bytes may reach
// the PNG, JPEG and GIF decoders and our adapters around them. A decoded picture must be a
// self-consistent 24-bit surface; a refused one leaves the surface empty.
// Seeds: tiny PNG, JPEG and GIF pictures written once with ImageMagick.
#include "graphics/PictureDecoders.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::Surface surface;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!orv::decodePicture(surface, bytes)) {
        check(surface.empty());
        return 0;
    }
    check(surface.width >= 1 && surface.height >= 1);
    check(surface.stride == orv::surfaceStride(surface.width, surface.bitsPerPixel));
    check(surface.pixels.size() == size_t(surface.stride) * size_t(surface.height));
    return 0;
}
