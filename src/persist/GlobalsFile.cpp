#include "persist/GlobalsFile.h"

#include "interp/Engine.h"
#include "persist/PlayerFiles.h"
#include "util/binio.h"

namespace orv {

namespace {

// The numbers take 3896 × 4 bytes; the texts together are bounded by the string variables' own
// limit, so a larger file holds nothing this engine could keep.
constexpr size_t kMaxGlobalsFileBytes =
    kMaxStringTotalBytes + size_t(kVariableCount - kLocalVariableCount) * 5;

} // namespace

std::string encodeGlobals(const Variables& vars) {
    BinWriter out;
    for (int32_t i = kLocalVariableCount; i < kVariableCount; ++i) {
        out.putInt32(vars.num[size_t(i)]);
        out.putText(vars.str[size_t(i)]);
    }
    return out.bytes();
}

void decodeGlobals(std::string_view bytes, Variables& vars) {
    vars.clearGlobals();
    BinReader in(bytes);
    for (int32_t i = kLocalVariableCount; i < kVariableCount && !in.atEnd(); ++i) {
        vars.num[size_t(i)] = in.getInt32();
        std::string text = in.getText();
        if (text.size() > kMaxStringBytes) text.resize(kMaxStringBytes);
        if (vars.stringFits(i, text.size())) vars.str[size_t(i)] = std::move(text);
    }
}

void loadGlobals(Engine& engine) {
    std::optional<std::string> bytes =
        engine.persist.files.read(kGlobalsFileName, kMaxGlobalsFileBytes);
    if (bytes)
        decodeGlobals(*bytes, engine.vars);
    else
        engine.vars.clearGlobals();
}

void saveGlobals(Engine& engine) {
    writePlayerFile(engine, kGlobalsFileName, encodeGlobals(engine.vars));
}

} // namespace orv
