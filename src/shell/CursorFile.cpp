#include "shell/CursorFile.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <tuple>

namespace orv {

namespace {

// Little-endian fields; callers check the range first, and anything past the end reads as 0 so a
// missed check can never read outside the data.
uint32_t le16(std::string_view s, size_t at) {
    if (at > s.size() || s.size() - at < 2) return 0;
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8;
}
uint32_t le32(std::string_view s, size_t at) {
    if (at > s.size() || s.size() - at < 4) return 0;
    return le16(s, at) | le16(s, at + 2) << 16;
}
uint32_t be32(std::string_view s, size_t at) {
    if (at > s.size() || s.size() - at < 4) return 0;
    return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 |
           uint32_t(uint8_t(s[at + 2])) << 8 | uint32_t(uint8_t(s[at + 3]));
}
bool fits(std::string_view s, uint64_t at, uint64_t length) {
    return at <= s.size() && length <= s.size() - at;
}
bool tagIs(std::string_view s, size_t at, const char (&tag)[5]) {
    return fits(s, at, 4) && s.compare(at, 4, tag, 4) == 0;
}

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr size_t kDibHeaderSize = 40;

// What an image of the directory is, read from its own header rather than from the directory's
// one-byte sizes (which cannot say 256 and are often wrong).
struct ImageInfo {
    int width = 0;
    int height = 0;
    int depth = 0; // bits per pixel; PNG counts as 32
    bool png = false;
};

bool sideOk(int64_t side) {
    return side >= 1 && side <= kMaxCursorSide;
}

std::optional<ImageInfo> peekImage(std::string_view image) {
    ImageInfo info;
    if (image.size() >= 8 && image.compare(0, 8, kPngSignature, 8) == 0) {
        // The first chunk of a PNG is always the 13-byte header.
        if (!fits(image, 8, 8 + 13) || be32(image, 8) != 13 || !tagIs(image, 12, "IHDR")) {
            return std::nullopt;
        }
        const uint32_t width = be32(image, 16);
        const uint32_t height = be32(image, 20);
        if (!sideOk(width) || !sideOk(height)) return std::nullopt;
        info.width = int(width);
        info.height = int(height);
        info.depth = 32;
        info.png = true;
        return info;
    }
    if (!fits(image, 0, kDibHeaderSize)) return std::nullopt;
    const uint32_t headerSize = le32(image, 0);
    const int32_t width = int32_t(le32(image, 4));
    const int32_t doubledHeight = int32_t(le32(image, 8));
    const uint32_t planes = le16(image, 12);
    const uint32_t depth = le16(image, 14);
    const uint32_t compression = le32(image, 16);
    if (headerSize < kDibHeaderSize || headerSize > image.size()) return std::nullopt;
    // The height covers the colour image and the mask below it, so it is twice the picture's.
    if (doubledHeight <= 0 || doubledHeight % 2 != 0) return std::nullopt;
    if (!sideOk(width) || !sideOk(doubledHeight / 2)) return std::nullopt;
    if (planes != 1 || compression != 0) return std::nullopt;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) return std::nullopt;
    info.width = width;
    info.height = doubledHeight / 2;
    info.depth = int(depth);
    return info;
}

CursorImage blankImage(const ImageInfo& info) {
    CursorImage out;
    out.width = info.width;
    out.height = info.height;
    out.bgra.assign(size_t(info.width) * size_t(info.height) * 4, 0);
    return out;
}

std::optional<CursorImage> decodePng(std::string_view image, const ImageInfo& info) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, image.data(), image.size())) {
        png_image_free(&png);
        return std::nullopt;
    }
    if (int64_t(png.width) != info.width || int64_t(png.height) != info.height) {
        png_image_free(&png);
        return std::nullopt;
    }
    // 8-bit formats with alpha come out straight, not premultiplied: what a cursor wants.
    png.format = PNG_FORMAT_BGRA;
    CursorImage out = blankImage(info);
    if (PNG_IMAGE_SIZE(png) != out.bgra.size() ||
        !png_image_finish_read(&png, nullptr, out.bgra.data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    return out;
}

std::optional<CursorImage> decodeDib(std::string_view image, const ImageInfo& info) {
    const size_t headerSize = le32(image, 0);
    const uint32_t colorsUsed = le32(image, 32);
    const int depth = info.depth;
    const size_t width = size_t(info.width);
    const size_t height = size_t(info.height);

    // Palettised pictures carry their colour table after the header; deeper ones may carry an
    // unused table of the stated size, which is skipped.
    size_t paletteEntries = 0;
    if (depth <= 8) {
        const uint32_t full = 1u << depth;
        if (colorsUsed > full) return std::nullopt;
        paletteEntries = colorsUsed ? colorsUsed : full;
    } else {
        if (colorsUsed > 256) return std::nullopt;
        paletteEntries = colorsUsed;
    }
    const size_t paletteAt = headerSize;
    const size_t colorStride = (width * size_t(depth) + 31) / 32 * 4;
    const size_t maskStride = (width + 31) / 32 * 4;
    const size_t colorAt = paletteAt + paletteEntries * 4;
    const size_t maskAt = colorAt + colorStride * height;
    if (!fits(image, paletteAt, paletteEntries * 4) ||
        !fits(image, colorAt, colorStride * height)) {
        return std::nullopt;
    }
    const bool maskPresent = fits(image, maskAt, maskStride * height);

    CursorImage out = blankImage(info);

    // Colour first, with the alpha the file gives (255 where it has none).
    for (size_t y = 0; y < height; ++y) {
        const size_t row = colorAt + (height - 1 - y) * colorStride;
        uint8_t* dst = out.bgra.data() + y * width * 4;
        for (size_t x = 0; x < width; ++x, dst += 4) {
            if (depth <= 8) {
                const size_t bitPos = x * size_t(depth);
                const uint32_t byte = uint8_t(image[row + bitPos / 8]);
                const uint32_t shift = 8 - uint32_t(depth) - uint32_t(bitPos % 8);
                const uint32_t index = (byte >> shift) & ((1u << depth) - 1);
                if (index >= paletteEntries) return std::nullopt;
                const size_t entry = paletteAt + size_t(index) * 4;
                dst[0] = uint8_t(image[entry]);
                dst[1] = uint8_t(image[entry + 1]);
                dst[2] = uint8_t(image[entry + 2]);
                dst[3] = 255;
            } else {
                const size_t at = row + x * size_t(depth / 8);
                dst[0] = uint8_t(image[at]);
                dst[1] = uint8_t(image[at + 1]);
                dst[2] = uint8_t(image[at + 2]);
                dst[3] = depth == 32 ? uint8_t(image[at + 3]) : 255;
            }
        }
    }

    bool ownAlpha = false;
    if (depth == 32) {
        for (size_t i = 3; i < out.bgra.size(); i += 4) {
            if (out.bgra[i] != 0) {
                ownAlpha = true;
                break;
            }
        }
    }
    if (ownAlpha) return out; // the mask only serves systems without alpha; it may even be absent
    if (!maskPresent) return std::nullopt;

    for (size_t y = 0; y < height; ++y) {
        const size_t row = maskAt + (height - 1 - y) * maskStride;
        uint8_t* dst = out.bgra.data() + y * width * 4;
        for (size_t x = 0; x < width; ++x, dst += 4) {
            const bool masked = (uint8_t(image[row + x / 8]) >> (7 - x % 8)) & 1;
            if (!masked) {
                dst[3] = 255;
            } else if (dst[0] == 0 && dst[1] == 0 && dst[2] == 0) {
                dst[3] = 0;
            } else {
                // Would invert the screen beneath; a colour pointer shows it as solid black.
                dst[0] = dst[1] = dst[2] = 0;
                dst[3] = 255;
            }
        }
    }
    return out;
}

constexpr size_t kDirectoryHeader = 6;
constexpr size_t kDirectoryEntry = 16;

std::optional<CursorImage> readIconDirectory(std::string_view file) {
    if (!fits(file, 0, kDirectoryHeader)) return std::nullopt;
    const uint32_t reserved = le16(file, 0);
    const uint32_t type = le16(file, 2);
    const size_t count = le16(file, 4);
    if (reserved != 0 || (type != 1 && type != 2)) return std::nullopt;
    if (count == 0 || count > kMaxCursorDirectoryEntries) return std::nullopt;
    const size_t directoryEnd = kDirectoryHeader + count * kDirectoryEntry;
    if (!fits(file, 0, directoryEnd)) return std::nullopt;

    struct Candidate {
        std::string_view data;
        ImageInfo info;
        uint32_t hotX = 0;
        uint32_t hotY = 0;
    };
    std::optional<Candidate> best;
    auto rank = [](const ImageInfo& info) {
        const bool preferred = info.width == 32 && info.height == 32;
        return std::make_tuple(preferred, info.width * info.height, info.depth);
    };
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = kDirectoryHeader + i * kDirectoryEntry;
        const uint32_t size = le32(file, entry + 8);
        const uint32_t offset = le32(file, entry + 12);
        if (offset < directoryEnd || size == 0 || !fits(file, offset, size)) return std::nullopt;
        Candidate candidate;
        candidate.data = file.substr(offset, size);
        const auto info = peekImage(candidate.data);
        if (!info) return std::nullopt;
        candidate.info = *info;
        // A cursor's entry reuses the planes and depth fields for its hot spot.
        candidate.hotX = le16(file, entry + 4);
        candidate.hotY = le16(file, entry + 6);
        if (!best || rank(candidate.info) > rank(best->info)) best = candidate;
    }

    auto image =
        best->info.png ? decodePng(best->data, best->info) : decodeDib(best->data, best->info);
    if (!image) return std::nullopt;
    if (type == 2) {
        image->hotX = int(std::min<uint32_t>(best->hotX, uint32_t(image->width - 1)));
        image->hotY = int(std::min<uint32_t>(best->hotY, uint32_t(image->height - 1)));
    } else {
        image->hotX = image->width / 2;
        image->hotY = image->height / 2;
    }
    return image;
}

// One chunk of a RIFF form: its tag and its data.
struct Chunk {
    std::string_view tag;
    std::string_view data;
};

// Splits a run of chunks; nullopt when a chunk claims more data than there is. Bytes too few to
// hold another chunk header at the end are ignored, as is the pad byte of an odd last chunk.
std::optional<std::vector<Chunk>> splitChunks(std::string_view body, size_t maxChunks) {
    std::vector<Chunk> chunks;
    size_t at = 0;
    while (fits(body, at, 8)) {
        const uint32_t size = le32(body, at + 4);
        if (!fits(body, at + 8, size)) return std::nullopt;
        if (chunks.size() == maxChunks) return std::nullopt;
        chunks.push_back({body.substr(at, 4), body.substr(at + 8, size)});
        at += 8 + size_t(size) + (size & 1);
    }
    return chunks;
}

constexpr uint32_t kAniFramesAreIcons = 1;
constexpr size_t kAniHeaderSize = 36;
// Frames plus the odd informational chunk; more than this in one form is not a cursor.
constexpr size_t kMaxAniChunks = kMaxCursorFrames + 64;

std::optional<AnimatedCursor> readAnimated(std::string_view file) {
    if (!fits(file, 0, 12) || !tagIs(file, 8, "ACON")) return std::nullopt;
    // Writers disagree on the form's size field; trust it only as far as the data goes.
    const uint64_t formEnd = std::min<uint64_t>(uint64_t(le32(file, 4)) + 8, file.size());
    if (formEnd < 12) return std::nullopt;
    const auto chunks = splitChunks(file.substr(12, size_t(formEnd) - 12), kMaxAniChunks);
    if (!chunks) return std::nullopt;

    std::optional<std::string_view> header, rates, sequence;
    std::vector<std::string_view> icons;
    for (const Chunk& chunk : *chunks) {
        std::optional<std::string_view>* single = nullptr;
        if (chunk.tag == "anih") single = &header;
        if (chunk.tag == "rate") single = &rates;
        if (chunk.tag == "seq ") single = &sequence;
        if (single) {
            if (*single) return std::nullopt; // two of a kind: which one was meant?
            *single = chunk.data;
            continue;
        }
        if (chunk.tag != "LIST" || !tagIs(chunk.data, 0, "fram")) continue;
        const auto frames = splitChunks(chunk.data.substr(4), kMaxAniChunks);
        if (!frames) return std::nullopt;
        for (const Chunk& frame : *frames) {
            if (frame.tag != "icon") continue;
            if (icons.size() == kMaxCursorFrames) return std::nullopt;
            icons.push_back(frame.data);
        }
    }
    if (!header || header->size() < kAniHeaderSize) return std::nullopt;
    const size_t frameCount = le32(*header, 4);
    const size_t stepCount = le32(*header, 8);
    const uint32_t defaultRate = le32(*header, 28);
    const uint32_t flags = le32(*header, 32);
    // Without the flag the frames would be raw bitmaps, which no cursor writer produces.
    if (!(flags & kAniFramesAreIcons)) return std::nullopt;
    if (frameCount == 0 || frameCount > kMaxCursorFrames || icons.size() < frameCount) {
        return std::nullopt;
    }

    AnimatedCursor cursor;
    if (sequence) {
        if (stepCount == 0 || stepCount > kMaxCursorSteps) return std::nullopt;
        if (sequence->size() / 4 < stepCount) return std::nullopt;
        for (size_t i = 0; i < stepCount; ++i) {
            const uint32_t index = le32(*sequence, i * 4);
            if (index >= frameCount) return std::nullopt;
            cursor.sequence.push_back(int(index));
        }
    } else {
        for (size_t i = 0; i < frameCount; ++i) cursor.sequence.push_back(int(i));
    }
    const size_t steps = cursor.sequence.size();
    if (rates) {
        if (rates->size() / 4 < steps) return std::nullopt;
        for (size_t i = 0; i < steps; ++i)
            cursor.ratesMs.push_back(jiffiesToMs(le32(*rates, i * 4)));
    } else {
        cursor.ratesMs.assign(steps, jiffiesToMs(defaultRate));
    }

    size_t totalPixels = 0;
    for (size_t i = 0; i < frameCount; ++i) {
        auto frame = readIconDirectory(icons[i]);
        if (!frame) return std::nullopt;
        totalPixels += size_t(frame->width) * size_t(frame->height);
        if (totalPixels > kMaxCursorTotalPixels) return std::nullopt;
        cursor.frames.push_back(std::move(*frame));
    }
    return cursor;
}

} // namespace

uint32_t jiffiesToMs(uint32_t jiffies) {
    const uint64_t ms = (uint64_t(std::max<uint32_t>(jiffies, 1)) * 1000 + 30) / 60;
    return uint32_t(std::min<uint64_t>(ms, UINT32_MAX));
}

std::optional<AnimatedCursor> readCursorFile(std::string_view bytes) {
    if (tagIs(bytes, 0, "RIFF")) return readAnimated(bytes);
    auto image = readIconDirectory(bytes);
    if (!image) return std::nullopt;
    AnimatedCursor cursor;
    cursor.frames.push_back(std::move(*image));
    cursor.sequence = {0};
    cursor.ratesMs = {0};
    return cursor;
}

} // namespace orv
