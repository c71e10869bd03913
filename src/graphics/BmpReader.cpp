#include "graphics/BmpReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <utility>

namespace orv {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kMaxInfoHeaderSize = 124;

enum class Encoding { Rgb, Rle8, Rle4, BitFields };

// Compression codes of the info header.
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitFields = 3; // OS/2 2.x: 1-bit Huffman
constexpr uint32_t kBiJpeg = 4;      // OS/2 2.x: 24-bit RLE
constexpr uint32_t kBiPng = 5;
constexpr uint32_t kBiAlphaBitFields = 6;

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t le32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
int32_t le32s(const uint8_t* p) {
    return static_cast<int32_t>(le32(p));
}

// One colour channel of a 16- or 32-bit pixel.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    std::array<uint8_t, 256> narrow{}; // 8-bit value of each channel value, when bits <= 8

    void setMask(uint32_t m) {
        mask = m;
        shift = 0;
        while (!((m >> shift) & 1)) ++shift;
        bits = 0;
        while (bits < 32 && ((m >> shift) >> bits) & 1) ++bits;
        // Narrow channels repeat their bit pattern downwards (5 bits abcde -> abcdeabc), which
        // maps the top value to 255 and is what 16-bit pictures are conventionally shown as.
        if (bits <= 8) {
            for (uint32_t v = 0; v < (1u << bits); ++v) {
                uint32_t out = 0;
                for (int at = 8 - bits; at > -bits; at -= bits) out |= at >= 0 ? v << at : v >> -at;
                narrow[v] = static_cast<uint8_t>(out);
            }
        }
    }
    bool contiguous() const { return bits == 32 || (mask >> shift) == (1u << bits) - 1; }

    uint8_t expand(uint32_t pixel) const {
        const uint32_t v = (pixel & mask) >> shift;
        if (bits <= 8) return narrow[v];
        // Wider channels are scaled with rounding.
        const uint64_t max = (uint64_t{1} << bits) - 1;
        return static_cast<uint8_t>((v * uint64_t{255} + max / 2) / max);
    }
};

class Decoder {
public:
    Decoder(std::string_view bytes, int maxDimension)
        : data_(reinterpret_cast<const uint8_t*>(bytes.data())), size_(bytes.size()),
          maxDimension_(maxDimension) {}

    // Fills `out` or leaves a reason in error_.
    bool decode(Surface& out);
    const std::string& error() const { return error_; }

private:
    bool fail(std::string reason) {
        error_ = std::move(reason);
        return false;
    }
    bool readHeaders();
    bool readMasks();
    bool readPalette();
    bool checkLayout();
    bool decodeUncompressed(Surface& out);
    bool decodeRle(Surface& out);
    bool checkIndices(const Surface& out);

    const uint8_t* data_;
    size_t size_;
    int maxDimension_;
    std::string error_;

    // From the headers.
    uint32_t pixelOffset_ = 0;
    uint32_t headerSize_ = 0;
    bool os2Core_ = false; // 12-byte header: 16-bit sizes, 3-byte palette entries
    bool os2v2_ = false;   // 16- or 64-byte header: compression 3 and 4 mean other things
    int width_ = 0;
    int height_ = 0; // rows, always positive
    bool topDown_ = false;
    int bitsPerPixel_ = 0;
    uint32_t compression_ = 0;
    Encoding encoding_ = Encoding::Rgb;
    uint32_t imageSize_ = 0;
    uint32_t colorsUsed_ = 0;
    size_t paletteStart_ = 0;
    std::array<Channel, 3> channels_{}; // red, green, blue
    std::vector<PaletteEntry> palette_;
};

bool Decoder::decode(Surface& out) {
    if (!readHeaders() || !readMasks() || !readPalette() || !checkLayout()) return false;

    const int outBits = bitsPerPixel_ <= 8 ? 8 : 24;
    if (!createSurface(out, width_, height_, outBits))
        return fail("cannot allocate a " + std::to_string(width_) + "x" + std::to_string(height_) +
                    " picture");
    if (outBits == 8) std::copy(palette_.begin(), palette_.end(), out.palette.begin());

    const bool ok = encoding_ == Encoding::Rle8 || encoding_ == Encoding::Rle4
                        ? decodeRle(out)
                        : decodeUncompressed(out);
    if (!ok) return false;
    if (outBits == 8 && encoding_ == Encoding::Rgb && !checkIndices(out)) return false;
    return true;
}

bool Decoder::readHeaders() {
    if (size_ < kFileHeaderSize + 4) return fail("file too short for the headers");
    if (data_[0] != 'B' || data_[1] != 'M') return fail("not a BMP file (signature is not BM)");
    const uint32_t fileSize = le32(data_ + 2);
    if (fileSize > size_)
        return fail("file is truncated: its header gives " + std::to_string(fileSize) + " bytes, " +
                    std::to_string(size_) + " present");
    pixelOffset_ = le32(data_ + 10);

    headerSize_ = le32(data_ + 14);
    switch (headerSize_) {
    case 12:
        os2Core_ = true;
        break;
    case 16:
    case 64:
        os2v2_ = true;
        break;
    case 40:
    case 52:
    case 56:
    case 108:
    case 124:
        break;
    default:
        return fail("unknown info header size " + std::to_string(headerSize_));
    }
    if (kFileHeaderSize + headerSize_ > size_) return fail("file ends inside the info header");

    // Shorter headers simply lack the later fields, which then read as zero.
    std::array<uint8_t, kMaxInfoHeaderSize> h{};
    std::memcpy(h.data(), data_ + kFileHeaderSize, headerSize_);

    int64_t width, height;
    int planes;
    int32_t xDensity = 0, yDensity = 0;
    if (os2Core_) {
        width = le16(&h[4]);
        height = le16(&h[6]);
        planes = le16(&h[8]);
        bitsPerPixel_ = le16(&h[10]);
    } else {
        width = le32s(&h[4]);
        height = le32s(&h[8]);
        planes = le16(&h[12]);
        bitsPerPixel_ = le16(&h[14]);
        compression_ = le32(&h[16]);
        imageSize_ = le32(&h[20]);
        xDensity = le32s(&h[24]);
        yDensity = le32s(&h[28]);
        colorsUsed_ = le32(&h[32]);
    }

    if (planes != 1) return fail("plane count " + std::to_string(planes) + " is not 1");
    if (width <= 0) return fail("width " + std::to_string(width) + " is not positive");
    if (height == 0) return fail("height is 0");
    topDown_ = height < 0;
    if (topDown_) height = -height;
    if (width > maxDimension_ || height > maxDimension_)
        return fail("picture " + std::to_string(width) + "x" + std::to_string(height) +
                    " exceeds the " + std::to_string(maxDimension_) + " pixel limit");
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);

    if (xDensity > 0 && yDensity > 0) {
        const int64_t lo = std::min(xDensity, yDensity), hi = std::max(xDensity, yDensity);
        if (hi > lo * 1000)
            return fail("pixel density " + std::to_string(xDensity) + "x" +
                        std::to_string(yDensity) + " is not a plausible aspect ratio");
    }

    switch (bitsPerPixel_) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return fail("unsupported depth of " + std::to_string(bitsPerPixel_) + " bits");
    }

    switch (compression_) {
    case kBiRgb:
        encoding_ = Encoding::Rgb;
        break;
    case kBiRle8:
        if (bitsPerPixel_ != 8) return fail("8-bit RLE in a picture that is not 8-bit");
        encoding_ = Encoding::Rle8;
        break;
    case kBiRle4:
        if (bitsPerPixel_ != 4) return fail("4-bit RLE in a picture that is not 4-bit");
        encoding_ = Encoding::Rle4;
        break;
    case kBiBitFields:
    case kBiAlphaBitFields:
        if (os2v2_)
            return fail(compression_ == kBiBitFields
                            ? "Huffman-compressed OS/2 bitmaps are not supported"
                            : "unknown compression " + std::to_string(compression_));
        if (bitsPerPixel_ != 16 && bitsPerPixel_ != 32)
            return fail("bit fields in a picture that is neither 16- nor 32-bit");
        encoding_ = Encoding::BitFields;
        break;
    case kBiJpeg:
        return fail(os2v2_ ? "24-bit RLE OS/2 bitmaps are not supported"
                           : "embedded JPEG pictures are not supported");
    case kBiPng:
        return fail("embedded PNG pictures are not supported");
    default:
        return fail("unknown compression " + std::to_string(compression_));
    }
    if (topDown_ && (encoding_ == Encoding::Rle8 || encoding_ == Encoding::Rle4))
        return fail("run-length encoded pictures cannot be top-down");

    paletteStart_ = kFileHeaderSize + headerSize_;
    return true;
}

bool Decoder::readMasks() {
    if (bitsPerPixel_ != 16 && bitsPerPixel_ != 32) return true;
    std::array<uint32_t, 3> masks;
    if (encoding_ == Encoding::BitFields) {
        // Headers of 52 bytes and more hold the masks themselves; after a 40-byte header they
        // follow it. Either way they start right after the first 40 bytes.
        const size_t at = kFileHeaderSize + 40;
        if (headerSize_ == 40) paletteStart_ += compression_ == kBiAlphaBitFields ? 16 : 12;
        if (at + 12 > size_) return fail("file ends inside the bit-field masks");
        for (int i = 0; i < 3; ++i) masks[i] = le32(data_ + at + 4 * i);
    } else if (bitsPerPixel_ == 16) {
        masks = {0x7c00, 0x03e0, 0x001f};
    } else {
        masks = {0xff0000, 0x00ff00, 0x0000ff};
    }

    const uint64_t pixelMask = (uint64_t{1} << bitsPerPixel_) - 1;
    uint32_t seen = 0;
    for (int i = 0; i < 3; ++i) {
        const uint32_t m = masks[i];
        if (m == 0) return fail("a colour bit-field mask is empty");
        if (m > pixelMask) return fail("a bit-field mask is wider than the pixel");
        if (m & seen) return fail("bit-field masks overlap");
        seen |= m;
        channels_[i].setMask(m);
        if (!channels_[i].contiguous()) return fail("a bit-field mask is not contiguous");
    }
    return true;
}

bool Decoder::readPalette() {
    const size_t entrySize = os2Core_ ? 3 : 4;
    if (pixelOffset_ < paletteStart_) return fail("pixel data offset points into the headers");
    if (pixelOffset_ > size_) return fail("pixel data offset lies past the end of the file");
    const size_t room = (pixelOffset_ - paletteStart_) / entrySize;

    if (bitsPerPixel_ > 8) {
        // A colour table here only suggests colours for display on palette devices; it is never
        // read, but one that does not fit before the pixels means the header is not to be trusted.
        if (colorsUsed_ > room)
            return fail("colour table of " + std::to_string(colorsUsed_) +
                        " entries runs into the pixel data");
        return true;
    }

    const uint32_t depthEntries = 1u << bitsPerPixel_;
    if (colorsUsed_ > depthEntries)
        return fail("colour table of " + std::to_string(colorsUsed_) + " entries for a " +
                    std::to_string(bitsPerPixel_) + "-bit picture");
    size_t entries = colorsUsed_ != 0 ? colorsUsed_ : depthEntries;
    if (entries > room) {
        // Without a count in the header (always so in OS/2 files) the pixel offset tells how
        // much palette was written; an explicit count must be there in full.
        if (colorsUsed_ != 0)
            return fail("colour table of " + std::to_string(colorsUsed_) +
                        " entries runs into the pixel data");
        entries = room;
    }
    if (entries == 0) return fail("palettised picture without a colour table");

    palette_.resize(entries);
    const uint8_t* p = data_ + paletteStart_;
    for (size_t i = 0; i < entries; ++i, p += entrySize) {
        palette_[i].blue = p[0];
        palette_[i].green = p[1];
        palette_[i].red = p[2];
    }
    return true;
}

bool Decoder::checkLayout() {
    const size_t available = size_ - pixelOffset_;
    if (imageSize_ > available)
        return fail("image size field " + std::to_string(imageSize_) + " exceeds the " +
                    std::to_string(available) + " bytes of pixel data");
    if (encoding_ == Encoding::Rle8 || encoding_ == Encoding::Rle4) return true;

    // The last row need not carry its padding.
    const uint64_t stride = static_cast<uint64_t>(surfaceStride(width_, bitsPerPixel_));
    const uint64_t lastRow = (static_cast<uint64_t>(width_) * bitsPerPixel_ + 7) / 8;
    const uint64_t needed = stride * (static_cast<uint64_t>(height_) - 1) + lastRow;
    if (needed > available)
        return fail("pixel data is truncated: " + std::to_string(needed) + " bytes needed, " +
                    std::to_string(available) + " present");
    return true;
}

bool Decoder::decodeUncompressed(Surface& out) {
    const size_t srcStride = static_cast<size_t>(surfaceStride(width_, bitsPerPixel_));
    const int w = width_;
    for (int fileRow = 0; fileRow < height_; ++fileRow) {
        const uint8_t* src = data_ + pixelOffset_ + fileRow * srcStride;
        // Bottom-up files list rows in the same order as the surface keeps them.
        uint8_t* dst = topDown_ ? out.row(fileRow)
                                : out.pixels.data() + static_cast<size_t>(fileRow) * out.stride;
        switch (bitsPerPixel_) {
        case 1:
            for (int x = 0; x < w; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
            break;
        case 2:
            for (int x = 0; x < w; ++x) dst[x] = (src[x >> 2] >> (6 - 2 * (x & 3))) & 3;
            break;
        case 4:
            for (int x = 0; x < w; ++x) dst[x] = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0f;
            break;
        case 8:
            std::memcpy(dst, src, static_cast<size_t>(w));
            break;
        case 24:
            std::memcpy(dst, src, static_cast<size_t>(w) * 3);
            break;
        case 16:
            for (int x = 0; x < w; ++x, dst += 3) {
                const uint32_t v = le16(src + 2 * x);
                dst[0] = channels_[2].expand(v);
                dst[1] = channels_[1].expand(v);
                dst[2] = channels_[0].expand(v);
            }
            break;
        case 32:
            for (int x = 0; x < w; ++x, dst += 3) {
                const uint32_t v = le32(src + 4 * x);
                dst[0] = channels_[2].expand(v);
                dst[1] = channels_[1].expand(v);
                dst[2] = channels_[0].expand(v);
            }
            break;
        }
    }
    return true;
}

bool Decoder::checkIndices(const Surface& out) {
    if (palette_.size() >= (size_t{1} << bitsPerPixel_)) return true;
    uint8_t highest = 0;
    for (int y = 0; y < out.height; ++y) {
        const uint8_t* row = out.pixels.data() + static_cast<size_t>(y) * out.stride;
        for (int x = 0; x < out.width; ++x) highest = std::max(highest, row[x]);
    }
    if (highest >= palette_.size())
        return fail("pixel uses colour " + std::to_string(highest) + " of a " +
                    std::to_string(palette_.size()) + "-entry colour table");
    return true;
}

// Runs are laid from the bottom row up, as the rows are stored. Pixels that the codes skip (end
// of line, delta, an early end of bitmap) keep index 0.
bool Decoder::decodeRle(Surface& out) {
    const bool four = encoding_ == Encoding::Rle4;
    const size_t end = size_;
    const size_t paletteSize = palette_.size();
    size_t p = pixelOffset_;
    int x = 0, y = 0;

    auto put = [&](uint8_t* row, int at, uint8_t index) -> bool {
        if (index >= paletteSize) return false;
        row[at] = index;
        return true;
    };
    auto badIndex = [&]() {
        return fail("run-length data uses a colour beyond the " + std::to_string(paletteSize) +
                    "-entry colour table");
    };

    for (;;) {
        if (end - p < 2) {
            // Tolerate a missing end-of-bitmap code only when every row has been ended.
            if (y >= height_) return true;
            return fail("run-length data ends before the end-of-bitmap code");
        }
        const int count = data_[p];
        const uint8_t code = data_[p + 1];
        p += 2;

        if (count > 0) {
            if (y >= height_ || count > width_ - x)
                return fail("run-length run passes the edge of the picture");
            uint8_t* row = out.pixels.data() + static_cast<size_t>(y) * out.stride;
            if (four) {
                const uint8_t hi = code >> 4, lo = code & 0x0f;
                for (int i = 0; i < count; ++i)
                    if (!put(row, x + i, (i & 1) ? lo : hi)) return badIndex();
            } else {
                if (!put(row, x, code)) return badIndex();
                std::memset(row + x, code, static_cast<size_t>(count));
            }
            x += count;
            continue;
        }

        switch (code) {
        case 0: // end of line
            x = 0;
            if (++y > height_) return fail("run-length end of line below the last row");
            break;
        case 1: // end of bitmap
            return true;
        case 2: { // delta
            if (end - p < 2) return fail("run-length data ends inside a delta");
            x += data_[p];
            y += data_[p + 1];
            p += 2;
            if (x > width_ || y > height_) return fail("run-length delta leaves the picture");
            break;
        }
        default: { // absolute run of `code` pixels, padded to a 16-bit boundary
            const int n = code;
            const size_t bytes = four ? (static_cast<size_t>(n) + 1) / 2 : static_cast<size_t>(n);
            if (end - p < bytes) return fail("run-length data ends inside an absolute run");
            if (y >= height_ || n > width_ - x)
                return fail("run-length run passes the edge of the picture");
            uint8_t* row = out.pixels.data() + static_cast<size_t>(y) * out.stride;
            for (int i = 0; i < n; ++i) {
                const uint8_t index =
                    four ? ((data_[p + i / 2] >> ((i & 1) ? 0 : 4)) & 0x0f) : data_[p + i];
                if (!put(row, x + i, index)) return badIndex();
            }
            x += n;
            p += bytes;
            if (bytes & 1) p = std::min(p + 1, end);
            break;
        }
        }
    }
}

} // namespace

BmpReadResult readBmpFile(Surface& surface, std::string_view bytes, int maxDimension) {
    releaseSurface(surface);
    maxDimension = std::clamp(maxDimension, 1, kMaxSurfaceDimension);
    BmpReadResult result;
    try {
        Decoder decoder(bytes, maxDimension);
        Surface decoded;
        if (decoder.decode(decoded)) {
            moveBitmap(surface, decoded);
            result.ok = true;
        } else {
            result.error = decoder.error();
        }
    } catch (const std::bad_alloc&) {
        releaseSurface(surface);
        result.error = "out of memory";
    }
    return result;
}

} // namespace orv
