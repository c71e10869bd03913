// The command line. Its options and exit statuses are relied on by the
// scenario tests, benchmarks and tools, so they change only with them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orv {

struct Options {
    std::string gameDir = ".";
    bool headless = false;
    std::string eventsFile;     // --events (headless)
    bool autoClick = false;     // --auto-click (headless)
    std::string transcriptFile; // --transcript; "-" = standard output
    std::string
        screenshotFile; // --screenshot, made absolute so a change of directory cannot move it
    std::optional<uint64_t> maxTimeMs; // --max-time (headless)
    std::optional<uint64_t> maxSteps;  // --max-steps (headless)
    int scale = 1;                     // --scale, window only
    bool scaleGiven = false;           // --scale was given: it wins over the kept setting
    bool fullscreen = false;           // --fullscreen, window only
    bool help = false;
    bool version = false;
    std::string packScenario;        // --pack-scenario DIR
    std::string saveDir;             // --save-dir: where saves, globals and settings are kept
    bool check = false;              // --check: report the scenario's mistakes, play nothing
    bool json = false;               // --json (with --check): one JSON object a finding
    std::optional<uint64_t> explore; // --explore N (headless): plays to make
    std::optional<uint64_t> seed;    // --seed S (with --explore)
    std::optional<uint64_t> jobs;    // -j N, --jobs N (with --explore): processes side by side
    std::string soundLogFile;        // --sound-log FILE
    std::string textOutFile;         // --text-out FILE: each finished page a line; "-" = stdout
};

// What bounds a headless run when the command line does not, so that a loop that never waits or
// an endless stream of automatic clicks still ends (status 4).
inline constexpr uint64_t kDefaultMaxTimeMs = 600000; // ten minutes of virtual time
inline constexpr uint64_t kDefaultMaxSteps = 100000000;

struct CommandLine {
    Options options;
    std::string error; // empty when the command line was understood
    bool ok() const { return error.empty(); }
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// One row of the option, events, keys and exit-status tables that --help and the manual page
// are both made from.
struct OptionHelp {
    std::string_view names;
    std::string_view argument;
    std::string_view text;
};
std::span<const OptionHelp> optionTable();

// What main prints for --help, --version and a usage error (to stderr, then exit 1).
std::string helpText();
// The manual page (roff, section 6) from the same tables as --help.
std::string manPage();
std::string versionText();
std::string usageErrorText(const std::string& error);

} // namespace orv
