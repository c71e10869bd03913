// What the input dialogs accept: the rules the field's text must pass before the dialog closes,
// and the answer made of it. Everything is Shift-JIS here but the field's text as the platform
// hands it over (UTF-8) and the refusals shown over the dialog.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// The longest answer and the longest prompt, in bytes: the dialog's text buffer holds 256.
inline constexpr size_t kInputBufferBytes = 255;
// The maximum length that asks for a number.
inline constexpr int32_t kNumberMode = -1;

struct InputRule {
    int32_t maxLength = kNumberMode;
    bool fullWidthOnly = false;
    bool numberMode() const { return maxLength == kNumberMode; }
};

// The caption of the dialog and of its refusals: 「数値入力」 or 「文字列入力」 (UTF-8).
std::string inputCaption(const InputRule& rule);

// Judges the field's text. On success *answer holds it in Shift-JIS, cut to kInputBufferBytes on
// a character boundary.
std::optional<InputRefusal> checkInput(const InputRule& rule, std::string_view utf8,
                                       std::string* answer);

// A number answer that passed the check ("", "-" and digits with an optional leading "-"): the
// empty answer and a lone minus are 0, a value past 32 bits is held at the nearest end.
int32_t numberAnswer(std::string_view digits);

// What an automatic click answers (UTF-8): nothing for a number, else 「名無し」 cut to the
// maximum length.
std::string automaticInput(const InputRule& rule);

// A prompt cut to kInputBufferBytes on a character boundary.
std::string cutPrompt(std::string sjis);

} // namespace orv
