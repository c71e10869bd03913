#include "script/TokenReader.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "util/sjis.h"

#include <algorithm>

namespace orv {

namespace {

inline bool isWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the string of a literal at the position (on its opening quote).
std::string readLiteral(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    int32_t start = ++script.pos;
    for (;;) {
        char c = text[script.pos];
        if (c == '"') break;
        if (c == '\n' || c == '\0')
            reportError(engine, S(caption::kSyntax), S("文字列中に改行が有ります。"));
        ++script.pos;
        if (size_t(script.pos - start) > kMaxTokenBytes) {
            std::string_view collected(text + start, size_t(script.pos - start));
            collected = collected.substr(0, sjis::wholeCharactersLength(collected));
            reportError(engine, S(caption::kSyntax),
                        formatMessage(S("文字列が長すぎます。:%s"), collected));
        }
    }
    std::string out(text + start, size_t(script.pos - start));
    ++script.pos;
    return out;
}

} // namespace

void skipBlanks(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    while (isBlank(text[script.pos])) ++script.pos;
}

char peekAfterBlanks(Engine& engine) {
    skipBlanks(engine);
    return engine.script.current();
}

char skipBlanksAndNewlines(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    while (isBlank(text[script.pos]) || text[script.pos] == '\n') ++script.pos;
    return text[script.pos];
}

std::string_view readWordView(Engine& engine, std::string& scratch) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    while (isBlank(text[script.pos])) ++script.pos;
    int32_t start = script.pos;
    bool hasUpper = false;
    if (isWordStart(text[script.pos])) {
        do {
            hasUpper |= text[script.pos] >= 'A' && text[script.pos] <= 'Z';
            ++script.pos;
        } while (isWordStart(text[script.pos]) || isDigit(text[script.pos]));
    }
    size_t length = size_t(script.pos - start);
    std::string_view word(text + start, length);
    if (length > kMaxTokenBytes) {
        // The error shows what was collected when the limit was passed.
        script.pos = start + int32_t(kMaxTokenBytes) + 1;
        scratch.assign(text + start, kMaxTokenBytes + 1);
        for (char& c : scratch) c = lower(c);
        reportError(engine, S(caption::kCommand),
                    formatMessage(S("長すぎるトークンです:%s"), scratch));
    }
    if (hasUpper) {
        scratch.assign(word);
        for (char& c : scratch) c = lower(c);
        word = scratch;
    }
    while (isBlank(text[script.pos])) ++script.pos;
    return word;
}

char readWord(Engine& engine, std::string& out) {
    std::string_view word = readWordView(engine, out);
    if (word.data() != out.data()) out.assign(word);
    return engine.script.current();
}

int32_t readNumber(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    // Each leading '%' takes the variable whose number is what follows; they
    // are counted rather than followed recursively so that a long run of them
    // cannot exhaust the stack.
    int indirections = 0;
    for (;;) {
        while (isBlank(text[script.pos])) ++script.pos;
        if (text[script.pos] != '%') break;
        ++script.pos;
        ++indirections;
    }
    int32_t value;
    char c = text[script.pos];
    if (isDigit(c) || c == '+' || c == '-') {
        bool negative = c == '-';
        if (c == '+' || c == '-') ++script.pos;
        int32_t start = script.pos;
        uint64_t magnitude = 0;
        while (isDigit(text[script.pos])) {
            magnitude = magnitude * 10 + uint64_t(text[script.pos] - '0');
            ++script.pos;
            if (script.pos - start > kMaxNumberDigits) {
                std::string digits(text + start, size_t(script.pos - start));
                reportError(engine, S(caption::kSyntax),
                            formatMessage(S("数字が長すぎます。:%s"), digits));
            }
        }
        // Beyond 32 bits the value wraps, as the platform's conversion did.
        uint32_t bits = uint32_t(magnitude);
        value = int32_t(negative ? 0u - bits : bits);
        while (isBlank(text[script.pos])) ++script.pos;
    } else {
        std::string_view word = readWordView(engine, engine.interp.scratchWord);
        const int32_t* alias = engine.vars.findNumAlias(word);
        if (!alias)
            reportError(engine, S(caption::kSyntax), S("数字がくるべきところに数字がありません。"));
        value = *alias;
    }
    for (; indirections > 0; --indirections) value = numericVariable(engine, value);
    return value;
}

std::string readString(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    while (isBlank(text[script.pos])) ++script.pos;
    char c = text[script.pos];
    std::string out;
    if (c == '$') {
        ++script.pos;
        out = stringVariable(engine, readNumber(engine));
        return out; // readNumber has skipped the blanks after it
    }
    if (c == '"') {
        out = readLiteral(engine);
    } else {
        std::string_view word = readWordView(engine, engine.interp.scratchWord);
        const std::string* alias = engine.vars.findStrAlias(word);
        if (!alias)
            reportError(engine, S(caption::kSyntax),
                        S("文字列が来るべきところに文字列がありません。"));
        out = *alias;
    }
    while (isBlank(text[script.pos])) ++script.pos;
    return out;
}

std::string readLabel(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    while (isBlank(text[script.pos])) ++script.pos;
    char c = text[script.pos];
    std::string out;
    if (c == '*') {
        ++script.pos;
        readWord(engine, out);
        return out;
    }
    if (c == '"' || c == '$') {
        out = readString(engine);
        if (out.empty() || out[0] != '*')
            reportError(engine, S(caption::kRuntime),
                        S("ラベル名を指定すべきところで文字列が代わりに指定されましたが、"
                          "文字列の先頭が*ではありません。"));
        out.erase(0, 1);
        return out;
    }
    reportError(engine, S(caption::kSyntax),
                S("ラベル名が来るべきところにラベル名が来ませんでした。"));
}

uint32_t readColor(Engine& engine, std::string_view sixDigits) {
    uint32_t value = 0;
    for (size_t i = 0; i < 6; ++i) {
        int digit = i < sixDigits.size() ? hexValue(sixDigits[i]) : -1;
        if (digit < 0)
            reportError(engine, S(caption::kSyntax),
                        S("カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定して"
                          "ください。"));
        value = value << 4 | uint32_t(digit);
    }
    return value;
}

uint32_t readColourLiteral(Engine& engine) {
    const std::string_view text = engine.script.buffer.text();
    const auto at = size_t(engine.script.pos);
    const uint32_t colour = readColor(engine, text.substr(std::min(at + 1, text.size()), 6));
    engine.script.pos += 7;
    return colour;
}

void expectComma(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    while (isBlank(text[script.pos])) ++script.pos;
    if (text[script.pos] != ',')
        reportError(engine, S(caption::kSyntax), S("コンマが必要なところにコンマが有りません。"));
    ++script.pos;
}

int32_t readVariableNumber(Engine& engine) {
    int32_t index = readNumber(engine);
    checkVariableIndex(engine, index);
    return index;
}

int32_t readVariableRef(Engine& engine, char sigil, std::string_view caption,
                        std::string_view message) {
    if (peekAfterBlanks(engine) != sigil) reportError(engine, S(caption), S(message));
    ++engine.script.pos;
    return readVariableNumber(engine);
}

} // namespace orv
