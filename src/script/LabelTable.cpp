#include "script/LabelTable.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "util/sjis.h"

#include <algorithm>

namespace orv {

void LabelTable::clear() {
    entries_.clear();
    index_.clear();
}

bool LabelTable::add(std::string name, int32_t position) {
    auto [it, inserted] = index_.try_emplace(name, position);
    if (!inserted) return false;
    entries_.push_back({std::move(name), position});
    return true;
}

std::optional<int32_t> LabelTable::find(std::string_view name) const {
    auto it = index_.find(name);
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

void foldLower(std::string& s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c + ('a' - 'A'));
}

void buildLabelTable(Engine& engine) {
    ScriptState& script = engine.script;
    LabelTable& labels = script.labels;
    labels.clear();
    const char* text = script.buffer.data();
    script.pos = 0;
    std::string name;
    for (;;) {
        char c = text[script.pos];
        if (c == '\0') return;
        if (c == ' ' || c == '\t' || c == '\n') {
            ++script.pos;
        } else if (c == '*') {
            ++script.pos;
            readWord(engine, name);
            if (labels.find(name))
                reportError(engine, S(caption::kError),
                            formatMessage(S("ラベル*%sの多重定義です。"), name));
            if (labels.size() >= kMaxLabels)
                reportError(engine, S(caption::kError), S("ラベルが5000を超えました。"));
            if (peekAfterBlanks(engine) == '\n') ++script.pos;
            labels.add(name, script.pos);
        } else {
            while (text[script.pos] != '\n' && text[script.pos] != '\0') ++script.pos;
        }
    }
}

void jumpToLabel(Engine& engine, std::string_view name) {
    std::optional<int32_t> pos;
    if (std::none_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
        pos = engine.script.labels.find(name);
    } else {
        std::string folded(name);
        foldLower(folded);
        pos = engine.script.labels.find(folded);
    }
    if (pos) {
        engine.script.pos = *pos;
        if (engine.interp.trace) engine.interp.trace->mark(*pos);
        return;
    }
    reportError(engine, S(caption::kLabel), formatMessage(S("ラベル*%sは存在しません"), name));
}

} // namespace orv
