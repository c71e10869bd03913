// --check: findings that need bytes a scenario folder cannot keep, and the line each error names
// against the line where the runtime stops (the rest are tests/scenarios/check-*).
#include "maker/ScenarioCheck.h"
#include "EngineHarness.h"
#include "TestSupport.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace orv::test {
namespace {

struct CheckRun {
    int status;
    std::vector<std::string> lines;
};

CheckRun check(const TempDir& dir, bool json) {
    std::ostringstream out, err;
    CheckRun run{runCheck(dir.path().string(), json, out, err), {}};
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    return run;
}

// Scenario text is written in UTF-8 here and stored as Shift-JIS.
void writeScenario(const TempDir& dir, const std::string& name, const std::string& utf8) {
    dir.write(name, sjis::fromUtf8(utf8));
}

// Bytes a scenario folder cannot hold as UTF-8 source; the other findings are
// tests/scenarios/check-*.
TEST(ScenarioCheck, TextThatIsNotShiftJis) {
    TempDir dir;
    writeScenario(dir, "0.txt", "*define\ngame\n*start\nend\n");
    dir.write("1.txt", "\xef\xbd\x81\n"); // full-width a, in UTF-8
    dir.write("2.txt", "\x82\xa0\xff\n"); // a byte no Shift-JIS text holds
    const CheckRun text = check(dir, false);
    EXPECT_EQ(text.status, 2);
    EXPECT_EQ(text.lines, (std::vector<std::string>{
                              "1.txt:1: error: bytes that are not valid Shift-JIS: the file is "
                              "saved as UTF-8; save it as Shift-JIS",
                              "2.txt:1: error: bytes that are not valid Shift-JIS"}));
}

// The line a finding names is the line where the runtime stops with its error.
TEST(ScenarioCheck, ErrorsNameTheLineTheRuntimeStopsAt) {
    const std::vector<std::string> scenarios = {
        "*define\ngame\n*start\nmov %1,1\nfrobnicate\nend\n",
        "*define\nmov %1,1\nbg black,1\ngame\n*start\nend\n",
        "*define\ngame\n*start\n\nif %1 = 0 goto *nowhere\nend\n",
        "*define\ngame\n*start\nmov %1,1 : bg \"none.bmp\",1\nend\n",
        "*define\ngame\n*start\nあい/う\nend\n",
        "*define\ngame\n*start\nmov $1,\"open\nend\n",
        "*define\ngame\n*start\n*twice\n\n*TWICE\nend\n",
    };
    for (const std::string& scenario : scenarios) {
        SCOPED_TRACE(scenario);
        TempDir dir;
        writeScenario(dir, "0.txt", scenario);
        const CheckRun checked = check(dir, false);
        ASSERT_EQ(checked.status, 2);
        const std::string first =
            *std::find_if(checked.lines.begin(), checked.lines.end(), [](const std::string& l) {
                return l.find(": error: ") != std::string::npos;
            });
        const std::string line = first.substr(6, first.find(':', 6) - 6);

        Harness harness;
        ASSERT_EQ(harness.run(scenario), 2);
        EXPECT_NE(harness.log().find("0.txt line:" + line + "\n"), std::string::npos)
            << harness.log() << "\nchecked: " << first;
    }
}

} // namespace
} // namespace orv::test
