#include "graphics/FilterCommands.h"

#include "graphics/Quake.h"
#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "util/sjis.h"

#include <string>

namespace orv {

namespace {

// A filter shows with the next effect, over the whole screen.
void markScreenDirty(Engine& engine) {
    markDirty(engine.graphics.layers.dirty, 0, 0, kScreenRight + 1, kScreenBottom + 1);
}

[[noreturn]] void badMonocro(Engine& engine) {
    reportError(engine, S(caption::kSyntax),
                S("monocro命令の次は#rrggbbで色指定、もしくは、offでモノクロ指定を解除、です。"));
}

} // namespace

void cmdMonocro(Engine& engine) {
    FilterState& filters = engine.graphics.layers.filters;
    const char first = peekAfterBlanks(engine);
    if (first == 'o' || first == 'O') {
        std::string word;
        readWord(engine, word);
        if (word != "off") badMonocro(engine);
        filters.monochrome = 0;
    } else if (first == '#') {
        const uint32_t colour = readColourLiteral(engine);
        filters.tintRed = static_cast<int>(colour >> 16 & 0xff);
        filters.tintGreen = static_cast<int>(colour >> 8 & 0xff);
        filters.tintBlue = static_cast<int>(colour & 0xff);
        filters.monochrome = 1;
    } else {
        badMonocro(engine);
    }
    markScreenDirty(engine);
}

void cmdNega(Engine& engine) {
    engine.graphics.layers.filters.negativeMode = readNumber(engine);
    markScreenDirty(engine);
}

void cmdQuakex(Engine& engine) {
    const auto [n, t] = readNumbers<2>(engine);
    runQuake(engine, n, t, QuakeAxis::Horizontal);
}

void cmdQuakey(Engine& engine) {
    const auto [n, t] = readNumbers<2>(engine);
    runQuake(engine, n, t, QuakeAxis::Vertical);
}

} // namespace orv
