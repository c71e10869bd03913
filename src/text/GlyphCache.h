// Anti-aliased coverage cells of display-text characters.
//
// A character cell is drawn at three times its size into the glyph surface (white on black) and
// filtered down to one coverage byte per screen pixel. The result depends only on the face, the
// cell size, the bold flag and the cell's two bytes, so each combination is rendered once and
// kept; a cache may even be handed from one engine to the next (the fuzz target does).
#pragma once

#include "platform/fonts/GlyphRasterizer.h"
#include "util/WatchedPool.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv {

struct GlyphCell {
    // A cell kept by a cache takes its bytes from the cache's pool.
    using allocator_type = std::pmr::polymorphic_allocator<>;

    GlyphCell() = default;
    GlyphCell(const GlyphCell&) = default;
    GlyphCell(GlyphCell&&) = default;
    GlyphCell& operator=(const GlyphCell&) = default;
    GlyphCell& operator=(GlyphCell&&) = default;
    GlyphCell(GlyphCell&& other, const allocator_type& alloc)
        : width(other.width), height(other.height), coverage(std::move(other.coverage), alloc) {}

    int width = 0;
    int height = 0;
    std::pmr::vector<uint8_t> coverage; // row-major, top row first; 0 = no ink, 255 = full

    uint8_t at(int i, int j) const { return coverage[static_cast<size_t>(j) * width + i]; }
};

// The 3 × 3 down-filter: cell pixel (i, j) weighs the block of glyph pixels starting at (3i, 3j)
// with 1 for the corners, 2 for the edge centres and 4 for the centre, divided by 16 (integer).
// Glyph pixels outside the raster count as black.
GlyphCell downFilter(const GreyRaster& glyph, int width, int height);

class GlyphCache {
public:
    // The smallest glyph surface, as the engine creates it at start.
    static constexpr int kMinSurfaceSize = 128;

    // The coverage cell of the one or two Shift-JIS bytes of a cell (second = 0: the first byte
    // alone) in the face `faceSjis` (the engine's Shift-JIS face name) at glyph width × glyph
    // height. The reference stays valid until clear() or the cache's end.
    const GlyphCell& cell(std::string_view faceSjis, int glyphWidth, int glyphHeight, bool bold,
                          unsigned char first, unsigned char second);

    // Number of three-times rasterisations so far (each cache miss renders once).
    size_t renderCount() const { return renders_; }
    size_t size() const { return store_ ? store_->cells.size() : 0; }
    // Bytes the kept cells and the glyph surface hold.
    size_t memoryBytes() const { return cellBytes_ + surface_.pixels.size(); }
    void clear() {
        if (store_) store_->cells.clear();
        cellBytes_ = 0;
    }

    GlyphRasterizer& rasterizer();

private:
    struct Key {
        using allocator_type = std::pmr::polymorphic_allocator<>;

        Key(std::string_view faceSjis, int width, int height, bool isBold, unsigned char b1,
            unsigned char b2)
            : face(faceSjis), glyphWidth(width), glyphHeight(height), bold(isBold), first(b1),
              second(b2) {}
        Key(const Key&) = default;
        Key(Key&& other, const allocator_type& alloc)
            : face(std::move(other.face), alloc), glyphWidth(other.glyphWidth),
              glyphHeight(other.glyphHeight), bold(other.bold), first(other.first),
              second(other.second) {}

        std::pmr::string face;
        int glyphWidth;
        int glyphHeight;
        bool bold;
        unsigned char first;
        unsigned char second;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };
    // The cells and the pool their nodes, face names and coverage bytes come from. A new cell
    // thus seldom asks the system for memory: a cache handed from one run to the next (as the
    // fuzz target hands it) would otherwise make every run that meets a new character look like
    // a run that leaks. Behind a pointer, so that the cache can move.
    struct Store {
        WatchedPool pool;
        std::pmr::unordered_map<Key, GlyphCell, KeyHash> cells{&pool};
    };

    // Made at the first render (a run without text needs no font machinery), and behind a
    // pointer, so that the cache can move.
    std::unique_ptr<GlyphRasterizer> rasterizer_;
    // Kept between renders and only ever enlarged, as the engine's glyph surface is.
    GreyRaster surface_{kMinSurfaceSize, kMinSurfaceSize};
    std::unique_ptr<Store> store_;
    size_t renders_ = 0;
    size_t cellBytes_ = 0;
};

} // namespace orv
