// Decoding of Windows and OS/2 BMP files into surfaces.
//
// Accepted: info headers of 12 (OS/2 1.x), 16 and 64 (OS/2 2.x), 40, 52, 56, 108 and 124 bytes;
// 1-, 2-, 4- and 8-bit palettised pictures, uncompressed or (4 and 8 bits) run-length encoded;
// 16- and 32-bit pictures with the default masks or with explicit bit fields (including the
// variant with an alpha mask); 24-bit pictures; bottom-up and, when uncompressed, top-down rows.
//
// Results: 8-bit pictures stay palettised so that colour keys keep working on palette indices;
// 1-, 2- and 4-bit pictures become 8-bit palettised with the same palette; everything else becomes
// 24-bit. Alpha channels are dropped: the compositor takes transparency from the picture's tag.
//
// The reader trusts nothing in the file. Refused with a reason: truncated data (including a file
// size field larger than the data), headers of unknown size, planes other than 1, unsupported
// depth or compression (embedded JPEG/PNG, OS/2 Huffman and 24-bit RLE, 64-bit), widths or heights
// of 0, negative widths, sides above the cap (kMaxSurfaceDimension unless a smaller one is given),
// colour tables larger than the depth can index or overlapping the pixel data, pixels indexing
// past the colour table, bit-field masks that are empty, not contiguous, overlapping or wider than
// the pixel, top-down RLE, RLE runs or deltas leaving the picture, RLE data ending early without
// an end-of-bitmap code, a pixel aspect ratio beyond 1000:1, and an image size field larger than
// the data present.
#pragma once

#include "graphics/Surface.h"

#include <string>
#include <string_view>

namespace orv {

struct BmpReadResult {
    bool ok = false;
    std::string error; // why the file was refused; empty on success

    explicit operator bool() const { return ok; }
};

// Decodes the BMP file held in `bytes` into `surface`. The surface's bitmap is released first; on
// success it holds the picture, on failure it stays empty. Display attributes (transparency mode,
// cells, keys) are not touched.
BmpReadResult readBmpFile(Surface& surface, std::string_view bytes,
                          int maxDimension = kMaxSurfaceDimension);

} // namespace orv
