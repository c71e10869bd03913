#include "app/Options.h"

#include <charconv>
#include <filesystem>
#include <string_view>

namespace orv {

namespace {

bool parseUnsigned(std::string_view s, uint64_t& out) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.string();
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    Options& o = result.options;
    bool gameDirGiven = false;
    bool scaleGiven = false;
    bool optionsEnded = false;

    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-' || arg == "-") {
            if (gameDirGiven) {
                result.error =
                    "only one game directory may be given (extra: '" + std::string(arg) + "')";
                return result;
            }
            o.gameDir = std::string(arg);
            if (o.gameDir.empty()) {
                result.error = "the game directory is empty";
                return result;
            }
            gameDirGiven = true;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }

        // --name=value and --name value are both accepted.
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (size_t eq = arg.find('='); eq != std::string_view::npos && arg.starts_with("--")) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        auto value = [&](std::string& out) -> bool {
            if (inlineValue) {
                out = std::string(*inlineValue);
            } else if (i + 1 < argc) {
                out = argv[++i];
            } else {
                result.error = "option " + std::string(name) + " needs a value";
                return false;
            }
            if (out.empty()) {
                result.error = "option " + std::string(name) + " needs a non-empty value";
                return false;
            }
            return true;
        };
        auto flag = [&](bool& out) -> bool {
            if (inlineValue) {
                result.error = "option " + std::string(name) + " takes no value";
                return false;
            }
            out = true;
            return true;
        };

        bool ok;
        if (name == "--help" || name == "-h") {
            ok = flag(o.help);
        } else if (name == "--version") {
            ok = flag(o.version);
        } else if (name == "--headless") {
            ok = flag(o.headless);
        } else if (name == "--auto-click") {
            ok = flag(o.autoClick);
        } else if (name == "--fullscreen") {
            ok = flag(o.fullscreen);
        } else if (name == "--events") {
            ok = value(o.eventsFile);
        } else if (name == "--transcript") {
            ok = value(o.transcriptFile);
        } else if (name == "--screenshot") {
            ok = value(o.screenshotFile);
            if (ok) o.screenshotFile = absolutePath(o.screenshotFile);
        } else if (name == "--save-dir") {
            ok = value(o.saveDir);
        } else if (name == "--sound-log") {
            ok = value(o.soundLogFile);
            if (ok) o.soundLogFile = absolutePath(o.soundLogFile);
        } else if (name == "--text-out") {
            ok = value(o.textOutFile);
            if (ok && o.textOutFile != "-") o.textOutFile = absolutePath(o.textOutFile);
        } else if (name == "--pack-scenario") {
            ok = value(o.packScenario);
        } else if (name == "--check") {
            ok = flag(o.check);
        } else if (name == "--json") {
            ok = flag(o.json);
        } else if (name == "-j" || name == "--jobs") {
            std::string text;
            uint64_t n = 0;
            ok = value(text);
            if (ok && (!parseUnsigned(text, n) || n == 0 || n > 64)) {
                result.error = "-j needs a number of processes from 1 to 64, not '" + text + "'";
                ok = false;
            }
            if (ok) o.jobs = n;
        } else if (name == "--explore" || name == "--seed") {
            std::string text;
            uint64_t n = 0;
            ok = value(text);
            const bool plays = name == "--explore";
            if (ok && (!parseUnsigned(text, n) || (plays && n == 0))) {
                result.error = std::string(name) + " needs " +
                               (plays ? "a number of plays" : "a whole number") + ", not '" + text +
                               "'";
                ok = false;
            }
            if (ok) (plays ? o.explore : o.seed) = n;
        } else if (name == "--max-time") {
            std::string text;
            uint64_t ms = 0;
            ok = value(text);
            if (ok && !parseUnsigned(text, ms)) {
                result.error = "--max-time needs a number of milliseconds, not '" + text + "'";
                ok = false;
            }
            if (ok) o.maxTimeMs = ms;
        } else if (name == "--max-steps") {
            std::string text;
            uint64_t n = 0;
            ok = value(text);
            if (ok && (!parseUnsigned(text, n) || n == 0)) {
                result.error = "--max-steps needs a number of statements, not '" + text + "'";
                ok = false;
            }
            if (ok) o.maxSteps = n;
        } else if (name == "--scale") {
            std::string text;
            uint64_t n = 0;
            ok = value(text);
            if (ok && (!parseUnsigned(text, n) || n < 1 || n > 8)) {
                result.error = "--scale needs a whole factor from 1 to 8, not '" + text + "'";
                ok = false;
            }
            if (ok) {
                o.scale = int(n);
                scaleGiven = true;
            }
        } else {
            result.error = "unknown option '" + std::string(name) + "'";
            ok = false;
        }
        if (!ok) return result;
    }

    if (o.help || o.version) return result;

    if (o.json && !o.check) {
        result.error = "--json needs --check";
        return result;
    }
    if ((o.seed || o.jobs) && !o.explore) {
        result.error = std::string(o.seed ? "--seed" : "-j") + " needs --explore";
        return result;
    }
    if (o.check && (o.headless || o.explore)) {
        result.error = "--check plays nothing: give it without --headless and --explore";
        return result;
    }
    if (o.explore && !o.headless) {
        result.error = "--explore needs --headless";
        return result;
    }
    if (o.explore && (!o.eventsFile.empty() || o.autoClick || !o.screenshotFile.empty() ||
                      !o.transcriptFile.empty() || !o.saveDir.empty())) {
        result.error = "--explore picks for the player and keeps no files: --events, "
                       "--auto-click, --transcript, --screenshot and --save-dir have no meaning "
                       "with it";
        return result;
    }

    // Options that belong to one backend are refused with the other rather
    // than ignored, so a mistyped test command fails loudly.
    if (!o.headless) {
        if (!o.eventsFile.empty())
            result.error = "--events needs --headless";
        else if (o.autoClick)
            result.error = "--auto-click needs --headless";
        else if (o.maxTimeMs)
            result.error = "--max-time needs --headless";
        else if (o.maxSteps)
            result.error = "--max-steps needs --headless";
    } else {
        if (scaleGiven)
            result.error = "--scale has no meaning with --headless";
        else if (o.fullscreen)
            result.error = "--fullscreen has no meaning with --headless";
    }
    return result;
}

std::string helpText() {
    return R"(Usage: orvane [OPTIONS] [GAME_DIR]
Run the game in GAME_DIR (default: the current directory).

Options:
  --headless           no window and no sound device; a virtual clock that
                       advances only when the engine sleeps or idles
  --events FILE        scripted player input (needs --headless), see below; a
                       file or a pipe of at most 64 MiB
  --auto-click         answer every wait for the player with a click when no
                       scripted event is pending (needs --headless)
  --transcript FILE    write the displayed text as UTF-8 ('-' = standard
                       output): "\n" at each line break, "\f" at each page end
  --screenshot FILE    at exit, write the window's 640x480 picture as PNG
  --max-time MS        end with status 4 once the virtual clock has advanced
                       MS milliseconds (needs --headless; default 600000)
  --max-steps N        end with status 4 once N statements have run; a
                       definereset counts 100000 (needs --headless;
                       default 100000000)
  --sound-log FILE     write one line per sound event: the clock in
                       milliseconds, then what started, stopped or ended
  --text-out FILE      write each finished page as one line of UTF-8 ('-' =
                       standard output), as it is shown
  --scale N            show the window N times its size, N from 1 to 8
  --fullscreen         start in desktop full screen
  --save-dir DIR       keep saves, global variables and settings in DIR
                       (default: the game folder, or a folder of its own
                       under ~/.local/share/orvane when that cannot be written)
  --pack-scenario DIR  pack the numbered scenario files in DIR into the
                       single scenario file, then exit
  --check              report the scenario's mistakes without playing it, as
                       FILE:LINE: error|warning: MESSAGE (UTF-8); status 2 when
                       there is an error, 0 otherwise
  --json               with --check: one JSON object a line, with the fields
                       file, line, severity, code and message
  --explore N          play the game N times (needs --headless), clicking on
                       and picking a random choice, button or link at each
                       decision; reports the endings, the lines and labels
                       reached, and each scenario error with an events file
                       (explore-error-K.events) that replays it; status 2
                       when a play met a scenario error. --max-steps (default
                       1000000) and --max-time bound each play
  --seed S             the seed of --explore's picks (default 1)
  -j N, --jobs N       --explore's plays in N processes side by side (the
                       report is the same as with one)
  --help               show this text and exit
  --version            show the version and exit

Events file (one event a line, '#' starts a comment):
  click [X Y]          move to X Y if given, then press and release the left button
  rclick [X Y]         the same with the right button
  move X Y             move the pointer
  key space|enter|escape|CHAR
                       type one key (key tab: the Tab key)
  text TEXT            type each character of TEXT
  menu ID              choose the menu command ID
  answer yes|no|ok     answer the next message box
  wait MS              let MS milliseconds pass before the next event
  shot FILE            write a PNG of the window now
  hold ctrl, release ctrl
                       press and let go of the Ctrl key (at once)
click, rclick, key, text, answer and shot wait until the game next waits for
the player; move and menu happen at once; an event after a wait happens as
soon as its time has passed, whatever the game is doing. Message boxes are
written to stderr as "[caption] text" and answered OK or yes by default.
An input dialog (inputstr, inputnum) takes the events while it is open: text
types into its field without pressing anything, key enter (or a click on the
button) presses it, key escape does nothing, answer ok dismisses a refusal and
the field keeps its text. With --auto-click, once the events are used up, the
field's text is the answer if it passes, else a default one.

Exit status:
  0  the game ended
  1  usage or start-up failure, or an output asked for could not be written
  2  a scenario error (reported on stderr)
  3  headless: the game waits for the player and no scripted input is left,
     or an automatic click cannot answer the wait (said on stderr)
  4  headless: the time or statement limit was reached (said on stderr)
)";
}

std::string versionText() {
    return std::string("orvane ") + ORVANE_VERSION + "\n";
}

std::string usageErrorText(const std::string& error) {
    return "orvane: " + error + "\nTry 'orvane --help' for more information.\n";
}

} // namespace orv
