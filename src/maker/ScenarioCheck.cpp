#include "maker/ScenarioCheck.h"

#include "graphics/ImageTag.h"
#include "interp/CommandArgs.h"
#include "interp/CommandTable.h"
#include "maker/ArchiveNames.h"
#include "maker/SourceLines.h"
#include "script/LabelTable.h"
#include "script/ScenarioLoader.h"
#include "script/ScriptBuffer.h"
#include "text/TextState.h"
#include "util/escape.h"
#include "util/gamefs.h"
#include "util/sjis.h"

#include <algorithm>
#include <ostream>
#include <unordered_map>
#include <unordered_set>

namespace orv {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlankByte(char c) {
    return c == ' ' || c == '\t';
}

// Whether a line of Shift-JIS is well formed: lead bytes followed by a trail byte, and none of
// the bytes that are never a character.
bool validShiftJis(std::string_view s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const auto b = uint8_t(s[i]);
        if (b < 0x80 || (b >= 0xa1 && b <= 0xdf)) continue;
        if (!sjis::isLeadByte(b) || i + 1 >= s.size()) return false;
        const auto t = uint8_t(s[++i]);
        if (t < 0x40 || t == 0x7f || t > 0xfc) return false;
    }
    return true;
}

// Well-formed UTF-8 holding at least one character beyond ASCII: how a scenario saved by an
// editor in UTF-8 looks (Shift-JIS text almost never passes this).
bool looksLikeUtf8(std::string_view s) {
    bool wide = false;
    for (size_t i = 0; i < s.size();) {
        const auto b = uint8_t(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const size_t n = b >= 0xf0 && b <= 0xf4 ? 4 : b >= 0xe0 ? 3 : b >= 0xc2 && b < 0xe0 ? 2 : 0;
        if (n == 0 || (b >= 0xe0 && n == 3 && b > 0xef) || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((uint8_t(s[i + k]) & 0xc0) != 0x80) return false;
        wide = true;
        i += n;
    }
    return wide;
}

std::string kindName(ArgKind kind) {
    switch (kind) {
    case ArgKind::Picture:
        return "picture";
    case ArgKind::Sound:
        return "sound";
    case ArgKind::Video:
        return "video";
    case ArgKind::Archive:
        return "archive";
    case ArgKind::Cursor:
        return "cursor";
    default:
        return "file";
    }
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The name as a path below the game folder, spelled as written: '/' between folders, no drive,
// no leading separator, no "." folders.
std::string writtenPath(std::string_view sjisName) {
    std::string name = sjis::toUtf8(sjisName);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.size() >= 2 && name[1] == ':') name.erase(0, 2);
    std::string out;
    size_t i = 0;
    while (i <= name.size()) {
        size_t slash = name.find('/', i);
        if (slash == std::string::npos) slash = name.size();
        std::string_view part(name.data() + i, slash - i);
        if (!part.empty() && part != ".") {
            if (!out.empty()) out += '/';
            out += part;
        }
        i = slash + 1;
    }
    return out;
}

class Checker {
public:
    Checker(const ScriptBuffer& buffer, const GameFs& fs)
        : buffer_(buffer), t_(buffer.data()), fs_(fs), lines_(buffer) {}

    std::vector<Finding> run() {
        checkEncoding();
        scanLabels();
        scanStatements();
        resolveLabels();
        resolveFiles();
        std::stable_sort(found_.begin(), found_.end(),
                         [](const Placed& a, const Placed& b) { return a.pos < b.pos; });
        std::vector<Finding> out;
        out.reserve(found_.size());
        for (Placed& p : found_) out.push_back(std::move(p.finding));
        return out;
    }

private:
    struct Placed {
        int32_t pos;
        Finding finding;
    };
    struct Label {
        std::string name;
        int32_t linePos = 0; // the '*'
        bool fallsInto = false;
        bool afterLabel = false; // only blank, comment or label lines since the label before
    };
    struct LabelUse {
        std::string name; // lower case
        std::string written;
        int32_t pos;
    };
    struct FileUse {
        ArgKind kind;
        std::string name; // Shift-JIS, the file name alone (a picture's tag left out)
        int32_t pos;
    };
    struct FileLookup {
        bool found = false;
        std::string onDisk; // the path below the game folder, when found
    };

    void add(int32_t pos, Severity severity, std::string code, std::string message) {
        SourcePlace place = lines_.place(pos);
        found_.push_back(
            {pos,
             {severity, std::move(code), std::move(place.file), place.line, std::move(message)}});
    }
    void error(int32_t pos, std::string code, std::string message) {
        add(pos, Severity::Error, std::move(code), std::move(message));
    }
    void warning(int32_t pos, std::string code, std::string message) {
        add(pos, Severity::Warning, std::move(code), std::move(message));
    }

    static std::string utf8(std::string_view sjisText) {
        return escapeControls(sjis::toUtf8(sjisText));
    }

    int32_t lineEnd(int32_t pos) const {
        while (t_[pos] != '\n' && t_[pos] != '\0') ++pos;
        return pos;
    }
    void skipBlanks() {
        while (isBlankByte(t_[pos_])) ++pos_;
    }

    // Lower-cased like readWord: a letter or '_' first, then digits too.
    std::string readWord() {
        skipBlanks();
        std::string word;
        if (!isLetter(t_[pos_])) return word;
        while (isLetter(t_[pos_]) || isDigit(t_[pos_])) {
            char c = t_[pos_++];
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
            word += c;
        }
        return word;
    }

    // ---- the encoding, file by file
    void checkEncoding() {
        for (const SourceLines::File& file : lines_.files()) {
            std::string_view text = buffer_.text().substr(
                size_t(file.start), size_t(std::max(0, file.end - file.start)));
            if (looksLikeUtf8(text)) {
                int32_t first = file.start;
                for (size_t i = 0; i < text.size(); ++i)
                    if (uint8_t(text[i]) >= 0x80) {
                        first = file.start + int32_t(i);
                        break;
                    }
                error(first, "not-shift-jis",
                      "bytes that are not valid Shift-JIS: the file is saved as UTF-8; save it as "
                      "Shift-JIS");
                continue;
            }
            size_t from = 0;
            while (from < text.size()) {
                size_t end = text.find('\n', from);
                if (end == std::string_view::npos) end = text.size();
                if (!validShiftJis(text.substr(from, end - from)))
                    error(file.start + int32_t(from), "not-shift-jis",
                          "bytes that are not valid Shift-JIS");
                from = end + 1;
            }
        }
    }

    // ---- labels, exactly as the label table is built
    void scanLabels() {
        pos_ = 0;
        for (;;) {
            const char c = t_[pos_];
            if (c == '\0') break;
            if (c == ' ' || c == '\t' || c == '\n') {
                ++pos_;
            } else if (c == '*') {
                const int32_t at = pos_++;
                std::string name = readWord();
                if (auto it = index_.find(name); it != index_.end()) {
                    const SourcePlace first = lines_.place(labels_[it->second].linePos);
                    error(at, "duplicate-label",
                          "label *" + utf8(name) + " is defined twice (first at " + first.file +
                              ":" + std::to_string(first.line) +
                              "): the engine stops before the game starts");
                } else if (labels_.size() == kMaxLabels) {
                    error(at, "too-many-labels", "more than 5000 labels: the engine stops here");
                } else {
                    index_.emplace(name, labels_.size());
                    labels_.push_back({name, at, false});
                }
                pos_ = lineEnd(pos_);
            } else {
                pos_ = lineEnd(pos_);
            }
        }
    }

    // ---- statements, in the order the statement loop meets them
    void scanStatements() {
        pos_ = 0;
        bool lineStart = true;
        for (;;) {
            const char c = t_[pos_];
            if (c == '\0') break;
            if (c == '\n') {
                ++pos_;
                lineStart = true;
                if (conditionalLine_) flowEnded_ = false;
                conditionalLine_ = false;
                continue;
            }
            if (isBlankByte(c) || c == ':') {
                ++pos_;
                continue;
            }
            if (c == '*' && lineStart) {
                labelLine();
            } else if (c == '*' || c == ';') {
                pos_ = lineEnd(pos_);
            } else if (isLetter(c)) {
                statement();
            } else {
                displayLine();
            }
            lineStart = false;
        }
    }

    void labelLine() {
        const int32_t at = pos_++;
        const std::string name = readWord();
        if (auto it = index_.find(name); it != index_.end() && labels_[it->second].linePos == at) {
            labels_[it->second].fallsInto = !flowEnded_;
            labels_[it->second].afterLabel = afterLabel_;
        }
        afterLabel_ = true;
        if (name == "define") inDefinition_ = true;
        pageLines_ = 0;
        column_ = 0;
        overflowTold_ = false;
        pos_ = lineEnd(pos_);
    }

    void statement() {
        afterLabel_ = false;
        const int32_t at = pos_;
        const std::string word = readWord();
        const BlockMode mode = inDefinition_ ? BlockMode::Definition : BlockMode::Game;
        pageLines_ = 0;
        column_ = 0;
        overflowTold_ = false;
        if (!findCommand(word, mode)) {
            const BlockMode other = inDefinition_ ? BlockMode::Game : BlockMode::Definition;
            if (findCommand(word, other))
                error(at, "wrong-block",
                      "'" + word + "' belongs to the " +
                          (inDefinition_ ? "game block, not the definition block"
                                         : "definition block, not the game block"));
            else
                error(at, "unknown-command", "unknown command '" + utf8(word) + "'");
            pos_ = lineEnd(pos_);
            return;
        }
        const CommandArgs* args = commandArgs(word);
        if (args && args->conditional) {
            condition();
            conditionalLine_ = true;
            skipBlanks();
            if (isLetter(t_[pos_])) statement();
            return;
        }
        arguments(args);
        flowEnded_ = args && args->endsFlow;
        if (word == "game" && inDefinition_) inDefinition_ = false;
    }

    // A condition chain of if / notif: "fchk" and a string, or two numbers around an operator.
    void condition() {
        for (;;) {
            skipBlanks();
            const int32_t save = pos_;
            if (readWord() == "fchk") {
                argument(ArgKind::Other);
            } else {
                pos_ = save;
                argument(ArgKind::Other);
                skipBlanks();
                for (int k = 0; k < 2 && (t_[pos_] == '=' || t_[pos_] == '!' || t_[pos_] == '<' ||
                                          t_[pos_] == '>');
                     ++k)
                    ++pos_;
                argument(ArgKind::Other);
            }
            skipBlanks();
            if (t_[pos_] != '&') return;
            ++pos_;
            if (t_[pos_] == '&') ++pos_;
        }
    }

    void arguments(const CommandArgs* args) {
        for (size_t index = 0;; ++index) {
            skipBlanks();
            const char c = t_[pos_];
            if (c == '\n' || c == '\0' || c == ':' || c == ';') return;
            if (!argument(argKind(args, index))) return;
            skipBlanks();
            if (t_[pos_] != ',') return;
            ++pos_;
            while (isBlankByte(t_[pos_]) || t_[pos_] == '\n') ++pos_;
        }
    }

    // One argument token; false when the rest of the line cannot be read.
    bool argument(ArgKind kind) {
        skipBlanks();
        const int32_t at = pos_;
        const char c = t_[pos_];
        if (c == '"') {
            int32_t end = pos_ + 1;
            while (t_[end] != '"' && t_[end] != '\n' && t_[end] != '\0') ++end;
            if (t_[end] != '"') {
                error(end, "unclosed-string", "string without its closing quote");
                pos_ = end;
                return false;
            }
            std::string_view text(t_ + pos_ + 1, size_t(end - pos_ - 1));
            pos_ = end + 1;
            literal(kind, text, at);
            return true;
        }
        if (c == '*') {
            ++pos_;
            const std::string name = readWord();
            if (kind == ArgKind::Label) uses_.push_back({name, name, at});
            named_.insert(name);
            return true;
        }
        if (c == '$' || c == '%') {
            while (t_[pos_] == '$' || t_[pos_] == '%') ++pos_;
            return argument(ArgKind::Other);
        }
        if (c == '#') {
            for (int k = 0; k < 7 && t_[pos_] != '\n' && t_[pos_] != '\0'; ++k) ++pos_;
            return true;
        }
        if (c == '+' || c == '-' || isDigit(c)) {
            ++pos_;
            while (isDigit(t_[pos_])) ++pos_;
            return true;
        }
        if (isLetter(c)) {
            readWord();
            return true;
        }
        return false;
    }

    void literal(ArgKind kind, std::string_view text, int32_t at) {
        if (!text.empty() && text[0] == '*') {
            std::string name(text.substr(1));
            foldLower(name);
            if (kind == ArgKind::Label) uses_.push_back({name, std::string(text.substr(1)), at});
            named_.insert(std::move(name));
            return;
        }
        if (kind == ArgKind::Other || kind == ArgKind::Label || text.empty()) return;
        std::string name(text);
        if (kind == ArgKind::Picture) {
            ImageTag tag;
            if (parseImageTag(text, TransMode::LeftUp, tag) != ImageTagProblem::None) return;
            name = tag.fileName;
            if (name.empty()) return;
        }
        // "*N" names a CD track, not a file.
        if (kind == ArgKind::Sound && name.starts_with('*')) return;
        if (kind == ArgKind::Archive) {
            archives_.push_back(name);
            name.resize(std::min(name.size(), name.find('|')));
        }
        // Looked up once every archive the scenario registers is known.
        fileUses_.push_back({kind, std::move(name), at});
    }

    void resolveFiles() {
        const ArchiveNames archives(fs_, archives_);
        for (const FileUse& use : fileUses_) {
            const FileLookup& file = lookUp(use.name);
            const std::string written = writtenPath(use.name);
            if (!file.found) {
                if (!archives.contains(use.name))
                    error(use.pos, "missing-file",
                          kindName(use.kind) + " file '" + escapeControls(written) +
                              "' exists neither on disk nor in an archive");
            } else if (file.onDisk != written && equalIgnoringCase(file.onDisk, written)) {
                warning(use.pos, "file-case",
                        "'" + escapeControls(written) + "' is '" + escapeControls(file.onDisk) +
                            "' on disk: the letter case differs (found here, not inside an "
                            "archive)");
            }
        }
    }

    const FileLookup& lookUp(const std::string& name) {
        auto [it, fresh] = files_.try_emplace(name);
        if (fresh) {
            if (std::optional<std::filesystem::path> path = fs_.find(name)) {
                it->second.found = true;
                it->second.onDisk = path->lexically_relative(fs_.root()).generic_string();
            }
        }
        return it->second;
    }

    // A display line, walked as the text window walks it, for a '/' that is not last and for
    // text that runs out of the default window.
    void displayLine() {
        afterLabel_ = false;
        const int32_t at = pos_;
        const int32_t end = lineEnd(pos_);
        if (inDefinition_) {
            error(at, "wrong-block", "display text in the definition block");
            pos_ = end;
            return;
        }
        const TextWindow window;
        bool pageEnded = false;
        int32_t i = pos_;
        while (i < end) {
            const char c = t_[i];
            if (c == '$' || (c == '%' && !(i >= 2 && t_[i - 2] == '!'))) {
                pos_ = i;
                argument(ArgKind::Other);
                i = pos_;
                continue;
            }
            pageEnded = false;
            if (c == ' ' || c == '\t' || c == '>' || c == '@' || c == '_') {
                ++i;
            } else if (c == '!') {
                const char kind = t_[i + 1];
                i += kind == 'd' || kind == 'w' || kind == 's' ? 2 : 1;
                if (kind == 's' && t_[i] == 'd') ++i;
                while (isDigit(t_[i])) ++i;
            } else if (c == '#') {
                i = std::min(end, i + 7);
            } else if (c == '/') {
                if (i + 1 < end)
                    error(i, "slash-not-last", "'/' in display text must end the line");
                pos_ = end;
                return;
            } else if (c == '<' && isDigit(t_[i + 1])) {
                ++i;
                while (isDigit(t_[i])) ++i;
            } else if (c == '\\') {
                ++i;
                pageLines_ = 0;
                column_ = 0;
                overflowTold_ = false;
                pageEnded = true;
            } else {
                if (i + 1 >= end) break;
                if (pageLines_ >= window.lines && !overflowTold_) {
                    warning(at, "text-overflow",
                            "the text runs past the " + std::to_string(window.lines) +
                                " lines of the default text window (" +
                                std::to_string(window.charactersPerLine) +
                                " characters a line) without a page wait '\\'");
                    overflowTold_ = true;
                }
                i += 2;
                if (++column_ >= window.charactersPerLine) newLine();
            }
        }
        if (!pageEnded && column_ != 0) newLine();
        pos_ = end;
    }

    void newLine() {
        column_ = 0;
        ++pageLines_;
    }

    void resolveLabels() {
        for (const LabelUse& use : uses_)
            if (!index_.contains(use.name))
                error(use.pos, "missing-label", "label *" + utf8(use.written) + " does not exist");
        for (const char* required : {"define", "start"})
            if (!index_.contains(required))
                error(buffer_.length(), "missing-label",
                      std::string("label *") + required + " does not exist");
        // A label straight after a reached one is reached by running on into it.
        bool previousReached = false;
        for (const Label& label : labels_) {
            const bool reached = label.fallsInto || named_.contains(label.name) ||
                                 label.name == "define" || label.name == "start" ||
                                 (label.afterLabel && previousReached);
            previousReached = reached;
            if (reached) continue;
            warning(label.linePos, "dead-label",
                    "label *" + utf8(label.name) +
                        " is never jumped to and the text before it does not run on into it");
        }
    }

    const ScriptBuffer& buffer_;
    const char* t_;
    const GameFs& fs_;
    SourceLines lines_;
    int32_t pos_ = 0;
    std::vector<Placed> found_;
    std::vector<Label> labels_;
    std::unordered_map<std::string, size_t> index_;
    std::vector<LabelUse> uses_;
    std::unordered_set<std::string> named_;
    std::unordered_map<std::string, FileLookup> files_;
    std::vector<FileUse> fileUses_;
    std::vector<std::string> archives_;
    bool inDefinition_ = false;
    bool flowEnded_ = true; // nothing runs on into the first line of the scenario
    bool conditionalLine_ = false;
    bool afterLabel_ = false;
    int pageLines_ = 0;
    int column_ = 0;
    bool overflowTold_ = false;
};

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (uint8_t(c) < 0x20) {
                static const char* hex = "0123456789abcdef";
                out += "\\u00";
                out += hex[uint8_t(c) >> 4];
                out += hex[uint8_t(c) & 15];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

} // namespace

std::vector<Finding> checkScenario(const ScriptBuffer& buffer, const GameFs& fs) {
    return Checker(buffer, fs).run();
}

std::string formatFinding(const Finding& f, bool json) {
    const char* severity = f.severity == Severity::Error ? "error" : "warning";
    if (json)
        return "{\"file\":" + jsonString(f.file) + ",\"line\":" + std::to_string(f.line) +
               ",\"severity\":\"" + severity + "\",\"code\":\"" + f.code +
               "\",\"message\":" + jsonString(f.message) + "}";
    return f.file + ":" + std::to_string(f.line) + ": " + severity + ": " + f.message;
}

int runCheck(const std::string& gameDir, bool json, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!std::filesystem::is_directory(gameDir, ec)) {
        err << "orvane: game folder not found: " << escapeControls(gameDir) << "\n";
        return 1;
    }
    GameFs fs(gameDir);
    ScriptBuffer buffer;
    ScenarioFileNotes notes;
    const bool fits = loadScenarioFiles(fs, buffer, &notes);
    if (!notes.found) {
        err << "orvane: no scenario in " << escapeControls(gameDir)
            << " (0.txt ... 99.txt, orvane_sec.dat or orvane.dat)\n";
        return 1;
    }
    if (!notes.unreadable.empty()) {
        err << "orvane: " << escapeControls(notes.unreadable) << "\n";
        return 1;
    }
    std::vector<Finding> findings = checkScenario(buffer, fs);
    if (!fits) {
        SourceLines lines(buffer);
        SourcePlace place = lines.place(buffer.length());
        findings.push_back({Severity::Error, "too-long", place.file, place.line,
                            "the scenario is longer than the 5242880 bytes the engine holds"});
    }
    bool anyError = false;
    for (const Finding& f : findings) {
        out << formatFinding(f, json) << "\n";
        anyError = anyError || f.severity == Severity::Error;
    }
    out.flush();
    return anyError ? 2 : 0;
}

} // namespace orv
