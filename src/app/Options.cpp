#include "app/Options.h"

#include "shell/MainMenu.h"

#include <algorithm>
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
    bool& scaleGiven = o.scaleGiven;
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

namespace {

constexpr OptionHelp kOptions[] = {
    {"--headless", "",
     "no window and no sound device; a virtual clock that advances only when "
     "the engine sleeps or idles"},
    {"--events", "FILE",
     "scripted player input (needs --headless), see below; a file or a pipe "
     "of at most 64 MiB"},
    {"--auto-click", "",
     "answer every wait for the player with a click when no scripted event "
     "is pending (needs --headless)"},
    {"--transcript", "FILE",
     "write the displayed text as UTF-8 ('-' = standard output): \"\\n\" "
     "at each line break, \"\\f\" at each page end"},
    {"--screenshot", "FILE", "at exit, write the window's 640x480 picture as PNG"},
    {"--max-time", "MS",
     "end with status 4 once the virtual clock has advanced MS milliseconds "
     "(needs --headless; default 600000)"},
    {"--max-steps", "N",
     "end with status 4 once N statements have run; a definereset counts "
     "100000 (needs --headless; default 100000000)"},
    {"--sound-log", "FILE",
     "write one line per sound event: the clock in milliseconds, then what "
     "started, stopped or ended"},
    {"--text-out", "FILE",
     "write each finished page as one line of UTF-8 ('-' = standard output), as it is shown"},
    {"--scale", "N",
     "show the window N times its size, N from 1 to 8 (default: the scale kept "
     "in orvane.ini, else the largest that fits the desktop)"},
    {"--fullscreen", "", "start in desktop full screen"},
    {"--save-dir", "DIR",
     "keep saves, global variables and settings in DIR (default: the game "
     "folder, or a folder of its own under ~/.local/share/orvane when that "
     "cannot be written)"},
    {"--pack-scenario", "DIR",
     "pack the numbered scenario files in DIR into the single scenario "
     "file, then exit"},
    {"--check", "",
     "report the scenario's mistakes without playing it, as FILE:LINE: "
     "error|warning: MESSAGE (UTF-8); status 2 when there is an error, 0 otherwise"},
    {"--json", "",
     "with --check: one JSON object a line, with the fields file, line, severity, "
     "code and message"},
    {"--explore", "N",
     "play the game N times (needs --headless), clicking on and picking a "
     "random choice, button or link at each decision; reports the endings, the "
     "lines and labels reached, and each scenario error with an events file "
     "(explore-error-K.events) that replays it; status 2 when a play met a "
     "scenario error. --max-steps (default 1000000) and --max-time bound each "
     "play"},
    {"--seed", "S", "the seed of --explore's picks (default 1)"},
    {"-j, --jobs", "N",
     "--explore's plays in N processes side by side (the report is the same "
     "as with one)"},
    {"--help", "", "show this text and exit"},
    {"--version", "", "show the version and exit"},
};

constexpr OptionHelp kEvents[] = {
    {"click", "[X Y]", "move to X Y if given, then press and release the left button"},
    {"rclick", "[X Y]", "the same with the right button"},
    {"move", "X Y", "move the pointer"},
    {"key", "space|enter|escape|CHAR", "type one key"},
    {"key", "tab|up|down|left|right|backtab",
     "move the highlight of a choice, the menu or the "
     "slot list"},
    {"key", "f11|alt+enter|f12", "switch full screen; save a screenshot"},
    {"wheel", "up|down", "turn the mouse wheel one notch"},
    {"hold ctrl, release ctrl", "", "press and let go of the Ctrl key (at once)"},
    {"text", "TEXT", "type each character of TEXT"},
    {"menu", "ID", "choose the menu command ID"},
    {"answer", "yes|no|ok", "answer the next message box"},
    {"wait", "MS", "let MS milliseconds pass before the next event"},
    {"shot", "FILE", "write a PNG of the window now"},
};

constexpr std::string_view kEventsNote =
    "click, rclick, key, wheel, text, answer and shot wait until the game next waits for the "
    "player; move and menu happen at once; an event after a wait happens as soon as its time has "
    "passed, whatever the game is doing. Message boxes are written to stderr as \"[caption] "
    "text\" and answered OK or yes by default. An input dialog (inputstr, inputnum) takes the "
    "events while it is open: text types into its field without pressing anything, key enter (or "
    "a click on the button) presses it, key escape does nothing, answer ok dismisses a refusal and "
    "the field keeps its text. With --auto-click, once the events are used up, the field's text "
    "is the answer if it passes, else a default one.";

constexpr OptionHelp kExitStatuses[] = {
    {"0", "", "the game ended"},
    {"1", "", "usage or start-up failure, or an output asked for could not be written"},
    {"2", "", "a scenario error (reported on stderr)"},
    {"3", "",
     "headless: the game waits for the player and no scripted input is left, or an "
     "automatic click cannot answer the wait (said on stderr)"},
    {"4", "", "headless: the time or statement limit was reached (said on stderr)"},
};

constexpr OptionHelp kKeys[] = {
    {"Space, Enter", "", "a click; take the highlighted choice or entry"},
    {"Up, Down, Tab", "", "move the highlight between choices, menu entries and save slots"},
    {"mouse wheel", "",
     "up: open the lookback (where a right click could); down: page forward "
     "in it, and close it at the newest page"},
    {"F11, Alt+Enter", "", "switch desktop full screen"},
    {"F12", "", "save a screenshot in $XDG_PICTURES_DIR/Orvane"},
    {"A", "", "auto-forward on or off"},
    {"Ctrl held", "", "skip text already read"},
    {"Tab", "", "at a click wait: skip read text until the next unread line or decision"},
    {"M", "", "mute every sound, and back"},
    {"Ctrl and + or -", "", "make the window one scale larger or smaller"},
};

constexpr size_t kHelpWidth = 79;

// text wrapped at kHelpWidth, every line but the first indented by indent columns.
std::string wrap(std::string_view text, size_t indent, size_t column) {
    std::string out;
    while (!text.empty()) {
        const size_t room = kHelpWidth - column;
        size_t cut = text.size();
        if (cut > room) {
            cut = text.rfind(' ', room);
            if (cut == std::string_view::npos || cut == 0) cut = text.find(' ');
            if (cut == std::string_view::npos) cut = text.size();
        }
        out += text.substr(0, cut);
        text.remove_prefix(std::min(cut + 1, text.size()));
        if (!text.empty()) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        }
    }
    return out + "\n";
}

// "  TERM ARGUMENT" then the text from column termWidth + 2 (or on the next line when longer).
void appendRows(std::string& out, std::span<const OptionHelp> rows, size_t termWidth) {
    for (const OptionHelp& row : rows) {
        std::string term = "  " + std::string(row.names);
        if (!row.argument.empty()) term += " " + std::string(row.argument);
        const size_t textColumn = termWidth + 2;
        if (term.size() + 1 > textColumn) {
            out += term + "\n" + std::string(textColumn, ' ');
        } else {
            out += term + std::string(textColumn - term.size(), ' ');
        }
        out += wrap(row.text, textColumn, textColumn);
    }
}

// Roman text for the manual: a backslash and a leading dot or quote are escaped.
std::string roff(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
    return out;
}

void appendManRows(std::string& out, std::span<const OptionHelp> rows) {
    for (const OptionHelp& row : rows) {
        out += ".TP\n.B " + roff(row.names);
        if (!row.argument.empty()) out += " \" " + roff(row.argument) + "\"";
        out += "\n" + roff(row.text) + "\n";
    }
}

} // namespace

std::span<const OptionHelp> optionTable() {
    return kOptions;
}

std::string helpText() {
    std::string out = "Usage: orvane [OPTIONS] [GAME_DIR]\n"
                      "Run the game in GAME_DIR (default: the current directory).\n\nOptions:\n";
    appendRows(out, kOptions, 19);
    out += "\nEvents file (one event a line, '#' starts a comment):\n";
    appendRows(out, kEvents, 19);
    out += wrap(kEventsNote, 0, 0);
    out += "\nKeys in the window:\n";
    appendRows(out, kKeys, 19);
    out += "\nExit status:\n";
    appendRows(out, kExitStatuses, 3);
    return out;
}

std::string manPage() {
    std::string out = ".TH ORVANE 6 \"\" \"orvane " ORVANE_VERSION "\" \"Games\"\n"
                      ".SH NAME\norvane \\- play visual novels written as scenario scripts\n"
                      ".SH SYNOPSIS\n.B orvane\n[\\fIOPTIONS\\fR] [\\fIGAME_DIR\\fR]\n"
                      ".SH DESCRIPTION\nRuns the game in \\fIGAME_DIR\\fR (default: the current "
                      "directory): a folder of Shift\\-JIS scenario files, pictures and sounds, "
                      "in a window or headless with a virtual clock and scripted input.\n"
                      ".SH OPTIONS\n";
    appendManRows(out, kOptions);
    out += ".SH KEYS\n";
    appendManRows(out, kKeys);
    out += ".SH EVENTS FILE\nOne event a line; # starts a comment.\n";
    appendManRows(out, kEvents);
    out += ".PP\n" + roff(kEventsNote) + "\n.SH EXIT STATUS\n";
    appendManRows(out, kExitStatuses);
    out += ".SH FILES\n.TP\n.I orvane.ini\nOrvane's own settings (window scale, full screen "
           "...) beside the save files.\n";
    return out;
}

std::string versionText() {
    return std::string("orvane ") + ORVANE_VERSION + "\nplays scenarios of " +
           std::string(kScenarioLanguageVersion) + "\n";
}

std::string usageErrorText(const std::string& error) {
    return "orvane: " + error + "\nTry 'orvane --help' for more information.\n";
}

} // namespace orv
