#include "text/Kinsoku.h"

#include "util/sjis.h"

namespace orv {

namespace {

// （［｛「『
constexpr std::string_view kLineEndForbidden = "\x81\x69\x81\x6d\x81\x6f\x81\x75\x81\x77";
// 、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』
constexpr std::string_view kLineStartForbidden =
    "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4a\x81\x4b\x81\x52"
    "\x81\x53\x81\x54\x81\x55\x81\x58\x81\x5b\x81\x6a\x81\x6e\x81\x70\x81\x76\x81\x78";

} // namespace

bool inCharacterList(std::string_view list, TwoByteChar c) {
    for (size_t i = 0; i + 1 < list.size(); i += 2) {
        if (static_cast<unsigned char>(list[i]) == c.first &&
            static_cast<unsigned char>(list[i + 1]) == c.second)
            return true;
    }
    return false;
}

bool isLineEndForbidden(TwoByteChar c) {
    return inCharacterList(kLineEndForbidden, c);
}

bool isLineStartForbidden(TwoByteChar c) {
    return inCharacterList(kLineStartForbidden, c);
}

LookAhead lookAhead(std::string_view text, size_t from) {
    LookAhead ahead;
    size_t i = from;
    for (int step = 0; step < LookAhead::kMaxSteps; ++step) {
        if (i >= text.size()) break;
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == 0) break;
        if (sjis::isLeadByte(b)) {
            const auto trail =
                i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : uint8_t{0};
            ahead.chars[static_cast<size_t>(ahead.count++)] = {b, trail};
            if (trail == 0) break;
            i += 2;
            continue;
        }
        if ((b == '@' || b == '\\') && ahead.count == 0) ahead.explicitWait = true;
        ++i;
    }
    return ahead;
}

int kinsokuGlue(const LookAhead& ahead) {
    int n = 0;
    while (ahead.count - n >= 2) {
        if (isLineEndForbidden(ahead.chars[static_cast<size_t>(n)]) ||
            isLineStartForbidden(ahead.chars[static_cast<size_t>(n + 1)]))
            ++n;
        else
            break;
    }
    return n;
}

} // namespace orv
