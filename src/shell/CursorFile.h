// Reading of Windows cursor files (.cur, .ico and animated .ani) into colour pictures the platform
// can show as the pointer.
//
// Still files: an icon or cursor directory whose images are device-independent bitmaps (1, 4, 8,
// 24 or 32 bits per pixel, uncompressed, followed by the 1-bit AND mask) or embedded PNG files.
// Of the directory's images the 32x32 one is used (the system's default cursor size; among several,
// the deepest), otherwise the largest. Cursors take the hot spot from their directory entry, icons
// use the picture's centre; a hot spot outside the picture is pulled onto its last row or column.
//
// Transparency: a 32-bit picture with any non-zero alpha keeps its alpha and ignores the mask;
// otherwise the AND mask decides. A masked pixel whose colour is black is transparent; a masked
// pixel with any other colour would invert the screen beneath it, which a colour pointer cannot do,
// so it is drawn opaque black (the colour inversion gives over light backgrounds).
//
// Animated files: a RIFF 'ACON' form with an 'anih' header, optional 'rate' and 'seq ' chunks and
// a 'LIST' 'fram' holding one 'icon' chunk (a complete .ico or .cur) per frame. A sequence chunk is
// used whenever present; without one the frames are shown in order, one step each. Rates are in
// jiffies (1/60 s); a rate of 0 is shown for one jiffy so the animation cannot spin.
//
// Everything in the file is distrusted: counts, sizes and offsets are checked against the data and
// against fixed caps, and any file that does not fit is refused as a whole.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orv {

// Caps on what a cursor file may ask for.
inline constexpr int kMaxCursorSide = 256;
inline constexpr size_t kMaxCursorFrames = 1024;
inline constexpr size_t kMaxCursorSteps = 4096;
inline constexpr size_t kMaxCursorDirectoryEntries = 1024;
// Pixels of all frames of one file together, so a small compressed file cannot claim huge memory.
inline constexpr size_t kMaxCursorTotalPixels = size_t(8) << 20;

struct AnimatedCursor {
    std::vector<CursorImage> frames; // one entry for a still cursor
    std::vector<int> sequence;       // frame indices in display order
    // Display time of each sequence step in milliseconds; a still cursor has one step of 0.
    std::vector<uint32_t> ratesMs;

    bool animated() const { return sequence.size() > 1; }
};

// Parses the bytes of a .cur, .ico or .ani file; nullopt for anything malformed.
std::optional<AnimatedCursor> readCursorFile(std::string_view bytes);

// Milliseconds for a count of 1/60-second jiffies, rounded to the nearest; 0 counts as one jiffy.
uint32_t jiffiesToMs(uint32_t jiffies);

} // namespace orv
