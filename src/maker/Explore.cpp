#include "maker/Explore.h"

#include "interp/Engine.h"
#include "interp/EngineRun.h"
#include "maker/SourceLines.h"
#include "persist/PlayerFiles.h"
#include "platform/headless/HeadlessPlatform.h"
#include "script/LabelTable.h"
#include "script/ScenarioLoader.h"
#include "util/escape.h"
#include "util/gamefs.h"
#include "util/sjis.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace orv {

namespace fs = std::filesystem;

namespace {

// Each play draws from its own generator, so a play's picks depend on the seed and its number
// only.
uint64_t splitMix(uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

struct PlayResult {
    int status = 0;
    std::string why; // the ExitRequest's line
    std::string box; // what the scenario error's message box said
    int32_t lastStatement = -1;
    std::vector<ScriptEvent> events;
};

struct ScenarioError {
    std::string box;
    uint64_t firstPlay = 0;
    uint64_t plays = 0;
    std::string file; // the events file written for it
};

// A folder of its own for the player's files, emptied before every play so that no play sees
// what an earlier one kept (and an events file replays from the same empty folder).
class ScratchFolder {
public:
    ScratchFolder() {
        // In memory where there is such a folder: the engine syncs each file it keeps to the disk,
        // once a play at least.
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "orvane-explore-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data())) path_ = made;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }
    void empty() const {
        std::error_code ec;
        for (const fs::directory_entry& e : fs::directory_iterator(path_, ec))
            fs::remove_all(e.path(), ec);
    }

private:
    fs::path path_;
};

class Explorer {
public:
    Explorer(const ExploreOptions& options, const ScriptBuffer& scenario)
        : options_(options), scenario_(scenario), lines_(scenario) {
        trace_.hit.assign(size_t(scenario.length()) + 1, 0);
    }

    bool ready(std::ostream& err) const {
        if (saves_.path().empty()) {
            err << "orvane: --explore: cannot make a temporary folder for the player's files\n";
            return false;
        }
        return true;
    }

    PlayResult play(uint64_t number) {
        saves_.empty();
        uint64_t state = splitMix(options_.seed ^ splitMix(number));
        Engine* current = nullptr;
        std::ostringstream log;
        HeadlessOptions headless;
        headless.maxTimeMs = options_.maxTimeMs;
        headless.log = &log;
        headless.player = [&](std::vector<ScriptEvent>& script) {
            // Only the box of the error that ends the play tells it apart, not a mesbox before.
            log.str("");
            ScriptEvent click;
            click.kind = ScriptEventKind::Click;
            click.line = int(script.size()) + 1;
            const auto& points = current->shell.pickPoints;
            if (!points.empty()) {
                state = splitMix(state);
                const auto& [x, y] = points[size_t(state % points.size())];
                click.hasPosition = true;
                click.x = x;
                click.y = y;
            }
            script.push_back(click);
        };
        HeadlessPlatform platform(headless, {}, std::move(frame_));
        PlayResult result;
        {
            Engine engine(platform, options_.gameDir);
            current = &engine;
            engine.persist.files = PlayerFiles(saves_.path());
            // Nobody keeps a play's files: no waiting for the disk. Pictures and sounds taken
            // out of archives land beside them and go with them.
            engine.persist.files.durable = false;
            engine.tempDirectory = saves_.path();
            engine.interp.statementLimit = options_.maxSteps;
            engine.interp.trace = &trace_;
            engine.graphics.unwatched = true;
            engine.shell.listPicks = true;
            trace_.last = -1;
            try {
                runEngine(engine);
            } catch (const ExitRequest& exit) {
                result.status = exit.status;
                result.why = exit.message;
            }
        }
        result.box = log.str();
        result.lastStatement = trace_.last;
        result.events = platform.script();
        frame_ = std::move(platform.window());
        return result;
    }

    const StatementTrace& trace() const { return trace_; }
    StatementTrace& trace() { return trace_; }
    const fs::path& scratch() const { return saves_.path(); }
    const SourceLines& lines() const { return lines_; }
    const ScriptBuffer& scenario() const { return scenario_; }

private:
    const ExploreOptions& options_;
    const ScriptBuffer& scenario_;
    SourceLines lines_;
    StatementTrace trace_;
    ScratchFolder saves_;
    // What one play leaves for the next: the window's buffer.
    FrameBuffer frame_;
};

std::string placeText(const SourceLines& lines, int32_t pos) {
    const SourcePlace p = lines.place(pos);
    return p.file + ":" + std::to_string(p.line);
}

// How a play that ended normally ended: the statement at the last offset ("end at 0.txt:12").
std::string endingOf(const Explorer& ex, int32_t pos) {
    if (pos < 0) return "ended before any statement";
    std::string_view text = ex.scenario().text().substr(size_t(pos));
    std::string word;
    for (char c : text) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_')) break;
        word += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    return (word.empty() ? std::string("ended") : word) + " at " + placeText(ex.lines(), pos);
}

// The error box in one line: "[caption] text (0.txt line:12)".
std::string boxSummary(const std::string& box) {
    const size_t gap = box.find("\n\n");
    if (gap == std::string::npos) return box.substr(0, box.find('\n'));
    const size_t end = box.find('\n', gap + 2);
    return box.substr(0, gap) + " (" + box.substr(gap + 2, end - gap - 2) + ")";
}

bool writeEvents(const fs::path& path, const std::vector<ScriptEvent>& events,
                 const std::string& comment) {
    std::ofstream out(path);
    out << comment;
    for (const ScriptEvent& ev : events) out << formatEvent(ev) << '\n';
    out.close();
    return bool(out);
}

struct LabelPlace {
    std::string name;
    int32_t linePos; // the '*'
    int32_t pos;     // where a jump lands
};

// The labels as the label table finds them.
std::vector<LabelPlace> labelsOf(const ScriptBuffer& scenario) {
    std::vector<LabelPlace> out;
    const char* t = scenario.data();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    auto wordChar = [](char c, bool first) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
               (!first && c >= '0' && c <= '9');
    };
    int32_t pos = 0;
    for (;;) {
        const char c = t[pos];
        if (c == '\0') break;
        if (blank(c) || c == '\n') {
            ++pos;
            continue;
        }
        if (c != '*') {
            while (t[pos] != '\n' && t[pos] != '\0') ++pos;
            continue;
        }
        const int32_t at = pos++;
        while (blank(t[pos])) ++pos;
        std::string name;
        for (bool first = true; wordChar(t[pos], first); first = false) name += t[pos++];
        foldLower(name);
        while (blank(t[pos])) ++pos;
        if (t[pos] == '\n') ++pos;
        out.push_back({name, at, pos});
        while (t[pos] != '\n' && t[pos] != '\0') ++pos;
    }
    return out;
}

// "3-5, 9": the 1-based line numbers in runs.
std::string lineRuns(const std::vector<int>& numbers) {
    std::string out;
    for (size_t i = 0; i < numbers.size();) {
        size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
        if (!out.empty()) out += ", ";
        out += std::to_string(numbers[i]);
        if (j > i) out += "-" + std::to_string(numbers[j]);
        i = j + 1;
    }
    return out;
}

std::string percent(size_t part, size_t whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%",
                  whole ? 100.0 * double(part) / double(whole) : 100.0);
    return text;
}

void reportCoverage(const Explorer& ex, std::ostream& out) {
    const SourceLines& lines = ex.lines();
    const char* t = ex.scenario().data();
    const std::vector<uint8_t>& hit = ex.trace().hit;
    const int32_t length = ex.scenario().length();
    struct FileCount {
        size_t code = 0, reached = 0;
        std::vector<int> missed;
    };
    std::vector<FileCount> files(lines.files().size());
    size_t code = 0, reached = 0;
    // A line after one that ends in a comma goes on with that statement (a choice list over two
    // lines): it runs when that one does.
    bool continues = false;
    bool lastReached = false;
    for (int i = 0; i < lines.lineCount(); ++i) {
        const int32_t start = lines.lineStart(i);
        const int32_t end = i + 1 < lines.lineCount() ? lines.lineStart(i + 1) : length;
        int32_t first = start;
        while (first < end && (t[first] == ' ' || t[first] == '\t')) ++first;
        if (first >= end || t[first] == '\n' || t[first] == ';' || t[first] == '*' ||
            t[first] == '\0')
            continue;
        const size_t f = lines.fileOfLine(i);
        bool wasHit = continues && lastReached;
        for (int32_t p = start; p < end && !wasHit; ++p) wasHit = hit[size_t(p)] != 0;
        int32_t last = end - 1;
        while (last > first && (t[last] == '\n' || t[last] == ' ' || t[last] == '\t')) --last;
        continues = t[last] == ',';
        lastReached = wasHit;
        ++files[f].code;
        ++code;
        if (wasHit) {
            ++files[f].reached;
            ++reached;
        } else {
            files[f].missed.push_back(i - lines.files()[f].firstLine + 1);
        }
    }
    const std::vector<LabelPlace> labels = labelsOf(ex.scenario());
    std::vector<std::string> unreached;
    for (const LabelPlace& l : labels)
        if (!hit[size_t(l.linePos)] && !hit[size_t(l.pos)])
            unreached.push_back("*" + escapeControls(l.name) + " (" + placeText(lines, l.linePos) +
                                ")");
    out << "coverage: " << reached << " of " << code << " lines (" << percent(reached, code)
        << "), " << labels.size() - unreached.size() << " of " << labels.size() << " labels\n";
    for (size_t f = 0; f < files.size(); ++f) {
        if (files[f].code == 0) continue;
        out << "  " << lines.files()[f].name << ": " << files[f].reached << " of " << files[f].code
            << " lines";
        if (!files[f].missed.empty()) out << "; not reached: " << lineRuns(files[f].missed);
        out << "\n";
    }
    out << "labels never reached:";
    if (unreached.empty()) out << " none";
    out << "\n";
    for (const std::string& l : unreached) out << "  " << l << "\n";
}

// The plays' results, taken in the order of the plays whichever process made them.
class Tally {
public:
    Tally(const ExploreOptions& options, std::ostream& err) : options_(options), err_(err) {}

    struct Totals {
        std::map<int32_t, uint64_t> endings; // by the offset of the last statement
        std::map<int, uint64_t> stopped;     // by status
        std::map<int, std::string> stoppedWhy;
        std::vector<ScenarioError> errors;
    };

    // False when the play could not start at all (said on err).
    bool add(uint64_t n, const PlayResult& play) {
        if (play.status == 0) {
            ++t_.endings[play.lastStatement];
        } else if (play.status == 2) {
            auto same = std::find_if(t_.errors.begin(), t_.errors.end(),
                                     [&](const ScenarioError& e) { return e.box == play.box; });
            if (same != t_.errors.end()) {
                ++same->plays;
                return true;
            }
            const std::string name =
                "explore-error-" + std::to_string(t_.errors.size() + 1) + ".events";
            const fs::path file =
                options_.outDir == "." ? fs::path(name) : fs::path(options_.outDir) / name;
            const std::string comment =
                "# play " + std::to_string(n) + " of --explore --seed " +
                std::to_string(options_.seed) + ": " + boxSummary(play.box) +
                "\n# replay: orvane --headless --events FILE --save-dir EMPTY_FOLDER GAME_DIR\n";
            ScenarioError e{play.box, n, 1, ""};
            e.file = writeEvents(file, play.events, comment) ? file.string() : "";
            if (e.file.empty())
                err_ << "orvane: cannot write " << escapeControls(file.string()) << "\n";
            t_.errors.push_back(std::move(e));
        } else if (play.status == 1) {
            err_ << "orvane: " << escapeControls(play.why.empty() ? play.box : play.why) << "\n";
            return false;
        } else if (!t_.stopped[play.status]++) {
            t_.stoppedWhy[play.status] = play.why;
        }
        return true;
    }

    const Totals& totals() const { return t_; }

private:
    const ExploreOptions& options_;
    std::ostream& err_;
    Totals t_;
};

} // namespace

// A worker's results, written to a file for the parent: per play its number, status, last
// statement, the two texts and, for a scenario error, the clicks; then the coverage marks.
void putNumber(std::string& out, uint64_t v) {
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}
void putText(std::string& out, const std::string& s) {
    putNumber(out, s.size());
    out += s;
}

class Reader {
public:
    explicit Reader(std::string bytes) : bytes_(std::move(bytes)) {}
    bool more() const { return at_ < bytes_.size(); }
    uint64_t number() {
        uint64_t v = 0;
        if (at_ + sizeof v <= bytes_.size()) std::memcpy(&v, bytes_.data() + at_, sizeof v);
        at_ += sizeof v;
        return v;
    }
    std::string text() {
        const uint64_t n =
            std::min<uint64_t>(number(), bytes_.size() - std::min(at_, bytes_.size()));
        std::string s = bytes_.substr(std::min(at_, bytes_.size()), size_t(n));
        at_ += size_t(n);
        return s;
    }

private:
    std::string bytes_;
    size_t at_ = 0;
};

std::string serialise(uint64_t n, const PlayResult& play) {
    std::string out;
    putNumber(out, n);
    putNumber(out, uint64_t(int64_t(play.status)));
    putNumber(out, uint64_t(int64_t(play.lastStatement)));
    putText(out, play.why);
    putText(out, play.box);
    putNumber(out, play.events.size());
    for (const ScriptEvent& ev : play.events) putText(out, formatEvent(ev));
    return out;
}

PlayResult deserialise(Reader& in, uint64_t& n) {
    PlayResult play;
    n = in.number();
    play.status = int(int64_t(in.number()));
    play.lastStatement = int32_t(int64_t(in.number()));
    play.why = in.text();
    play.box = in.text();
    const uint64_t events = in.number();
    std::string lines;
    for (uint64_t i = 0; i < events && in.more(); ++i) lines += in.text() + "\n";
    std::string error;
    parseEventScript(lines, play.events, error);
    return play;
}

// -j: worker k of J makes plays k+1, k+1+J, ... in a process of its own. Each play depends on
// the seed and its number only, so the report is the one a single process gives.
bool playInWorkers(const ExploreOptions& options, Explorer& parent, Tally& tally,
                   std::ostream& err) {
    const uint64_t jobs = std::min<uint64_t>(options.jobs, options.plays);
    const fs::path folder = parent.scratch();
    std::vector<pid_t> workers;
    for (uint64_t k = 0; k < jobs; ++k) {
        const pid_t pid = fork();
        if (pid < 0) {
            err << "orvane: --explore: cannot start a worker process\n";
            break;
        }
        if (pid == 0) {
            // Nothing may unwind out of a worker into the parent's work.
            int status = 1;
            try {
                Explorer explorer(options, parent.scenario());
                std::string plays;
                for (uint64_t n = k + 1; n <= options.plays && explorer.ready(err); n += jobs) {
                    PlayResult play = explorer.play(n);
                    if (play.status != 2) play.events.clear();
                    plays += serialise(n, play);
                    if (play.status == 1) break;
                }
                // The coverage marks first, then the plays.
                std::string out;
                const std::vector<uint8_t>& hit = explorer.trace().hit;
                putText(out, std::string(hit.begin(), hit.end()));
                out += plays;
                std::ofstream file(folder / ("worker-" + std::to_string(k)), std::ios::binary);
                file << out;
                file.close();
                status = file && explorer.ready(err) ? 0 : 1;
            } catch (...) {
                status = 1;
            }
            std::_Exit(status);
        }
        workers.push_back(pid);
    }
    bool ok = workers.size() == jobs;
    for (pid_t pid : workers) {
        int status = 0;
        if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ok = false;
    }
    if (!ok) {
        err << "orvane: --explore: a worker process failed\n";
        return false;
    }
    std::vector<std::pair<uint64_t, PlayResult>> plays;
    std::vector<uint8_t>& hit = parent.trace().hit;
    for (uint64_t k = 0; k < jobs; ++k) {
        std::ifstream file(folder / ("worker-" + std::to_string(k)), std::ios::binary);
        Reader in(std::string(std::istreambuf_iterator<char>(file), {}));
        const std::string marks = in.text();
        for (size_t i = 0; i < std::min(marks.size(), hit.size()); ++i)
            if (marks[i]) hit[i] = 1;
        while (in.more()) {
            uint64_t n = 0;
            PlayResult play = deserialise(in, n);
            plays.emplace_back(n, std::move(play));
        }
    }
    std::sort(plays.begin(), plays.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [n, play] : plays)
        if (!tally.add(n, play)) return false;
    return true;
}

int runExplore(const ExploreOptions& options, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(options.gameDir, ec)) {
        err << "orvane: game folder not found: " << escapeControls(options.gameDir) << "\n";
        return 1;
    }
    ScriptBuffer scenario;
    ScenarioFileNotes notes;
    loadScenarioFiles(GameFs(options.gameDir), scenario, &notes);
    if (!notes.found) {
        err << "orvane: no scenario in " << escapeControls(options.gameDir) << "\n";
        return 1;
    }
    // Every play allocates the engine's screens afresh: kept in the heap rather than given back to
    // the system, the memory of one play serves the next without faulting its pages in again.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    Explorer explorer(options, scenario);
    if (!explorer.ready(err)) return 1;

    Tally tally(options, err);
    if (options.jobs <= 1) {
        for (uint64_t n = 1; n <= options.plays; ++n)
            if (!tally.add(n, explorer.play(n))) return 1;
    } else if (!playInWorkers(options, explorer, tally, err)) {
        return 1;
    }

    const auto& [endings, stopped, stoppedWhy, errors] = tally.totals();
    uint64_t ended = 0;
    for (const auto& [how, count] : endings) ended += count;
    out << "explore: " << options.plays << " plays of " << escapeControls(options.gameDir)
        << " (seed " << options.seed << ", at most " << options.maxSteps << " statements a play)\n";
    out << "ended normally: " << ended << "\n";
    for (const auto& [pos, count] : endings)
        out << "  " << count << "  " << endingOf(explorer, pos) << "\n";
    for (const auto& [status, count] : stopped)
        out << "stopped: " << count << "  " << escapeControls(stoppedWhy.at(status)) << "\n";
    out << "scenario errors: " << errors.size() << "\n";
    for (const ScenarioError& e : errors)
        out << "  " << (e.file.empty() ? "(not written)" : e.file) << "  first in play "
            << e.firstPlay << ", " << e.plays << (e.plays == 1 ? " play" : " plays") << ": "
            << escapeControls(boxSummary(e.box)) << "\n";
    reportCoverage(explorer, out);
    out.flush();
    return errors.empty() ? 0 : 2;
}

} // namespace orv
