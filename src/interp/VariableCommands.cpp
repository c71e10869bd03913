#include "interp/VariableCommands.h"

#include "interp/Engine.h"
#include "interp/ProfileFile.h"
#include "interp/RegistryStore.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "util/sjis.h"

#include <limits>

namespace orv {

namespace {

// Arithmetic wraps in 32 bits, as the machine the games ran on did.
int32_t wrapAdd(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) + uint32_t(b));
}
int32_t wrapSub(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) - uint32_t(b));
}
int32_t wrapMul(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) * uint32_t(b));
}

// "%n" as the first argument, with the command's own message otherwise.
int32_t& outputNumber(Engine& engine, std::string_view message) {
    return engine.vars.num[size_t(readVariableRef(engine, '%', caption::kSyntax, message))];
}

// "$n" as the first argument: the variable's number.
int32_t outputString(Engine& engine, std::string_view message) {
    return readVariableRef(engine, '$', caption::kSyntax, message);
}

// Every store into a string variable goes through here, for the total.
void storeString(Engine& engine, int32_t index, std::string value) {
    checkStringTotal(engine, index, value.size());
    engine.vars.str[size_t(index)] = std::move(value);
}

void store(Engine& engine, int32_t& variable, int32_t value) {
    variable = value;
    engine.vars.applyBounds();
}

// The shared shape of sub, mul, div and mod: "%n, number".
template <typename Op> void binaryCommand(Engine& engine, const char* message, Op op) {
    int32_t& variable = outputNumber(engine, message);
    expectComma(engine);
    int32_t operand = readNumber(engine);
    store(engine, variable, op(variable, operand));
}

} // namespace

void cmdMov(Engine& engine) {
    const char* message = "movの第一引数は数字／文字変数です。";
    if (peekAfterBlanks(engine) == '$') {
        int32_t index = outputString(engine, message);
        expectComma(engine);
        storeString(engine, index, readString(engine));
        return;
    }
    int32_t& variable = outputNumber(engine, message);
    expectComma(engine);
    store(engine, variable, readNumber(engine));
}

void cmdAdd(Engine& engine) {
    const char* message = "addの第一引数は数字／文字変数です。";
    if (peekAfterBlanks(engine) == '$') {
        int32_t index = outputString(engine, message);
        expectComma(engine);
        std::string tail = readString(engine);
        std::string& variable = engine.vars.str[size_t(index)];
        if (variable.size() + tail.size() > kMaxStringBytes)
            reportError(engine, S(caption::kRuntime),
                        formatMessage(S("文字列変数が長すぎます。%dバイトまでです。"),
                                      int64_t(kMaxStringBytes)));
        checkStringTotal(engine, index, variable.size() + tail.size());
        variable += tail;
        return;
    }
    binaryCommand(engine, message, wrapAdd);
}

void cmdSub(Engine& engine) {
    binaryCommand(engine, "subの第一引数は数字変数です。", wrapSub);
}

void cmdInc(Engine& engine) {
    int32_t& variable = outputNumber(engine, "incの引数は数字変数です。");
    store(engine, variable, wrapAdd(variable, 1));
}

void cmdDec(Engine& engine) {
    int32_t& variable = outputNumber(engine, "decの引数は数字変数です。");
    store(engine, variable, wrapSub(variable, 1));
}

void cmdMul(Engine& engine) {
    binaryCommand(engine, "mulの第一引数は数字変数です。", wrapMul);
}

void cmdDiv(Engine& engine) {
    binaryCommand(engine, "divの第一引数は数字変数です。", [&](int32_t a, int32_t b) {
        if (b == 0) reportError(engine, S(caption::kDivisionByZero), S("０で除算しました。"));
        // The one quotient that does not fit wraps instead of trapping.
        if (a == std::numeric_limits<int32_t>::min() && b == -1) return a;
        return a / b;
    });
}

void cmdMod(Engine& engine) {
    binaryCommand(engine, "modの第一引数は数字変数です。", [&](int32_t a, int32_t b) {
        if (b == 0) reportError(engine, S(caption::kDivisionByZero), S("０で剰余演算しました。"));
        if (b == -1) return 0;
        return a % b;
    });
}

void cmdRnd(Engine& engine) {
    int32_t& variable = outputNumber(engine, "rndの第一引数は数字変数です。");
    expectComma(engine);
    int32_t range = readNumber(engine);
    if (range == 0)
        reportError(engine, S(caption::kDivisionByZero), S("rndの第二引数に0は指定できません。"));
    store(engine, variable, engine.interp.random.next() % range);
}

void cmdRnd2(Engine& engine) {
    int32_t& variable = outputNumber(engine, "rnd2の第一引数は数字変数です。");
    expectComma(engine);
    int32_t low = readNumber(engine);
    expectComma(engine);
    int32_t high = readNumber(engine);
    int32_t range = wrapAdd(wrapSub(high, low), 1);
    if (range == 0)
        reportError(engine, S(caption::kDivisionByZero),
                    S("rnd2の範囲が空です。第三引数に第二引数－1は指定できません。"));
    int32_t r = engine.interp.random.next();
    store(engine, variable, wrapAdd(low, r % range));
}

void cmdLen(Engine& engine) {
    int32_t& variable = outputNumber(engine, "lenの第一引数は数字変数です。");
    expectComma(engine);
    // Stored without the bounds; the next bounded store brings it in.
    variable = int32_t(readString(engine).size());
}

void cmdGetreg(Engine& engine) {
    int32_t index = outputString(engine, "getregの第一引数は文字変数です。");
    expectComma(engine);
    std::string keyPath = readString(engine);
    expectComma(engine);
    std::string valueName = readString(engine);
    std::optional<std::string> value =
        RegistryStore(engine.interp.registryFile).read(keyPath, valueName);
    // The value is read into 256 bytes; one that does not fit with its
    // terminator cannot be read at all.
    storeString(engine, index,
                value && value->size() <= kProfileValueMax ? std::move(*value) : std::string());
}

void cmdGetini(Engine& engine) {
    int32_t index = outputString(engine, "getiniの第一引数は文字変数です。");
    expectComma(engine);
    std::string file = readString(engine);
    expectComma(engine);
    std::string section = readString(engine);
    expectComma(engine);
    std::string key = readString(engine);
    // Profile files are looked up in the game folder like every data file.
    std::optional<std::filesystem::path> path = engine.fs.find(file);
    storeString(engine, index, path ? readProfileFile(*path, section, key, "") : std::string());
}

void cmdIntlimit(Engine& engine) {
    int32_t index = readVariableNumber(engine);
    expectComma(engine);
    int32_t low = readNumber(engine);
    expectComma(engine);
    int32_t high = readNumber(engine);
    engine.vars.setBounds(index, low, high);
}

void cmdNumalias(Engine& engine) {
    if (engine.vars.numAliasCount() >= kMaxAliases)
        reportError(engine, S(caption::kError), S("数字エイリアスが多すぎます。"));
    std::string name;
    readWord(engine, name);
    if (engine.vars.findNumAlias(name))
        reportError(engine, S(caption::kError),
                    formatMessage(S("数字エイリアス%sが二重定義されています。"), name));
    expectComma(engine);
    engine.vars.addNumAlias(name, readNumber(engine));
}

void cmdStralias(Engine& engine) {
    if (engine.vars.strAliasCount() >= kMaxAliases)
        reportError(engine, S(caption::kError), S("文字列エイリアスが多すぎます。"));
    std::string name;
    readWord(engine, name);
    if (engine.vars.findStrAlias(name))
        reportError(engine, S(caption::kError),
                    formatMessage(S("文字列エイリアス%sが二重定義されています。"), name));
    expectComma(engine);
    engine.vars.addStrAlias(name, readString(engine));
}

} // namespace orv
