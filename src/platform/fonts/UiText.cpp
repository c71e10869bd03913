#include "platform/fonts/UiText.h"

#include "platform/fonts/FontResolver.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace orv {

namespace {

// Code points of a UTF-8 text; a malformed sequence gives one U+FFFD per byte it spoils.
std::vector<char32_t> codePoints(std::string_view s) {
    std::vector<char32_t> out;
    size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        int length = lead < 0x80             ? 1
                     : (lead & 0xE0) == 0xC0 ? 2
                     : (lead & 0xF0) == 0xE0 ? 3
                     : (lead & 0xF8) == 0xF0 ? 4
                                             : 0;
        if (length == 0 || i + size_t(length) > s.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        bool ok = true;
        for (int k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(s[i + size_t(k)]);
            if ((b & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += size_t(length);
    }
    return out;
}

} // namespace

RgbCanvas::RgbCanvas(int w, int h)
    : width(std::max(w, 0)), height(std::max(h, 0)), pixels(size_t(width) * size_t(height) * 3) {}

Rgb8 RgbCanvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {};
    const uint8_t* p = pixels.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    return {p[0], p[1], p[2]};
}

void RgbCanvas::set(int x, int y, Rgb8 c) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = pixels.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void RgbCanvas::fill(int x, int y, int w, int h, Rgb8 c) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + std::max(w, 0), width), y1 = std::min(y + std::max(h, 0), height);
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) set(px, py, c);
}

void RgbCanvas::blend(int x, int y, Rgb8 c, uint8_t coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage == 0) return;
    uint8_t* p = pixels.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    auto mix = [coverage](uint8_t dst, uint8_t src) {
        return uint8_t((src * coverage + dst * (255 - coverage) + 127) / 255);
    };
    p[0] = mix(p[0], c.r);
    p[1] = mix(p[1], c.g);
    p[2] = mix(p[2], c.b);
}

UiText::UiText(int pixelSize, const std::string& faceUtf8) : pixelSize_(std::max(pixelSize, 1)) {
    FontResolver resolver;
    const std::optional<ResolvedFont> font = resolver.resolve(faceUtf8);
    if (!font || FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return;
    }
    if (FT_New_Face(library_, font->file.c_str(), font->index, &face_) != 0) {
        face_ = nullptr;
        return;
    }
    if (FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixelSize_)) != 0) {
        FT_Done_Face(face_);
        face_ = nullptr;
        return;
    }
    const FT_Size_Metrics& m = face_->size->metrics;
    ascent_ = int((m.ascender + 63) >> 6);
    lineHeight_ = std::max(int((m.ascender - m.descender + 63) >> 6), pixelSize_);
}

UiText::~UiText() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

const UiText::Glyph& UiText::glyph(char32_t cp) {
    if (auto it = glyphs_.find(cp); it != glyphs_.end()) return it->second;
    Glyph g;
    if (face_ &&
        FT_Load_Char(face_, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) == 0) {
        const FT_GlyphSlot slot = face_->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        g.advance = int((slot->advance.x + 32) >> 6);
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.pitch > 0) {
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = int(bm.width);
            g.rows = int(bm.rows);
            g.coverage.resize(size_t(g.width) * size_t(g.rows));
            for (int y = 0; y < g.rows; ++y)
                std::copy_n(bm.buffer + size_t(y) * size_t(bm.pitch), size_t(g.width),
                            g.coverage.begin() + std::ptrdiff_t(size_t(y) * size_t(g.width)));
        }
    }
    return glyphs_.emplace(cp, std::move(g)).first->second;
}

int UiText::measure(std::string_view utf8) {
    int width = 0;
    for (char32_t cp : codePoints(utf8)) width += glyph(cp).advance;
    return width;
}

void UiText::draw(RgbCanvas& canvas, int x, int y, std::string_view utf8, Rgb8 colour) {
    int pen = x;
    const int baseline = y + ascent_;
    for (char32_t cp : codePoints(utf8)) {
        const Glyph& g = glyph(cp);
        const int left = pen + g.left;
        const int top = baseline - g.top;
        for (int gy = 0; gy < g.rows; ++gy)
            for (int gx = 0; gx < g.width; ++gx)
                canvas.blend(left + gx, top + gy, colour,
                             g.coverage[size_t(gy) * size_t(g.width) + size_t(gx)]);
        pen += g.advance;
    }
}

} // namespace orv
