#include "text/GlyphCache.h"

#include "util/PixelKernel.h"
#include "util/sjis.h"

#include <algorithm>
#include <functional>

namespace orv {

ORV_PIXEL_KERNEL GlyphCell downFilter(const GreyRaster& glyph, int width, int height) {
    GlyphCell cell;
    cell.width = std::max(0, width);
    cell.height = std::max(0, height);
    cell.coverage.resize(static_cast<size_t>(cell.width) * cell.height);
    for (int j = 0; j < cell.height; ++j) {
        const int y = 3 * j;
        for (int i = 0; i < cell.width; ++i) {
            const int x = 3 * i;
            const int corners =
                glyph.at(x, y) + glyph.at(x + 2, y) + glyph.at(x, y + 2) + glyph.at(x + 2, y + 2);
            const int edges = glyph.at(x + 1, y) + glyph.at(x, y + 1) + glyph.at(x + 2, y + 1) +
                              glyph.at(x + 1, y + 2);
            const int centre = glyph.at(x + 1, y + 1);
            cell.coverage[static_cast<size_t>(j) * cell.width + i] =
                static_cast<uint8_t>((corners + 2 * edges + 4 * centre) / 16);
        }
    }
    return cell;
}

size_t GlyphCache::KeyHash::operator()(const Key& k) const {
    size_t h = std::hash<std::string_view>()(k.face);
    const uint64_t packed = (uint64_t(uint32_t(k.glyphWidth)) << 32) ^
                            (uint64_t(uint32_t(k.glyphHeight)) << 17) ^ (uint64_t(k.bold) << 16) ^
                            (uint64_t(k.first) << 8) ^ k.second;
    return h ^ (std::hash<uint64_t>()(packed) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

GlyphRasterizer& GlyphCache::rasterizer() {
    if (!rasterizer_) rasterizer_ = std::make_unique<GlyphRasterizer>();
    return *rasterizer_;
}

const GlyphCell& GlyphCache::cell(std::string_view faceSjis, int glyphWidth, int glyphHeight,
                                  bool bold, unsigned char first, unsigned char second) {
    if (!store_) store_ = std::make_unique<Store>();
    auto& cells = store_->cells;
    Key key(faceSjis, glyphWidth, glyphHeight, bold, first, second);
    if (auto it = cells.find(key); it != cells.end()) return it->second;

    GlyphCell cell;
    if (glyphWidth > 0 && glyphHeight > 0) {
        // The engine's glyph font: cell height three times the glyph height, average width
        // three halves of the glyph width (a full-width character spans 3 × glyph width).
        const GlyphFont& font =
            rasterizer().font(sjis::toUtf8(faceSjis), 3 * glyphHeight, 3 * glyphWidth / 2, bold);
        if (surface_.width < 3 * glyphWidth || surface_.height < 3 * glyphHeight) {
            surface_ = GreyRaster(std::max(surface_.width, 3 * glyphWidth),
                                  std::max(surface_.height, 3 * glyphHeight));
        }
        const char bytes[2] = {static_cast<char>(first), static_cast<char>(second)};
        rasterizer().drawCell(font, std::string_view(bytes, second ? 2 : 1), surface_);
        ++renders_;
        cell = downFilter(surface_, glyphWidth, glyphHeight);
    } else {
        cell.width = std::max(0, glyphWidth);
        cell.height = std::max(0, glyphHeight);
    }
    cellBytes_ += cell.coverage.size();
    return cells.emplace(std::move(key), std::move(cell)).first->second;
}

} // namespace orv
