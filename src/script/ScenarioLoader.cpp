#include "script/ScenarioLoader.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/ScrambleKeys.h"
#include "util/gamefs.h"
#include "util/sjis.h"

#include <algorithm>

namespace orv {

std::string textModeTranslate(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\x1a') break;
        if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        out.push_back(c);
    }
    return out;
}

bool joinNumberedFiles(const GameFs& fs, std::string& out,
                       std::array<int32_t, kScenarioFileCount>& fileEnds) {
    out.clear();
    fileEnds.fill(kMissingFileEnd);
    for (int n = 0; n < kScenarioFileCount; ++n) {
        std::optional<std::string> raw = fs.readAll(std::to_string(n) + ".txt");
        if (!raw) continue;
        std::string text = textModeTranslate(*raw);
        // Room is always left for the LF and the terminator.
        size_t room = size_t(kScriptCapacity - 1) - out.size();
        out.append(text, 0, std::min(room, text.size()));
        fileEnds[size_t(n)] = int32_t(out.size());
        out.push_back('\n');
        if (out.size() >= size_t(kScriptCapacity)) return false;
    }
    return true;
}

void scramble(std::string& bytes, ScenarioSource source) {
    if (source == ScenarioSource::SecScrambled) {
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = char(uint8_t(bytes[i]) ^ kSecScrambleKey[i % kSecScrambleKey.size()]);
    } else if (source == ScenarioSource::Scrambled) {
        for (char& c : bytes) c = char(uint8_t(c) ^ kScrambleKey);
    }
}

bool loadScenarioFiles(const GameFs& fs, ScriptBuffer& buffer) {
    buffer.clear();
    if (!fs.exists("0.txt")) {
        for (ScenarioSource source : {ScenarioSource::SecScrambled, ScenarioSource::Scrambled}) {
            std::string_view name =
                source == ScenarioSource::SecScrambled ? kSecScrambledName : kScrambledName;
            std::optional<std::filesystem::path> path = fs.find(name);
            if (!path) continue;
            std::optional<std::string> bytes = fs.readAll(name);
            if (!bytes) {
                // Present but unreadable: an empty scenario, without a message.
                buffer.assign(std::string(), source);
                return true;
            }
            if (bytes->size() > size_t(kScriptCapacity - 1)) bytes->resize(kScriptCapacity - 1);
            scramble(*bytes, source);
            bytes->push_back('\n');
            bool fits = bytes->size() < size_t(kScriptCapacity);
            buffer.assign(std::move(*bytes), source);
            return fits;
        }
    }
    std::string text;
    std::array<int32_t, kScenarioFileCount> ends{};
    bool fits = joinNumberedFiles(fs, text, ends);
    buffer.assign(std::move(text), ScenarioSource::Numbered);
    buffer.fileEnds() = ends;
    return fits;
}

void loadScenario(Engine& engine) {
    ScriptState& script = engine.script;
    script.pos = 0;
    if (!loadScenarioFiles(engine.fs, script.buffer)) {
        // Point the report at the end of the file that overflowed.
        script.pos = script.buffer.length() - 1;
        reportError(engine, S(caption::kError), S("シナリオが長すぎます。"));
    }
}

} // namespace orv
