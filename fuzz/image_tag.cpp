// Picture texts come from scenarios, so any bytes may reach the tag parser; whatever it accepts
// is then drawn, so odd cell counts, modes and keys also exercise the compositor's clipping.
#include "graphics/Compose.h"
#include "graphics/ImageTag.h"

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
    if (size < 8) return 0;
    // The first bytes shape the picture and where it is drawn; the rest is the picture text.
    const int width = 1 + data[0] % 48;
    const int height = 1 + data[1] % 48;
    const int bits = (data[2] & 1) ? 8 : 24;
    const int x = static_cast<int>(data[3]) * 3 - 100;
    const int y = static_cast<int>(data[4]) * 2 - 60;
    const int level = static_cast<int>(data[5]) - 1;
    const int cell = data[6] % 8;
    const int clipSeed = data[7];
    const std::string_view text(reinterpret_cast<const char*>(data + 8), size - 8);

    orv::ImageTag tag;
    const orv::ImageTagProblem problem = orv::parseImageTag(text, orv::TransMode::LeftUp, tag);
    if (problem != orv::ImageTagProblem::None) return 0;
    check(tag.cellCount >= 1);
    check(tag.cellTime != -1 || tag.cellTimes.size() == static_cast<size_t>(tag.cellCount));
    check(tag.fileName.size() <= text.size());

    orv::Surface picture;
    orv::createSurface(picture, width, height, bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = static_cast<uint8_t>(i * 37 + static_cast<size_t>(clipSeed));
    picture.transMode = tag.mode;
    picture.keyIndex = tag.keyIndex;
    picture.keyRed = static_cast<int>(tag.keyColour >> 16);
    picture.cellCount = tag.cellCount;
    picture.currentCell = cell;
    picture.blendLevel = level;

    static orv::Surface screen; // reused: only what is drawn into it matters
    if (screen.empty()) orv::createSurface(screen, 640, 480, 24);
    const orv::DirtyRect clip{clipSeed - 20, clipSeed / 2 - 10, 700 - clipSeed, 500 - clipSeed};
    orv::drawSurface(picture, screen, clip, x, y);
    return 0;
}
