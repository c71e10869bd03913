// The program's --sound-log: the headless binary opens a device of its own and writes the log.
#include "SoundFiles.h"
#include "TestSupport.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

TEST(SoundLogOption, TheHeadlessProgramLogsWhatSounds) {
    test::TempDir game;
    test::TempDir work;
    game.write("0.txt", sjis::fromUtf8("*define\ngame\n*start\nwave \"se.wav\"\nwait 500\nend\n"));
    game.write("se.wav", test::wavBytes(200));
    const auto log = work.path() / "sound.log";
    test::RunResult run = test::runProgram({test::orvaneBinary().string(), "--headless",
                                            "--sound-log", log.string(), game.path().string()},
                                           work.path());
    EXPECT_EQ(run.status, 0) << run.stderrText;
    EXPECT_EQ(test::readFile(log), "0 wave se.wav\n200 end wave se.wav\n");
}

TEST(SoundLogOption, AnUnwritableLogEndsTheStart) {
    test::TempDir game;
    test::TempDir work;
    game.write("0.txt", "*define\ngame\n*start\nend\n");
    test::RunResult run =
        test::runProgram({test::orvaneBinary().string(), "--headless", "--sound-log",
                          (work.path() / "no" / "such" / "dir.log").string(), game.path().string()},
                         work.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.stderrText.find("cannot write sound log"), std::string::npos) << run.stderrText;
}

} // namespace
