#include "script/ScenarioLoader.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/ScrambleKeys.h"
#include "shell/Shutdown.h"
#include "util/gamefs.h"
#include "util/sjis.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace orv {

namespace {

// Appends raw as textModeTranslate gives it, copying the runs between CR LF pairs whole: a
// scenario is megabytes, and byte by byte this was most of its load.
void appendTextMode(std::string& out, std::string_view raw) {
    raw = raw.substr(0, raw.find('\x1a'));
    out.reserve(out.size() + raw.size());
    for (size_t from = 0; from < raw.size();) {
        const size_t cr = raw.find("\r\n", from);
        if (cr == std::string_view::npos) {
            out.append(raw.substr(from));
            break;
        }
        out.append(raw.substr(from, cr - from));
        from = cr + 1; // the LF stays
    }
}

} // namespace

std::string textModeTranslate(std::string_view raw) {
    std::string out;
    appendTextMode(out, raw);
    return out;
}

namespace {

// The bytes of a scenario file that exists, at most maxBytes of them; nullopt
// (with the reason in the notes) when it cannot be read.
std::optional<std::string> readScenarioFile(const GameFs& fs, const std::filesystem::path& path,
                                            size_t maxBytes, ScenarioFileNotes* notes) {
    std::string error;
    std::optional<std::string> bytes;
    if (!fs.contains(path))
        error = "it lies outside the game folder";
    else
        bytes = readFilePrefix(path, maxBytes, &error);
    if (!bytes && notes) notes->unreadable = path.string() + ": " + error;
    return bytes;
}

// Notes the first NUL byte of a file's text.
void noteNul(std::string_view text, const std::filesystem::path& path, ScenarioFileNotes* notes) {
    if (!notes || !notes->nulFile.empty()) return;
    size_t at = text.find('\0');
    if (at == std::string_view::npos) return;
    notes->nulFile = path.string();
    notes->nulLine = int32_t(1 + std::count(text.begin(), text.begin() + ptrdiff_t(at), '\n'));
}

} // namespace

bool joinNumberedFiles(const GameFs& fs, std::string& out,
                       std::array<int32_t, kScenarioFileCount>& fileEnds,
                       ScenarioFileNotes* notes) {
    out.clear();
    fileEnds.fill(kMissingFileEnd);
    const std::vector<std::optional<std::filesystem::path>> paths =
        fs.findNumberedEntriesInRoot(kScenarioFileCount, ".txt");
    for (int n = 0; n < kScenarioFileCount; ++n) {
        const std::optional<std::filesystem::path>& path = paths[size_t(n)];
        if (!path) continue;
        if (notes) notes->found = true;
        // Room is always left for the LF and the terminator.
        size_t room = size_t(kScriptCapacity - 1) - out.size();
        // CR LF pairs shrink in translation: twice the room (and one byte for a
        // pair cut in half) always yields the room's worth of text.
        std::optional<std::string> raw = readScenarioFile(fs, *path, 2 * room + 2, notes);
        if (!raw) {
            if (notes) return true;
            continue;
        }
        const size_t start = out.size();
        appendTextMode(out, *raw);
        out.resize(start + std::min(room, out.size() - start));
        noteNul(std::string_view(out).substr(start), *path, notes);
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

bool loadScenarioFiles(const GameFs& fs, ScriptBuffer& buffer, ScenarioFileNotes* notes) {
    buffer.clear();
    if (!fs.findEntry("0.txt")) {
        for (ScenarioSource source : {ScenarioSource::SecScrambled, ScenarioSource::Scrambled}) {
            std::string_view name =
                source == ScenarioSource::SecScrambled ? kSecScrambledName : kScrambledName;
            std::optional<std::filesystem::path> path = fs.findEntry(name);
            if (!path) continue;
            if (notes) notes->found = true;
            std::optional<std::string> bytes =
                readScenarioFile(fs, *path, size_t(kScriptCapacity - 1), notes);
            if (!bytes) {
                // Present but unreadable: an empty scenario, unless the caller reports it.
                buffer.assign(std::string(), source);
                return true;
            }
            scramble(*bytes, source);
            noteNul(*bytes, *path, notes);
            bytes->push_back('\n');
            bool fits = bytes->size() < size_t(kScriptCapacity);
            buffer.assign(std::move(*bytes), source);
            return fits;
        }
    }
    std::string text;
    std::array<int32_t, kScenarioFileCount> ends{};
    bool fits = joinNumberedFiles(fs, text, ends, notes);
    buffer.assign(std::move(text), ScenarioSource::Numbered);
    buffer.fileEnds() = ends;
    return fits;
}

void loadScenario(Engine& engine) {
    ScriptState& script = engine.script;
    std::ostream& notices = script.notices ? *script.notices : std::cerr;
    script.pos = 0;
    ScenarioFileNotes notes;
    bool fits = loadScenarioFiles(engine.fs, script.buffer, &notes);
    if (!notes.unreadable.empty()) {
        notices << "orvane: cannot read the scenario file " << notes.unreadable << "\n";
        shutDown(engine, 1);
    }
    if (!notes.found) {
        notices << "orvane: no scenario found in " << engine.fs.root().string()
                << " (looked for 0.txt to 99.txt, " << kSecScrambledName << " and "
                << kScrambledName << ")\n";
        shutDown(engine, 1);
    }
    if (!notes.nulFile.empty())
        notices << "orvane: warning: " << notes.nulFile << " holds a NUL byte at line "
                << notes.nulLine << "; the scenario ends there\n";
    if (!fits) {
        // Point the report at the end of the file that overflowed.
        script.pos = script.buffer.length() - 1;
        reportError(engine, S(caption::kError), S("シナリオが長すぎます。"));
    }
}

} // namespace orv
