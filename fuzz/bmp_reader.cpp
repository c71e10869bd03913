// BMP files come from game folders and archives, so any bytes at all may reach the reader.
// Besides the sanitizers' checks, a decoded surface must be self-consistent.
#include "graphics/BmpReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Run-length pictures claim any size in a few bytes; a smaller cap keeps each run fast without
// changing which code paths are reached.
constexpr int kFuzzMaxDimension = 1024;

void check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::Surface surface;
    surface.transMode = orv::TransMode::Keyed;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const orv::BmpReadResult result = orv::readBmpFile(surface, bytes, kFuzzMaxDimension);

    check(surface.transMode == orv::TransMode::Keyed);
    if (!result) {
        check(!result.error.empty());
        check(surface.empty());
        return 0;
    }
    check(result.error.empty());
    check(surface.bitsPerPixel == 8 || surface.bitsPerPixel == 24);
    check(surface.width >= 1 && surface.width <= kFuzzMaxDimension);
    check(surface.height >= 1 && surface.height <= kFuzzMaxDimension);
    check(surface.stride == orv::surfaceStride(surface.width, surface.bitsPerPixel));
    check(surface.pixels.size() == static_cast<size_t>(surface.stride) * surface.height);
    check(surface.palette.size() == (surface.bitsPerPixel == 8 ? 256u : 0u));
    // Touch the corners through the accessors the compositor's callers use.
    (void)orv::pixelColor(surface, 0, 0);
    (void)orv::pixelColor(surface, surface.width - 1, surface.height - 1);
    return 0;
}
