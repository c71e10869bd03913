// The line-breaking rule of Japanese text, and the look-ahead it works on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orv {

// A two-byte character as it appears in display text.
struct TwoByteChar {
    unsigned char first = 0;
    unsigned char second = 0;
    bool operator==(const TwoByteChar&) const = default;
};

// What follows a drawn cell in the rest of its display text: the two-byte characters (half-width
// bytes and control bytes are passed over), and whether an explicit click or page wait comes
// before the first of them.
struct LookAhead {
    static constexpr int kMaxSteps = 128;
    std::array<TwoByteChar, kMaxSteps> chars{};
    int count = 0;
    bool explicitWait = false;
};

// Scans at most 128 bytes of `text` from `from`: a byte 0 (or the end) stops, a lead byte adds
// itself and its trail byte as one character, anything else is passed over.
LookAhead lookAhead(std::string_view text, size_t from);

// How many characters after the next one must stay on its line with it: an opening bracket
// takes the character after it along, and a closing mark or small kana is taken along by the
// character before it.
int kinsokuGlue(const LookAhead& ahead);

// The two sets, as Shift-JIS: characters that must not end a line, and that must not begin one.
bool isLineEndForbidden(TwoByteChar c);
bool isLineStartForbidden(TwoByteChar c);

// Whether `c` is one of the two-byte characters of `list`, compared two bytes at a time from
// its start (a trailing odd byte is never matched).
bool inCharacterList(std::string_view list, TwoByteChar c);

} // namespace orv
