#include "util/gamefs.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace orv;
using orv::test::TempDir;

// Each number is found once, in any case, the lower-case spelling first and otherwise the first
// spelling in name order; names that only resemble a number are not taken for one.
TEST(GameFsNumbered, FindsEachNumberInAnyCaseWithTheExactSpellingFirst) {
    TempDir dir;
    for (const char* name : {"0.TXT", "0.txt", "01.txt", "2.Txt", "3.txt.bak", "x4.txt", "5.Txt",
                             "5.TXT", "100.txt", "99.TXT"})
        dir.write(name, "s");
    const auto found = GameFs(dir.path()).findNumberedEntriesInRoot(100, ".txt");
    ASSERT_EQ(found.size(), 100u);
    std::map<size_t, std::string> names;
    for (size_t n = 0; n < found.size(); ++n)
        if (found[n]) names[n] = found[n]->filename().string();
    EXPECT_EQ(names, (std::map<size_t, std::string>{
                         {0, "0.txt"}, {2, "2.Txt"}, {5, "5.TXT"}, {99, "99.TXT"}}));
}
