// Pictures in memory.
//
// A Surface holds its pixels in the layout the whole engine works in: rows bottom-up (the first
// row in memory is the bottom row on screen), each row padded to a multiple of 4 bytes, 24-bit
// pixels stored as blue, green, red. An 8-bit surface holds palette indices and a 256-entry
// palette; colour keys on such a picture compare indices, not colours.
//
// The struct is deliberately plain: the compositor runs tight loops over `pixels` through
// row() and never goes through accessor calls per pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

// Largest width or height a surface may have. A 16384 x 16384 24-bit picture is already 768 MiB;
// anything larger in a file is taken to be a corrupt header rather than a real picture.
inline constexpr int kMaxSurfaceDimension = 16384;

struct PaletteEntry {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
};

// How the compositor decides which pixels of a picture are transparent.
enum class TransMode : int {
    LeftUp = 0, // pixels equal to the top-left pixel
    Alpha = 1,  // the right half of each cell is a mask for the left half
    Keyed = 2,  // pixels equal to the key colour (24-bit) or key index (8-bit)
    Copy = 3,   // nothing is transparent
};

struct Surface {
    // --- the bitmap -----------------------------------------------------------------------
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;              // 0 while empty, else 8 or 24
    int stride = 0;                    // bytes per row, a multiple of 4
    std::vector<uint8_t> pixels;       // stride * height bytes, bottom row first
    std::vector<PaletteEntry> palette; // 256 entries for 8-bit surfaces, empty otherwise

    // --- display attributes given by the picture's tag ---------------------------------------
    uint32_t lastCellTime = 0; // clock at the last cell change
    int cellStep = 1;          // +1 or -1
    int keyRed = 0;
    int keyGreen = 0;
    int keyBlue = 0;
    int keyIndex = 0;
    TransMode transMode = TransMode::LeftUp;
    int blendLevel = -1; // -1 = full strength, else 0..255
    int currentCell = 0;
    int cellCount = 1;
    int cellTime = 0;           // ms per cell; -1 = cellTimes applies
    std::vector<int> cellTimes; // per-cell times when cellTime is -1
    int loopMode = 0;           // 0 wrap, 1 stop on the last cell, 2 reverse at either end

    bool empty() const { return pixels.empty(); }
    int paletteEntries() const { return static_cast<int>(palette.size()); }
    int imageBytes() const { return stride * height; }

    // Row `y` counted from the top of the picture (0 = top row on screen).
    uint8_t* row(int y) { return pixels.data() + static_cast<size_t>(height - 1 - y) * stride; }
    const uint8_t* row(int y) const {
        return pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
    }
};

// Bytes per row for the given width and depth, padded to 4 bytes.
constexpr int surfaceStride(int width, int bitsPerPixel) {
    return static_cast<int>(((static_cast<int64_t>(width) * bitsPerPixel + 31) / 32) * 4);
}

// Gives the surface a fresh bitmap of width x height at 8 or 24 bits per pixel, all pixels zero
// (black, or palette index 0 with an all-black palette). The old bitmap is dropped; the display
// attributes are kept. Returns false, leaving the surface empty, for a depth other than 8 or 24 or
// a size outside 1..kMaxSurfaceDimension.
bool createSurface(Surface& surface, int width, int height, int bitsPerPixel);

// Drops the bitmap (pixels, palette, size). Display attributes are left for the loader to reset.
// Releasing an empty surface does nothing.
void releaseSurface(Surface& surface);

// Hands the bitmap (pixels, palette, size) of from over to into, whose display attributes stay;
// from is left without a bitmap.
void moveBitmap(Surface& into, Surface& from);

// Width of one animation cell, and the width the picture takes on screen (half a cell in alpha
// mode, where the other half is the mask).
int cellWidth(const Surface& surface);
int displayedWidth(const Surface& surface);

// Fills the rectangle [left, right) x [top, bottom), screen coordinates from the top-left corner,
// clipped to the surface, with the colour 0xRRGGBB. On an 8-bit surface the nearest palette entry
// is used (the first one on a tie), as the platform's fill does on a palettised bitmap.
void fillRect(Surface& surface, int left, int top, int right, int bottom, uint32_t rgb);
void fillSurface(Surface& surface, uint32_t rgb);

// The colour 0xRRGGBB at (x, y) from the top-left corner (looked up in the palette for 8-bit).
// Out-of-range positions and empty surfaces give 0.
uint32_t pixelColor(const Surface& surface, int x, int y);
// The palette index at (x, y) of an 8-bit surface; -1 when out of range or not palettised.
int pixelIndex(const Surface& surface, int x, int y);
// Writes a colour (24-bit) or an index (8-bit, value & 0xff) at (x, y); ignored out of range.
void setPixel(Surface& surface, int x, int y, uint32_t value);

} // namespace orv
