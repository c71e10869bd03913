#include "interp/ControlFlow.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/ShellState.h"
#include "shell/Shutdown.h"
#include "util/sjis.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

[[noreturn]] void skipOutOfRange(Engine& engine) {
    reportError(engine, S(caption::kSyntax), S("SKIPがスクリプトの範囲を飛び出しました。"));
}

[[noreturn]] void badCondition(Engine& engine) {
    reportError(engine, S(caption::kError), S("if条件式が間違っています。"));
}

// Continues with the next line (or stops on the end of the scenario).
void skipLine(Engine& engine) {
    ScriptState& script = engine.script;
    const char* text = script.buffer.data();
    while (text[script.pos] != '\n' && text[script.pos] != '\0') ++script.pos;
    if (text[script.pos] == '\n') ++script.pos;
}

// One condition of an if or notif chain.
bool readCondition(Engine& engine) {
    ScriptState& script = engine.script;
    if (peekAfterBlanks(engine) == 'f') {
        std::string& word = engine.interp.scratchWord;
        readWord(engine, word);
        if (word != "fchk") badCondition(engine);
        if (engine.interp.mode == BlockMode::Definition)
            reportError(engine, S(caption::kError),
                        S("fchk条件式は、定義ブロックでは使えません。"));
        return engine.persist.fileLog.contains(readString(engine));
    }
    int32_t left = readNumber(engine);
    const char* text = script.buffer.data();
    char first = text[script.pos];
    char second = text[script.pos + 1];
    enum { Eq, Ne, Lt, Le, Gt, Ge } op;
    int length = 1;
    if (first == '=') {
        op = Eq;
        if (second == '=') length = 2;
    } else if (first == '!' && second == '=') {
        op = Ne;
        length = 2;
    } else if (first == '<') {
        op = second == '=' ? Le : second == '>' ? Ne : Lt;
        if (second == '=' || second == '>') length = 2;
    } else if (first == '>') {
        op = second == '=' ? Ge : Gt;
        if (second == '=') length = 2;
    } else {
        // A lone "!" is no operator either.
        badCondition(engine);
    }
    script.pos += length;
    int32_t right = readNumber(engine);
    switch (op) {
    case Eq:
        return left == right;
    case Ne:
        return left != right;
    case Lt:
        return left < right;
    case Le:
        return left <= right;
    case Gt:
        return left > right;
    case Ge:
        return left >= right;
    }
    return false;
}

// Steps over "&" or "&&" after a condition; false when the chain has ended.
bool nextInChain(Engine& engine) {
    ScriptState& script = engine.script;
    if (peekAfterBlanks(engine) != '&') return false;
    ++script.pos;
    if (script.current() == '&') ++script.pos;
    return true;
}

// if runs the rest of the line when every condition holds, notif when none does.
void conditional(Engine& engine, bool runWhen) {
    for (;;) {
        if (readCondition(engine) != runWhen) {
            skipLine(engine);
            return;
        }
        if (!nextInChain(engine)) return;
    }
}

} // namespace

void cmdGoto(Engine& engine) {
    jumpToLabel(engine, readLabel(engine));
}

void cmdSkip(Engine& engine) {
    ScriptState& script = engine.script;
    int64_t count = readNumber(engine);
    const char* text = script.buffer.data();
    if (count > 0) {
        for (int64_t i = 0; i < count; ++i) {
            while (text[script.pos] != '\n') {
                if (text[script.pos] == '\0') skipOutOfRange(engine);
                ++script.pos;
            }
            ++script.pos;
        }
    } else if (count < 0) {
        int32_t p = script.pos;
        if (text[p] == '\n') --p;
        for (int64_t i = 0; i < 1 - count; ++i) {
            // Back to the previous line feed, then one byte before it; the
            // first byte of the scenario is out of reach.
            for (;;) {
                if (p <= 0) skipOutOfRange(engine);
                if (text[p] == '\n') break;
                --p;
            }
            --p;
        }
        script.pos = p + 1;
    }
}

void pushGosubReturn(Engine& engine, int32_t returnPos) {
    InterpState& interp = engine.interp;
    if (interp.gosubStack.size() >= kMaxGosubDepth)
        reportError(engine, S(caption::kStack), S("gosub文のせいでスタックが溢れました。"));
    interp.gosubStack.push_back(returnPos);
}

void cmdGosub(Engine& engine) {
    // A full stack is reported before the label is read, even a malformed one;
    // the return position is known only once the label has been read.
    pushGosubReturn(engine, engine.script.pos);
    std::string label = readLabel(engine);
    engine.interp.gosubStack.back() = engine.script.pos;
    jumpToLabel(engine, label);
}

void cmdReturn(Engine& engine) {
    InterpState& interp = engine.interp;
    if (interp.gosubStack.empty())
        reportError(engine, S(caption::kStack), S("returnとgosub文が正しく対応していません。"));
    engine.script.pos = interp.gosubStack.back();
    interp.gosubStack.pop_back();
}

void cmdIf(Engine& engine) {
    conditional(engine, true);
}

void cmdNotif(Engine& engine) {
    conditional(engine, false);
}

void cmdCmp(Engine& engine) {
    int32_t index = readVariableRef(engine, '%', caption::kSyntax, "cmpの第一引数は数字変数です。");
    expectComma(engine);
    std::string a = readString(engine);
    expectComma(engine);
    std::string b = readString(engine);
    int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (order == 0) order = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    // Stored without the bounds, like len.
    engine.vars.num[size_t(index)] = order < 0 ? -1 : order > 0 ? 1 : 0;
}

void cmdTrap(Engine& engine) {
    char c = peekAfterBlanks(engine);
    if (c == '*') {
        engine.interp.trapLabel = readLabel(engine);
        // Only a click after the trap is armed counts.
        engine.platform.discardEvents(EventKind::LButtonUp);
        engine.platform.discardEvents(EventKind::Char);
        return;
    }
    if (c == 'o' || c == 'O') {
        std::string& word = engine.interp.scratchWord;
        readWord(engine, word);
        if (word == "off") {
            engine.interp.trapLabel.clear();
            return;
        }
    }
    reportError(engine, S(caption::kError),
                S("trap命令のパラメータは、offもしくは*ラベル名です。"));
}

void cmdEnd(Engine& engine) {
    shutDown(engine, 0);
}

void cmdMesbox(Engine& engine) {
    std::string text = readString(engine);
    expectComma(engine);
    std::string caption = readString(engine);
    engine.platform.killTimer(kMainTimerId);
    engine.platform.messageBox(sjis::toUtf8(caption), sjis::toUtf8(text), MessageBoxButtons::Ok);
    engine.platform.setTimer(kMainTimerId, kMainTimerPeriodMs);
}

} // namespace orv
