#include "platform/fonts/GlyphRasterizer.h"

#include "util/PixelKernel.h"
#include "util/sjis.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

namespace orv {

// How the old font request maps onto FreeType.
//
// Height. A positive font height asks for the character cell, ascent plus descent, and the font
// mapper took both from the OS/2 table's usWinAscent and usWinDescent. The em size is therefore
// height × unitsPerEm / (usWinAscent + usWinDescent), rounded to whole pixels as the TrueType
// rasteriser is handed whole-pixel em sizes, and the baseline lies round(usWinAscent × em /
// unitsPerEm) below the cell top. IPAGothic's Win metrics add up to 2203 units for a 2048 em, so
// a 78-pixel cell gives a 73-pixel em with the baseline 64 pixels down and the 14-pixel descent
// inside the cell. A plain pixel size of 78 would agree with this only for faces whose Win
// metrics add up to the em; for IPAGothic it would put the baseline at 69 and leave 15 pixels of
// descent for the 9 below it, and draw every glyph 7 % taller than the request.
//
// Width. The width is the average character width (OS/2 xAvgCharWidth), so the horizontal em is
// width × unitsPerEm / xAvgCharWidth. For Japanese faces xAvgCharWidth is half the em, so a width
// of 39 gives a 78-pixel horizontal em: full-width characters advance 78 and half-width ones 39,
// which is exactly the cell the engine asks for (3 × glyph width) and what a horizontal pixel
// size of 78 would give. Horizontal and vertical em thus differ slightly for faces whose Win
// metrics exceed the em, as they did on the old system with such a face.
//
// Outlines are loaded unhinted: at three times the cell size the hinter's snapping would only be
// filtered away again, and unhinted outlines keep the scale exact. Output is FreeType's 256-level
// anti-aliased coverage.
//
// Bold. The Japanese faces have no bold member, so a bold request was met by emboldening the
// outline; its strokes grow by em / 24 in both directions (the common synthetic-bold strength,
// about one cell pixel at three times the cell size, which is the heavy look of weight 700).
// Advances are left as they are, keeping half-width pairs inside their cell.

namespace {

// Scaled value rounded half away from zero, as the old MulDiv did.
long mulDivRound(long a, long b, long c) {
    if (c == 0) return 0;
    long n = a * b;
    return n >= 0 ? (n + c / 2) / c : -((-n + c / 2) / c);
}

// What the engine's code page conversion made of bytes without a character.
constexpr char32_t kDefaultChar = 0x30FB; // KATAKANA MIDDLE DOT

} // namespace

GlyphFont::~GlyphFont() {
    if (size_) FT_Done_Size(size_);
}

GlyphRasterizer::GlyphRasterizer() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

GlyphRasterizer::~GlyphRasterizer() {
    fonts_.clear(); // their sizes belong to the faces below
    for (auto& [key, face] : faces_) {
        if (face) FT_Done_Face(face);
    }
    if (library_) FT_Done_FreeType(library_);
}

FT_Face GlyphRasterizer::loadFace(const ResolvedFont& source) {
    auto key = std::make_pair(source.file, source.index);
    if (auto it = faces_.find(key); it != faces_.end()) return it->second;
    FT_Face face = nullptr;
    if (!library_ || FT_New_Face(library_, source.file.c_str(), source.index, &face) != 0 ||
        !FT_IS_SCALABLE(face)) {
        if (face) FT_Done_Face(face);
        face = nullptr;
    }
    faces_.emplace(key, face);
    return face;
}

const GlyphFont& GlyphRasterizer::font(const std::string& faceUtf8, int height, int width,
                                       bool bold) {
    auto key = std::make_tuple(faceUtf8, height, width, bold);
    if (auto it = fonts_.find(key); it != fonts_.end()) return *it->second;

    std::unique_ptr<GlyphFont> font(new GlyphFont);
    font->bold_ = bold;
    auto source = resolver_.resolve(faceUtf8);
    FT_Face face = source ? loadFace(*source) : nullptr;
    if (face) font->source_ = *source;

    // A zero height asks for the face's default size; the engine only asks for it with an empty
    // glyph cell, where nothing is shown, so such a font draws nothing.
    const long upem = face ? face->units_per_EM : 0;
    if (face && height != 0 && upem > 0) {
        long winAscent = face->ascender;
        long cellUnits = face->ascender - face->descender;
        long avgWidth = upem / 2;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                winAscent = os2->usWinAscent;
                cellUnits = os2->usWinAscent + os2->usWinDescent;
            }
            if (os2->xAvgCharWidth > 0) avgWidth = os2->xAvgCharWidth;
        }
        if (cellUnits <= 0) cellUnits = upem;

        // A negative height asks for the em itself rather than the cell.
        long emY = height > 0 ? mulDivRound(height, upem, cellUnits) : -long(height);
        emY = std::max(1L, emY);
        long absWidth = width < 0 ? -long(width) : width;
        long emX64 = absWidth > 0 ? mulDivRound(absWidth * 64, upem, avgWidth) : emY * 64;
        emX64 = std::max(1L, emX64);

        FT_Size size = nullptr;
        if (FT_New_Size(face, &size) == 0) {
            FT_Activate_Size(size);
            if (FT_Set_Char_Size(face, emX64, emY * 64, 72, 72) == 0) {
                font->face_ = face;
                font->size_ = size;
                font->ascent_ = int(mulDivRound(winAscent, emY, upem));
                font->fullAdvance_ = int((emX64 + 32) >> 6);
                font->halfAdvance_ = int((emX64 / 2 + 32) >> 6);
                font->emboldenStrength_ = bold ? emY * 64 / 24 : 0;
            } else {
                FT_Done_Size(size);
            }
        }
    }
    return *fonts_.emplace(key, std::move(font)).first->second;
}

namespace {

// dst[i] = max(dst[i], src[i]) for i < n: glyphs laid over one another keep the darker ink.
ORV_PIXEL_KERNEL void maxBytes(uint8_t* dst, const uint8_t* src, int n) {
    for (int i = 0; i < n; ++i) dst[i] = std::max(dst[i], src[i]);
}

} // namespace

void GlyphRasterizer::drawText(const GlyphFont& font, std::string_view sjis, GreyRaster& raster,
                               int x, int y) {
    if (!font.valid()) return;
    FT_Face face = font.face_;
    FT_Activate_Size(font.size_);

    int penX = x;
    size_t pos = 0;
    while (pos < sjis.size()) {
        const size_t start = pos;
        char32_t cp = sjis::decode(sjis, pos);
        const bool wide = pos - start == 2;
        if (cp == 0xFFFD) cp = kDefaultChar;

        // A character the face lacks shows its missing-glyph shape (glyph 0), as it did before.
        const FT_UInt index = FT_Get_Char_Index(face, cp);
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0) {
            FT_GlyphSlot slot = face->glyph;
            if (slot->format == FT_GLYPH_FORMAT_OUTLINE && font.emboldenStrength_ > 0) {
                FT_Outline_EmboldenXY(&slot->outline, font.emboldenStrength_,
                                      font.emboldenStrength_);
            }
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
                slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && slot->bitmap.pitch > 0) {
                const FT_Bitmap& bm = slot->bitmap;
                const int left = penX + slot->bitmap_left;
                const int top = y + font.ascent_ - slot->bitmap_top;
                const int x0 = std::max(0, left);
                const int x1 = std::min(raster.width, left + int(bm.width));
                const int y0 = std::max(0, top);
                const int y1 = std::min(raster.height, top + int(bm.rows));
                for (int py = y0; py < y1; ++py)
                    maxBytes(raster.pixels.data() + size_t(py) * raster.width + x0,
                             bm.buffer + size_t(py - top) * bm.pitch + (x0 - left), x1 - x0);
            }
        }
        penX += wide ? font.fullAdvance_ : font.halfAdvance_;
    }
}

void GlyphRasterizer::drawCell(const GlyphFont& font, std::string_view sjis, GreyRaster& raster) {
    raster.clear();
    drawText(font, sjis, raster, 0, 0);
    if (font.bold()) drawText(font, sjis, raster, 1, 0);
}

} // namespace orv
