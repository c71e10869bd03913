// Code page 932 (the Windows form of Shift-JIS) <-> Unicode.
//
// The engine keeps every text as Shift-JIS bytes; these functions are the edge where text becomes
// Unicode (glyph lookup, file names on disk, window title, transcript) and back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orv::sjis {

// True for the first byte of a two-byte character: 0x81-0x9F and 0xE0-0xFC.
bool isLeadByte(unsigned char b);

// Bytes that do not convert become U+FFFD; never reads past the input.
std::string toUtf8(std::string_view sjis);

// Characters without a CP932 form, and malformed UTF-8, become '?'.
std::string fromUtf8(std::string_view utf8);

// Decodes one character at pos (one or two bytes) and advances pos past it. Invalid input gives
// U+FFFD: a lead byte whose second byte is missing or outside the trail range consumes one byte,
// an unassigned pair consumes two (as the engine's own byte scanners step over it). At or past
// the end, pos is set to the end and U+FFFD returned.
char32_t decode(std::string_view sjis, size_t& pos);

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t cp);

// The CP932 bytes of one code point, "?" when it has none.
std::string encode(char32_t cp);

// The length of the longest start of sjis (which itself starts on a character) that ends on a
// character boundary: a lead byte takes the byte after it, whatever that is.
size_t wholeCharactersLength(std::string_view sjis);

} // namespace orv::sjis

namespace orv {

// Shift-JIS bytes of a UTF-8 literal: lets source files write engine messages readably.
inline std::string S(std::string_view utf8) {
    return sjis::fromUtf8(utf8);
}

} // namespace orv
