#include "util/escape.h"

#include <cstdio>

namespace orv {

std::string escapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char code[8];
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7f) {
            std::snprintf(code, sizeof code, "\\x%02x", b);
            out += code;
        } else if (b == 0xc2 && next >= 0x80 && next <= 0x9f) {
            std::snprintf(code, sizeof code, "\\u%04x", next);
            out += code;
            ++i;
        } else {
            out.push_back(static_cast<char>(b));
        }
    }
    return out;
}

} // namespace orv
