// Runs every small game under tests/scenarios/ through the real binary, headless,
// and compares its exit status, stderr, transcript and pictures with what the
// directory expects. See tests/scenarios/README.md for the format.
#include "TestSupport.h"
#include "platform/Png.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace orv::test;

namespace {

const char* const kControlFiles[] = {"test.events",       "test.args",     "expect.status",
                                     "expect.stderr",     "expect.stdout", "expect.soundlog",
                                     "expect.transcript", "README.md"};

bool isControlFile(const fs::path& rel) {
    return *rel.begin() == "expect" || std::find(std::begin(kControlFiles), std::end(kControlFiles),
                                                 rel) != std::end(kControlFiles);
}

// Scenario sources are kept in UTF-8 in the repository; the game sees Shift-JIS.
bool isScenarioText(const fs::path& rel) {
    std::string name = rel.filename().string();
    return !rel.has_parent_path() && name.size() > 4 && name.ends_with(".txt") &&
           name.find_first_not_of("0123456789") == name.size() - 4;
}

std::vector<std::string> splitArgs(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

std::vector<std::string> scenarioNames() {
    std::vector<std::string> names;
    fs::path root = sourceDir() / "tests" / "scenarios";
    if (!fs::is_directory(root)) return names;
    for (const auto& entry : fs::directory_iterator(root))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A missing reference is written out (and the test fails) so a reviewer can
// look at it; a mismatch leaves the actual picture beside the reference.
void comparePicture(const fs::path& actual, const fs::path& reference) {
    fs::path mismatch = reference;
    mismatch.replace_extension(".actual.png");
    if (!fs::exists(reference)) {
        fs::create_directories(reference.parent_path());
        fs::copy_file(actual, reference, fs::copy_options::overwrite_existing);
        ADD_FAILURE() << "no reference picture; wrote " << reference;
        return;
    }
    auto want = orv::readPng(reference);
    auto got = orv::readPng(actual);
    ASSERT_TRUE(want && got) << "unreadable picture " << reference << " or " << actual;
    if (want->width == got->width && want->height == got->height && want->rgb == got->rgb) {
        fs::remove(mismatch);
        return;
    }
    fs::copy_file(actual, mismatch, fs::copy_options::overwrite_existing);
    ADD_FAILURE() << "picture differs from " << reference << "; actual written to " << mismatch;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, PlaysAsExpected) {
    fs::path dir = sourceDir() / "tests" / "scenarios" / GetParam();
    TempDir work;
    fs::path game = work.path() / "game", out = work.path() / "out";
    fs::create_directories(game);
    fs::create_directories(out);

    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        fs::path rel = fs::relative(entry.path(), dir);
        if (isControlFile(rel)) continue;
        fs::create_directories((game / rel).parent_path());
        if (isScenarioText(rel))
            std::ofstream(game / rel, std::ios::binary)
                << orv::sjis::fromUtf8(readFile(entry.path()));
        else
            fs::copy_file(entry.path(), game / rel);
    }

    // A folder that fixes standard output names its whole command line, the game folder included
    // (as ../game, a path that does not change from run to run).
    const bool ownArgs = fs::exists(dir / "expect.stdout");
    std::vector<std::string> args = {orvaneBinary().string()};
    if (!ownArgs)
        args.insert(args.end(), {"--headless", "--transcript", (out / "transcript.txt").string()});
    const bool soundLog = fs::exists(dir / "expect.soundlog");
    if (soundLog) args.insert(args.end(), {"--sound-log", (out / "sound.log").string()});
    if (fs::exists(dir / "test.events"))
        args.insert(args.end(), {"--events", (dir / "test.events").string()});
    // Each line of test.args is a run of its own (command-line cases); one line is the usual.
    std::vector<std::string> lines;
    std::istringstream argLines(fs::exists(dir / "test.args") ? readFile(dir / "test.args") : "");
    for (std::string line; std::getline(argLines, line);) lines.push_back(line);
    if (lines.empty()) lines.push_back("");
    const int wantStatus =
        fs::exists(dir / "expect.status") ? std::stoi(readFile(dir / "expect.status")) : 0;
    RunResult run;
    for (const std::string& line : lines) {
        std::vector<std::string> lineArgs = args;
        for (const std::string& a : splitArgs(line)) lineArgs.push_back(a);
        if (!ownArgs) lineArgs.push_back(game.string());
        RunResult one = runProgram(lineArgs, out);
        EXPECT_EQ(one.status, wantStatus) << line << "\nstderr:\n" << one.stderrText;
        run.stderrText += one.stderrText;
        run.stdoutText += one.stdoutText;
    }

    if (fs::exists(dir / "expect.stderr")) {
        EXPECT_EQ(run.stderrText, readFile(dir / "expect.stderr"));
    }
    if (ownArgs) {
        EXPECT_EQ(run.stdoutText, readFile(dir / "expect.stdout"));
    }
    if (fs::exists(dir / "expect.transcript")) {
        EXPECT_EQ(readFile(out / "transcript.txt"), readFile(dir / "expect.transcript"));
    }
    if (soundLog) {
        EXPECT_EQ(readFile(out / "sound.log"), readFile(dir / "expect.soundlog"));
    }

    for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".png")
            comparePicture(entry.path(), dir / "expect" / entry.path().filename());
    if (fs::is_directory(dir / "expect"))
        for (const auto& entry : fs::directory_iterator(dir / "expect")) {
            std::string name = entry.path().filename().string();
            EXPECT_TRUE(name.ends_with(".actual.png") || fs::exists(out / name))
                << "the run wrote no file " << name;
            if (!name.ends_with(".png")) {
                EXPECT_EQ(readFile(out / name), readFile(entry.path())) << name;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(All, Scenario, ::testing::ValuesIn(scenarioNames()), [](const auto& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Scenario);

} // namespace
