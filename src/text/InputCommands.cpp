#include "text/InputCommands.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/TokenReader.h"
#include "shell/Wait.h"
#include "text/AutoForward.h"
#include "text/InputAnswer.h"
#include "util/sjis.h"

namespace orv {

namespace {

// The four sizes are there when a comma follows the last required argument.
std::optional<InputDialogSize> readSizes(Engine& engine) {
    if (peekAfterBlanks(engine) != ',') return std::nullopt;
    expectComma(engine);
    const auto v = readNumbers<4>(engine);
    return InputDialogSize{v[0], v[1], v[2], v[3]};
}

// The dialog until it is answered: the answer in Shift-JIS.
std::string askPlayer(Engine& engine, const InputRule& rule, const std::string& prompt,
                      const std::optional<InputDialogSize>& size) {
    InputDialogRequest request;
    request.caption = inputCaption(rule);
    request.prompt = sjis::toUtf8(cutPrompt(prompt));
    request.size = size;
    request.automaticAnswer = automaticInput(rule);
    std::string answer;
    const InputCheck check = [&](std::string_view utf8) { return checkInput(rule, utf8, &answer); };
    stopPlayerModes(engine);
    // The dialog gives way only when the system ends the program: the close it left waiting ends
    // the run through the window procedure, or, should it not, the question comes again.
    while (!engine.platform.inputDialog(request, check)) pumpAllPending(engine);
    return answer;
}

} // namespace

void cmdInputstr(Engine& engine) {
    const int32_t index =
        readVariableRef(engine, '$', caption::kSyntax, "inputstrの第一引数は文字変数です。");
    expectComma(engine);
    const std::string prompt = readString(engine);
    expectComma(engine);
    InputRule rule;
    rule.maxLength = readNumber(engine);
    expectComma(engine);
    rule.fullWidthOnly = readNumber(engine) != 0;
    const std::optional<InputDialogSize> size = readSizes(engine);
    std::string answer = askPlayer(engine, rule, prompt, size);
    checkStringTotal(engine, index, answer.size());
    engine.vars.str[size_t(index)] = std::move(answer);
}

void cmdInputnum(Engine& engine) {
    const int32_t index =
        readVariableRef(engine, '%', caption::kSyntax, "inputnumの第一引数は数字変数です。");
    expectComma(engine);
    const std::string prompt = readString(engine);
    const std::optional<InputDialogSize> size = readSizes(engine);
    // Stored as typed: the intlimit bounds come with the next command that applies them.
    engine.vars.num[size_t(index)] = numberAnswer(askPlayer(engine, {}, prompt, size));
}

} // namespace orv
