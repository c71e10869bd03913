// --check on bytes a scenario folder cannot keep as UTF-8 source (the other findings, and the
// line each names against the line where the runtime stops, are tests/scenarios/check-*).
#include "maker/ScenarioCheck.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orv::test {
namespace {

TEST(ScenarioCheck, TextThatIsNotShiftJis) {
    TempDir dir;
    dir.write("0.txt", "*define\ngame\n*start\nend\n");
    dir.write("1.txt", "\xef\xbd\x81\n"); // full-width a, in UTF-8
    dir.write("2.txt", "\x82\xa0\xff\n"); // a byte no Shift-JIS text holds
    std::ostringstream out, err;
    EXPECT_EQ(runCheck(dir.path().string(), false, out, err), 2);
    EXPECT_EQ(out.str(), "1.txt:1: error: bytes that are not valid Shift-JIS: the file is saved as "
                         "UTF-8; save it as Shift-JIS\n"
                         "2.txt:1: error: bytes that are not valid Shift-JIS\n");
}

} // namespace
} // namespace orv::test
