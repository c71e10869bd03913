// Draws Shift-JIS text into an 8-bit grey raster, white on black, as the engine's glyph surface
// received it from the window system: one text call with a font made from a face name, a cell
// height, an average character width and a weight.
#pragma once

#include "platform/fonts/FontResolver.h"

#include "util/PixelKernel.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// FreeType's handles, declared here so that its headers stay out of the engine's.
struct FT_FaceRec_;
struct FT_SizeRec_;
struct FT_LibraryRec_;

namespace orv {

// 8-bit coverage picture, row-major, top row first.
struct GreyRaster {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    GreyRaster() = default;
    GreyRaster(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}

    // Pixels outside the raster read as 0 (black).
    ORV_PIXEL_KERNEL uint8_t at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0;
        return pixels[static_cast<size_t>(y) * width + x];
    }
    void clear() { pixels.assign(pixels.size(), 0); }
};

// A font as the engine created it: height is the cell height (ascent + descent) in pixels, width
// the average character width (0 = the face's own proportions), bold = weight 700 instead of
// normal. Made and owned by a GlyphRasterizer.
class GlyphFont {
public:
    ~GlyphFont();
    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

    bool valid() const { return size_ != nullptr; }
    bool bold() const { return bold_; }
    // Distance from the top of the cell to the baseline.
    int ascent() const { return ascent_; }
    // Pen advance of a two-byte (full-width) and a one-byte (half-width) character.
    int fullAdvance() const { return fullAdvance_; }
    int halfAdvance() const { return halfAdvance_; }
    // The file fontconfig chose for the face name.
    const ResolvedFont& source() const { return source_; }

private:
    friend class GlyphRasterizer;
    GlyphFont() = default;

    ResolvedFont source_;
    FT_FaceRec_* face_ = nullptr; // owned by the rasterizer
    FT_SizeRec_* size_ = nullptr; // owned here
    bool bold_ = false;
    int ascent_ = 0;
    int fullAdvance_ = 0;
    int halfAdvance_ = 0;
    long emboldenStrength_ = 0; // 26.6 pixels
};

class GlyphRasterizer {
public:
    GlyphRasterizer();
    ~GlyphRasterizer();
    GlyphRasterizer(const GlyphRasterizer&) = delete;
    GlyphRasterizer& operator=(const GlyphRasterizer&) = delete;

    // The font for a face name (UTF-8), made on first use and kept; the reference stays valid for
    // the rasterizer's lifetime. Fixed pitch and the Shift-JIS character set are implied. A face
    // that cannot be loaded gives an invalid font that draws nothing.
    const GlyphFont& font(const std::string& faceUtf8, int height, int width, bool bold);

    // One text call: the one or two Shift-JIS bytes (a full-width character, two half-width
    // characters side by side, or a single half-width one) with the top-left of the character
    // cell at (x, y), white on whatever the raster holds (the brighter value wins). Clipped.
    void drawText(const GlyphFont& font, std::string_view sjis, GreyRaster& raster, int x, int y);

    // The engine's glyph cell: the raster cleared to black, the text drawn at (0, 0) and, for a
    // bold font, drawn a second time at (1, 0).
    void drawCell(const GlyphFont& font, std::string_view sjis, GreyRaster& raster);

    FontResolver& resolver() { return resolver_; }

private:
    FT_FaceRec_* loadFace(const ResolvedFont& source);

    FT_LibraryRec_* library_ = nullptr;
    FontResolver resolver_;
    std::map<std::pair<std::string, int>, FT_FaceRec_*> faces_;
    std::map<std::tuple<std::string, int, int, bool>, std::unique_ptr<GlyphFont>> fonts_;
};

} // namespace orv
