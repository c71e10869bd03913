#include "script/ScenarioPack.h"
#include "TestSupport.h"
#include "script/ScenarioLoader.h"
#include "script/ScrambleKeys.h"
#include "util/gamefs.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::TempDir;

namespace {

ScriptBuffer loadPack(const TempDir& dir) {
    ScriptBuffer buffer;
    EXPECT_TRUE(loadScenarioFiles(GameFs(dir.path()), buffer));
    return buffer;
}

} // namespace

TEST(ScenarioPack, RoundTripGivesTheSameBuffer) {
    TempDir dir;
    dir.write("0.txt", "*define\r\ngame\r\n*start\r\n\x82\xa0\x82\xa2\r\nlast line no LF");
    dir.write("3.txt", "gap\x1a"
                       "after ctrl-z\r\n");
    dir.write("4.txt", "lone\rCR\r\n");
    std::string numbered(loadPack(dir).text());

    std::string error;
    ASSERT_TRUE(packScenario(dir.path(), &error)) << error;
    std::string dat = orv::test::readFile(dir.path() / "orvane.dat");
    std::string sec = orv::test::readFile(dir.path() / "orvane_sec.dat");
    // Both are scrambled: the plain text appears in neither.
    EXPECT_EQ(dat.find("define"), std::string::npos);
    EXPECT_EQ(sec.find("define"), std::string::npos);
    EXPECT_EQ(uint8_t(dat[0]), uint8_t('*' ^ kScrambleKey));
    EXPECT_EQ(uint8_t(sec[1]), uint8_t('d' ^ kSecScrambleKey[1]));

    for (const char* name : {"0.txt", "3.txt", "4.txt"}) std::filesystem::remove(dir.path() / name);
    ScriptBuffer fromSec = loadPack(dir);
    EXPECT_EQ(fromSec.source(), ScenarioSource::SecScrambled);
    EXPECT_EQ(fromSec.text(), numbered);

    std::filesystem::remove(dir.path() / "orvane_sec.dat");
    ScriptBuffer fromDat = loadPack(dir);
    EXPECT_EQ(fromDat.source(), ScenarioSource::Scrambled);
    EXPECT_EQ(fromDat.text(), numbered);
}

TEST(ScenarioPack, RefusesAFolderWithoutScenario) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(packScenario(dir.path(), &error));
    EXPECT_NE(error.find("no numbered scenario files"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "orvane.dat"));
    EXPECT_FALSE(packScenario(dir.path() / "absent", &error));
}

TEST(ScenarioPack, RefusesAScenarioTooLongToLoad) {
    TempDir dir;
    dir.write("0.txt", std::string(size_t(kScriptCapacity) - 1, 'a'));
    std::string error;
    EXPECT_FALSE(packScenario(dir.path(), &error));
    EXPECT_NE(error.find("too long"), std::string::npos) << error;
}

TEST(ScenarioPack, ThroughTheProgram) {
    TempDir dir;
    dir.write("0.txt", "*define\r\ngame\r\n*start\r\nend\r\n");
    std::string command = orv::test::orvaneBinary().string() + " --pack-scenario " +
                          dir.path().string() + " > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::filesystem::remove(dir.path() / "0.txt");
    command = orv::test::orvaneBinary().string() + " --headless " + dir.path().string() +
              " > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
}
