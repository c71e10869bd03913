#include "util/sjis.h"

#include <array>
#include <cstdint>
#include <iconv.h>
#include <vector>

namespace orv::sjis {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kNone = 0xFFFFFFFF;   // no mapping in the single-byte / pair tables
constexpr uint16_t kNoBytes = 0xFFFF;    // no CP932 form (0xFF is never a lead byte)
constexpr unsigned kLeadCount = 31 + 29; // 0x81-0x9F and 0xE0-0xFC

bool isTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

unsigned leadIndex(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31u;
}

// Where code points map to several byte pairs (the NEC and IBM extension sets repeat each
// other), Windows writes the JIS X 0208 or NEC row 13 form when there is one, and otherwise the
// IBM form (0xFA-0xFC) rather than the NEC-selected copy (0xED-0xEE).
int preference(uint16_t code) {
    if (code >= 0xED40 && code <= 0xEEFC) return 2;
    if (code >= 0xFA40) return 1;
    return 0;
}

struct Tables {
    std::array<char32_t, 256> single{};
    std::vector<char32_t> pairs;   // kLeadCount * 256, indexed by leadIndex * 256 + trail
    std::vector<uint16_t> reverse; // code point (BMP) -> CP932 code, kNoBytes when none
};

// Converts one CP932 character through iconv; kNone when refused or not exactly one code point.
char32_t convertOne(iconv_t cd, const char* bytes, size_t len) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in[2] = {bytes[0], len > 1 ? bytes[1] : '\0'};
    char* inPtr = in;
    size_t inLeft = len;
    unsigned char out[16];
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0) return kNone;
    if (sizeof out - outLeft != 4) return kNone;
    char32_t cp =
        char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16 | char32_t(out[3]) << 24;
    return cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ? kNone : cp;
}

void addReverse(Tables& t, char32_t cp, uint16_t code) {
    if (cp > 0xFFFF) return; // CP932 is entirely inside the BMP
    uint16_t& slot = t.reverse[cp];
    if (slot == kNoBytes || preference(code) < preference(slot) ||
        (preference(code) == preference(slot) && code < slot))
        slot = code;
}

Tables build() {
    Tables t;
    t.single.fill(kNone);
    t.pairs.assign(kLeadCount * 256, kNone);
    t.reverse.assign(0x10000, kNoBytes);

    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    bool haveIconv = cd != iconv_t(-1);

    for (unsigned b = 0; b < 256; ++b) {
        if (isLeadByte(static_cast<unsigned char>(b))) continue;
        char c = static_cast<char>(b);
        char32_t cp = haveIconv ? convertOne(cd, &c, 1) : kNone;
        if (cp == kNone) {
            // What iconv refuses (or everything, without iconv): the lone bytes as Windows reads
            // them, so that they survive a round trip through Unicode.
            if (b < 0x80)
                cp = b;
            else if (b == 0x80)
                cp = 0x80;
            else if (b == 0xA0)
                cp = 0xF8F0;
            else if (b >= 0xA1 && b <= 0xDF)
                cp = 0xFF61 + (b - 0xA1);
            else if (b >= 0xFD)
                cp = 0xF8F1 + (b - 0xFD);
        }
        t.single[b] = cp;
    }
    if (haveIconv) {
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(static_cast<unsigned char>(trail))) continue;
                char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                t.pairs[leadIndex(static_cast<unsigned char>(lead)) * 256 + trail] =
                    convertOne(cd, pair, 2);
            }
        }
        iconv_close(cd);
    }

    for (unsigned b = 0; b < 256; ++b)
        if (t.single[b] != kNone) addReverse(t, t.single[b], static_cast<uint16_t>(b));
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0; trail < 256; ++trail) {
            char32_t cp = t.pairs[leadIndex(static_cast<unsigned char>(lead)) * 256 + trail];
            if (cp != kNone) addReverse(t, cp, static_cast<uint16_t>(lead << 8 | trail));
        }
    }
    return t;
}

const Tables& tables() {
    static const Tables t = build();
    return t;
}

// One UTF-8 sequence at pos; advances pos. Malformed input (overlong forms, surrogates, values
// above U+10FFFF, cut sequences) gives kNone and skips one byte.
char32_t decodeUtf8(std::string_view s, size_t& pos) {
    auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    size_t len;
    char32_t cp, min;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        len = 2, cp = b0 & 0x1F, min = 0x80;
    else if (b0 >= 0xE0 && b0 <= 0xEF)
        len = 3, cp = b0 & 0x0F, min = 0x800;
    else if (b0 >= 0xF0 && b0 <= 0xF4)
        len = 4, cp = b0 & 0x07, min = 0x10000;
    else {
        ++pos;
        return kNone;
    }
    if (s.size() - pos < len) {
        ++pos;
        return kNone;
    }
    for (size_t i = 1; i < len; ++i) {
        auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return kNone;
        }
        cp = cp << 6 | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kNone;
    }
    pos += len;
    return cp;
}

void appendCode(std::string& out, uint16_t code) {
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

} // namespace

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

char32_t decode(std::string_view sjis, size_t& pos) {
    if (pos >= sjis.size()) {
        pos = sjis.size();
        return kReplacement;
    }
    const Tables& t = tables();
    auto b = static_cast<unsigned char>(sjis[pos]);
    if (!isLeadByte(b)) {
        ++pos;
        char32_t cp = t.single[b];
        return cp == kNone ? kReplacement : cp;
    }
    if (pos + 1 >= sjis.size() || !isTrailByte(static_cast<unsigned char>(sjis[pos + 1]))) {
        ++pos;
        return kReplacement;
    }
    auto trail = static_cast<unsigned char>(sjis[pos + 1]);
    pos += 2;
    char32_t cp = t.pairs[leadIndex(b) * 256 + trail];
    return cp == kNone ? kReplacement : cp;
}

std::string encode(char32_t cp) {
    if (cp > 0xFFFF) return "?";
    uint16_t code = tables().reverse[cp];
    if (code == kNoBytes) return "?";
    std::string out;
    appendCode(out, code);
    return out;
}

std::string toUtf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() + sjis.size() / 2);
    size_t pos = 0;
    while (pos < sjis.size()) {
        // ASCII stands for itself: a run of it is copied at once (file names are mostly ASCII).
        size_t end = pos;
        while (end < sjis.size() && static_cast<unsigned char>(sjis[end]) < 0x80) ++end;
        out.append(sjis.substr(pos, end - pos));
        pos = end;
        if (pos < sjis.size()) appendUtf8(out, decode(sjis, pos));
    }
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    const Tables& t = tables();
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = decodeUtf8(utf8, pos);
        uint16_t code = cp <= 0xFFFF ? t.reverse[cp] : kNoBytes;
        if (code == kNoBytes)
            out += '?';
        else
            appendCode(out, code);
    }
    return out;
}

size_t wholeCharactersLength(std::string_view sjis) {
    size_t end = 0;
    for (;;) {
        const size_t step =
            end < sjis.size() && isLeadByte(static_cast<unsigned char>(sjis[end])) ? 2 : 1;
        if (end + step > sjis.size()) return end;
        end += step;
    }
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace orv::sjis
