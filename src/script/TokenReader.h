// The lexical rules of the scenario: each command pulls its own arguments out
// of the ScriptBuffer at the shared read position through these readers. A
// malformed token is a scenario error, so a reader never returns a partial
// result.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

struct Engine;

// Longest word and longest string literal; one more byte is an error.
inline constexpr size_t kMaxTokenBytes = 254;
// Longest number literal in digits.
inline constexpr int kMaxNumberDigits = 18;

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

void skipBlanks(Engine& engine);
// Steps over blanks and returns the byte it stops on, without taking it.
char peekAfterBlanks(Engine& engine);
// Also steps over line feeds; returns the byte it stops on.
char skipBlanksAndNewlines(Engine& engine);

// A command, alias or label name, lower-cased into out (empty when the first
// byte is not a letter or '_'). Returns the byte after the word and its blanks.
char readWord(Engine& engine, std::string& out);
// The same word without a copy: a view into the scenario, or into scratch when
// it had capitals to fold. Valid until the next read into scratch.
std::string_view readWordView(Engine& engine, std::string& scratch);

// A number literal, %n (numeric variable, indirections allowed) or numeric alias.
int32_t readNumber(Engine& engine);

// A string literal, $n (string variable) or string alias. Variables are copied
// whole, however long they have grown.
std::string readString(Engine& engine);

// A label, *name, or a string literal or string variable beginning with '*';
// returned without the '*'.
std::string readLabel(Engine& engine);

// Six hexadecimal digits as 0xRRGGBB. The caller has checked the '#' and steps
// the position over the seven bytes itself.
uint32_t readColor(Engine& engine, std::string_view sixDigits);

// "#rrggbb" at the position as 0xRRGGBB, the position stepped over its seven
// bytes. The caller has found the '#' (what else may stand there differs).
uint32_t readColourLiteral(Engine& engine);

// One comma after optional blanks.
void expectComma(Engine& engine);

// N numbers separated by commas.
template <size_t N> std::array<int32_t, N> readNumbers(Engine& engine) {
    std::array<int32_t, N> values{};
    for (size_t i = 0; i < N; ++i) {
        if (i > 0) expectComma(engine);
        values[i] = readNumber(engine);
    }
    return values;
}

// The number of a variable after its "%" or "$" (which the caller has
// stepped over), reported as an error when outside the tables.
int32_t readVariableNumber(Engine& engine);

// A variable argument: sigil ('%' numeric, '$' string) and number, returned as
// the checked number. Without the sigil the calling command's own caption and
// message are reported; both are UTF-8, converted only when shown, so that the
// common path costs nothing.
int32_t readVariableRef(Engine& engine, char sigil, std::string_view caption,
                        std::string_view message);

} // namespace orv
