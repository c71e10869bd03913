#include "text/InputAnswer.h"

#include "util/sjis.h"

#include <limits>

namespace orv {

namespace {

InputRefusal refusal(const InputRule& rule, std::string_view textUtf8) {
    return {inputCaption(rule), sjis::toUtf8(S(textUtf8))};
}

// Desktop input methods type some characters in their JIS forms, which the code page holds only
// as look-alikes: the wave dash of ～, the minus, the double bar, the dash, the cent, pound,
// not and yen signs and the broken bar.
struct LookAlike {
    char32_t typed;
    char32_t held;
};
constexpr LookAlike kLookAlikes[] = {
    {U'\u301C', U'\uFF5E'}, {U'\u2212', U'\uFF0D'}, {U'\u2016', U'\u2225'},
    {U'\u2014', U'\u2015'}, {U'\u00A2', U'\uFFE0'}, {U'\u00A3', U'\uFFE1'},
    {U'\u00AC', U'\uFFE2'}, {U'\u00A5', U'\uFFE5'}, {U'\u00A6', U'\uFFE4'},
};

// The code point of one whole UTF-8 character.
char32_t codePoint(std::string_view ch) {
    const auto b = [&](size_t i) { return char32_t(static_cast<unsigned char>(ch[i])); };
    switch (ch.size()) {
    case 1:
        return b(0);
    case 2:
        return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
    case 3:
        return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
    default:
        return (b(0) & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F);
    }
}

// One typed character in Shift-JIS; "?" when the code page has no form of it.
std::string encodeTyped(std::string_view ch) {
    const char32_t cp = codePoint(ch);
    for (const LookAlike& l : kLookAlikes)
        if (l.typed == cp) return sjis::encode(l.held);
    return sjis::encode(cp);
}

// The field's text in Shift-JIS as far as the buffer reaches; the first character without a
// CP932 form (UTF-8) when there is one before that.
std::string toShiftJis(std::string_view utf8, std::string* unencodable) {
    std::string out;
    size_t pos = 0;
    while (pos < utf8.size() && out.size() < kInputBufferBytes) {
        const size_t start = pos;
        size_t end = start + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
        const std::string_view ch = utf8.substr(start, end - start);
        pos = end;
        const std::string bytes = encodeTyped(ch);
        if (bytes == "?" && ch != "?") {
            if (unencodable && unencodable->empty()) *unencodable = std::string(ch);
            return out;
        }
        if (out.size() + bytes.size() > kInputBufferBytes) break;
        out += bytes;
    }
    return out;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string inputCaption(const InputRule& rule) {
    return sjis::toUtf8(S(rule.numberMode() ? "数値入力" : "文字列入力"));
}

std::optional<InputRefusal> checkInput(const InputRule& rule, std::string_view utf8,
                                       std::string* answer) {
    std::string unencodable;
    const std::string text = toShiftJis(utf8, &unencodable);
    if (rule.numberMode()) {
        // A character the code page lacks is no digit either.
        if (!unencodable.empty()) return refusal(rule, "数値を入力してください。");
        for (size_t i = 0; i < text.size(); ++i)
            if (!isDigit(text[i]) && !(i == 0 && text[i] == '-'))
                return refusal(rule, "数値を入力してください。");
    } else {
        // The text could not even be kept: nothing else about it can be judged.
        if (!unencodable.empty())
            return InputRefusal{inputCaption(rule),
                                "\xE3\x80\x8C" + unencodable + "\xE3\x80\x8D" +
                                    sjis::toUtf8(S("は使えない文字です。別の文字で入力して"
                                                   "ください。"))};
        if (text.empty()) return refusal(rule, "文字列を入力してください。");
        if (int64_t(text.size()) > rule.maxLength) return refusal(rule, "文字列が長すぎます。");
        // Two bytes at a time from the start, so a half-width character shifts what follows.
        if (rule.fullWidthOnly)
            for (size_t i = 0; i < text.size(); i += 2)
                if (!sjis::isLeadByte(static_cast<unsigned char>(text[i])))
                    return refusal(rule, "全て全角文字で入力してください。");
    }
    if (answer) *answer = text;
    return std::nullopt;
}

int32_t numberAnswer(std::string_view digits) {
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative) digits.remove_prefix(1);
    int64_t value = 0;
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value >= limit) {
            value = limit;
            break;
        }
    }
    return int32_t(negative ? -value : value);
}

std::string automaticInput(const InputRule& rule) {
    if (rule.numberMode() || rule.maxLength <= 0) return {};
    std::string name = S("名無し");
    if (name.size() > size_t(rule.maxLength)) name.resize(size_t(rule.maxLength));
    name.resize(sjis::wholeCharactersLength(name));
    return sjis::toUtf8(name);
}

std::string cutPrompt(std::string sjis) {
    if (sjis.size() > kInputBufferBytes) {
        sjis.resize(kInputBufferBytes);
        sjis.resize(sjis::wholeCharactersLength(sjis));
    }
    return sjis;
}

} // namespace orv
