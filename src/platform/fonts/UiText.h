// Small text for the window's own furniture (the menu bar and its popups): UTF-8 labels drawn
// with FreeType in a Japanese face at a few pixels' height, hinted for legibility, onto a plain
// RGB canvas. The game's message text has its own renderer (GlyphRasterizer) with the old
// program's metrics; nothing here has to match those.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;
struct FT_LibraryRec_;

namespace orv {

struct Rgb8 {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb8&) const = default;
};

// Top-down RGB pixels, three bytes each, no row padding.
struct RgbCanvas {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    RgbCanvas() = default;
    RgbCanvas(int w, int h);

    Rgb8 at(int x, int y) const;    // black outside
    void set(int x, int y, Rgb8 c); // ignored outside
    // Fills [x, x + w) x [y, y + h), clipped.
    void fill(int x, int y, int w, int h, Rgb8 c);
    // Mixes c into the pixel by coverage 0..255, clipped.
    void blend(int x, int y, Rgb8 c, uint8_t coverage);
};

class UiText {
public:
    // The face is found through the font resolver (a Japanese face for the name); pixelSize is
    // the em in pixels. Without any usable font the object draws nothing and measures 0.
    explicit UiText(int pixelSize, const std::string& faceUtf8 = "\xEF\xBC\xAD\xEF\xBC\xB3 "
                                                                 "\xE3\x82\xB4\xE3\x82\xB7"
                                                                 "\xE3\x83\x83\xE3\x82\xAF");
    ~UiText();
    UiText(const UiText&) = delete;
    UiText& operator=(const UiText&) = delete;

    bool valid() const { return face_ != nullptr; }
    int pixelSize() const { return pixelSize_; }
    // Distance from the top of a line to the baseline, and the line's height.
    int ascent() const { return ascent_; }
    int lineHeight() const { return lineHeight_; }

    // Advance width of the text in pixels.
    int measure(std::string_view utf8);
    // Draws the text with the top of its line at y, clipped to the canvas.
    void draw(RgbCanvas& canvas, int x, int y, std::string_view utf8, Rgb8 colour);

private:
    struct Glyph {
        int left = 0;    // from the pen to the bitmap's left edge
        int top = 0;     // from the baseline up to the bitmap's top edge
        int advance = 0; // whole pixels
        int width = 0;
        int rows = 0;
        std::vector<uint8_t> coverage;
    };
    const Glyph& glyph(char32_t cp);

    int pixelSize_ = 0;
    int ascent_ = 0;
    int lineHeight_ = 0;
    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

} // namespace orv
