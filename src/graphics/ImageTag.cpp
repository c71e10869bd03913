#include "graphics/ImageTag.h"

#include <algorithm>

namespace orv {

namespace {

class TagScanner {
public:
    explicit TagScanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void step() { ++pos_; }
    size_t pos() const { return pos_; }
    std::string_view rest() const { return text_.substr(std::min(pos_, text_.size())); }

    // Decimal digits (none gives 0); large values saturate.
    int number() {
        long long v = 0;
        while (!atEnd() && peek() >= '0' && peek() <= '9') {
            v = std::min<long long>(v * 10 + (peek() - '0'), 0x7fffffff);
            step();
        }
        return static_cast<int>(v);
    }

    // Everything up to and including the next ','; false when the text ends first.
    bool passComma() {
        while (!atEnd()) {
            const char c = peek();
            step();
            if (c == ',') return true;
        }
        return false;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

ImageTagProblem parseAnimation(TagScanner& s, ImageTag& tag) {
    tag.animated = true;
    tag.cellCount = s.number();
    if (tag.cellCount < 1) return ImageTagProblem::Malformed;
    if (!s.passComma()) return ImageTagProblem::Malformed;
    if (s.peek() == '<') {
        s.step();
        tag.cellTime = -1;
        tag.cellTimes.clear();
        for (int i = 0; i < tag.cellCount; ++i) {
            if (s.atEnd()) return ImageTagProblem::Malformed;
            tag.cellTimes.push_back(s.number());
            if (s.atEnd()) return ImageTagProblem::Malformed;
            const char separator = s.peek();
            s.step();
            if (i == tag.cellCount - 1 && separator != '>') return ImageTagProblem::Malformed;
        }
    } else {
        tag.cellTime = s.number();
    }
    if (!s.passComma()) return ImageTagProblem::Malformed;
    tag.loopMode = s.number();
    return tag.loopMode <= 2 ? ImageTagProblem::None : ImageTagProblem::BadLoop;
}

} // namespace

ImageTagProblem parseImageTag(std::string_view text, TransMode defaultMode, ImageTag& tag) {
    tag = ImageTag{};
    tag.mode = defaultMode;
    if (text.empty() || text[0] != ':') {
        tag.fileName = std::string(text);
        return ImageTagProblem::None;
    }
    TagScanner s(text.substr(1));
    while (s.peek() == ' ' || s.peek() == '\t') s.step();
    switch (s.peek()) {
    case 'l':
        tag.mode = TransMode::LeftUp;
        s.step();
        break;
    case 'a':
        tag.mode = TransMode::Alpha;
        s.step();
        break;
    case 'c':
        tag.mode = TransMode::Copy;
        s.step();
        break;
    case '#': {
        s.step();
        uint32_t colour = 0;
        for (int i = 0; i < 6; ++i) {
            const int d = hexDigit(s.peek());
            if (d < 0) return ImageTagProblem::BadColour;
            colour = colour << 4 | static_cast<uint32_t>(d);
            s.step();
        }
        tag.mode = TransMode::Keyed;
        tag.keyedByColour = true;
        tag.keyColour = colour;
        break;
    }
    case '!':
        s.step();
        tag.mode = TransMode::Keyed;
        tag.keyedByIndex = true;
        tag.keyIndex = s.number();
        break;
    default:
        break;
    }
    while (!s.atEnd() && s.peek() != ';') {
        if (s.peek() == '/') {
            s.step();
            const ImageTagProblem p = parseAnimation(s, tag);
            if (p != ImageTagProblem::None) return p;
            continue;
        }
        s.step();
    }
    if (s.atEnd()) return ImageTagProblem::Malformed; // no ';' before the file name
    s.step();
    tag.fileName = std::string(s.rest());
    return ImageTagProblem::None;
}

} // namespace orv
