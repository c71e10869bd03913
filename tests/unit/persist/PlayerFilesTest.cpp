// The files that outlive a run: their layouts, what a damaged file gives, and when the engine
// reads and writes them.
#include "BmpBuilder.h"
#include "EngineHarness.h"
#include "persist/FileLog.h"
#include "persist/GlobalsFile.h"
#include "persist/PersistCommands.h"
#include "shell/SettingsFiles.h"
#include "util/AtomicFile.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace orv;
using orv::test::Harness;
using orv::test::TempDir;

namespace {

TEST(GlobalsFile, KeepsNumbersAndTextsOfTheGlobalVariables) {
    Variables vars;
    vars.num[200] = -5;
    vars.str[200] = "\x82\xa0"; // あ
    vars.num[4095] = 7;
    vars.num[10] = 3; // local: not in the file
    const std::string bytes = encodeGlobals(vars);
    EXPECT_EQ(bytes.size(), size_t(3896 * 5 + 2));
    EXPECT_EQ(bytes.substr(0, 7), std::string("\xfb\xff\xff\xff\x82\xa0\0", 7));

    Variables back;
    back.num[300] = 9;
    decodeGlobals(bytes, back);
    EXPECT_EQ(std::tuple(back.num[200], back.str[200], back.num[4095], back.num[300], back.num[10]),
              std::tuple(-5, "\x82\xa0", 7, 0, 0));
}

TEST(GlobalsFile, ShortFileLeavesTheRestEmpty) {
    Variables vars;
    vars.num[201] = 4;
    vars.str[201] = "x";
    decodeGlobals(std::string("\x02\0\0\0ab", 6), vars);
    EXPECT_EQ(std::tuple(vars.num[200], vars.str[200], vars.num[201], vars.str[201]),
              std::tuple(2, "ab", 0, ""));
}

// An engine start (the first and every definereset) takes the globals from the file, or clears
// them when there is none.
TEST(GlobalsFile, EveryEngineStartReadsTheFile) {
    Harness h;
    Engine& e = h.engine();
    e.vars.num[250] = 8;
    startPersistPass(e);
    EXPECT_EQ(e.vars.num[250], 0);

    Variables stored;
    stored.num[250] = 42;
    h.file("gloval.sav", encodeGlobals(stored));
    e.vars.num[250] = 8;
    startPersistPass(e);
    EXPECT_EQ(e.vars.num[250], 42);
}

TEST(FileLog, RoundTripsNamesOfEveryLetterAndKanji) {
    FileLog log;
    for (std::string name : {"CURSOR0.BMP", "mask.bmp", "\x83\x6d\x8a\xbf.BMP", "A?.BMP"})
        log.add(name);
    const std::string bytes = encodeFileLog(log);
    // A name with a byte that scrambles to the quote is kept for the run but not written.
    EXPECT_EQ(bytes.substr(0, 3), "3\n\"");
    FileLog one;
    one.add("A.BMP");
    EXPECT_EQ(encodeFileLog(one), "1\n\"\\3_PM\"");

    FileLog back;
    decodeFileLog(bytes, back);
    EXPECT_EQ(back.names, std::vector<std::string>(log.names.begin(), log.names.begin() + 3));
}

TEST(FileLog, DamagedFilesKeepTheNamesBeforeTheDamage) {
    struct Case {
        std::string bytes;
        size_t names;
    } cases[] = {
        {"", 0},
        {"x\n\",\"", 0},
        {"-1\n\",\"", 0},
        {"3\n\",\"\"9", 1},        // the second name never ends
        {"2\n\",\"X\",\"", 1},     // a byte where a quote should open the next name
        {"99999999999\n\",\"", 1}, // more announced than there are
        {"2 \t\n\r\",\"\"9\"", 2}, // blanks after the count
    };
    for (const Case& c : cases) {
        FileLog log;
        decodeFileLog(c.bytes, log);
        EXPECT_EQ(log.names.size(), c.names) << c.bytes;
    }
}

TEST(FileLog, NamesCompareInUpperCaseAndTheTableIsBounded) {
    FileLog log;
    log.add("cg\\a.bmp");
    log.add("CG\\A.BMP");
    EXPECT_EQ(log.names, std::vector<std::string>{"CG\\A.BMP"});
    EXPECT_TRUE(log.contains("Cg\\A.bmp"));
    // ヂ (83 61) is not ア (83 41), although its second byte is a lower-case letter.
    log.add("\x83\x61");
    EXPECT_FALSE(log.contains("\x83\x41"));

    log.add(std::string(512, 'X'));
    EXPECT_FALSE(log.contains(std::string(512, 'X')));
    for (int i = 0; log.names.size() < kFileLogCapacity; ++i) log.add(std::to_string(i));
    log.add("ONE MORE");
    EXPECT_FALSE(log.contains("ONE MORE"));
}

TEST(EnvData, LayoutAndShortFiles) {
    EnvData data{1, 0, 2, 1, "\x82\x6c\x82\x72 \x96\xbe\x92\xa9"};
    const std::string bytes = encodeEnvData(data);
    EXPECT_EQ(bytes.substr(0, 16), std::string("\1\0\0\0\0\0\0\0\2\0\0\0\1\0\0\0", 16));
    auto fields = [](const EnvData& d) {
        return std::tuple(d.fullScreen, d.waveEnabled, d.speedIndex, d.face);
    };
    EXPECT_EQ(fields(decodeEnvData(bytes)), fields(data));
    EXPECT_EQ(fields(decodeEnvData(bytes.substr(0, 6))), std::tuple(1, 0, 0, ""));
}

std::vector<int> postedCommands(Platform& platform) {
    std::vector<int> ids;
    for (Event ev; platform.takeEvent(ev);)
        if (ev.kind == EventKind::Command) ids.push_back(ev.code);
    return ids;
}

TEST(EnvData, StoredChoicesComeBackAsMenuCommands) {
    struct Case {
        EnvData data;
        std::vector<int> commands;
    } cases[] = {
        {{0, 1, 1, 0, ""}, {kMenuSpeedNormal}},
        {{1, 0, 0, 1, ""}, {kMenuFullScreen, kMenuWaveOff, kMenuClickPage, kMenuSpeedSlow}},
        {{0, 1, 7, 0, ""}, {}},
        {{0, 1, 2, 0, std::string(kDefaultFaceSjis)}, {kMenuSpeedFast, kMenuDefaultFont}},
        {{0, 1, 3, 0, "Face B"}, {1}},
        {{0, 1, 3, 0, "Face A"}, {0}},
        {{0, 1, 3, 0, "Gone"}, {}},
    };
    for (const Case& c : cases) {
        Harness h;
        Engine& e = h.engine();
        e.shell.fontNames[0] = "Face A";
        e.shell.fontNames[1] = "Face B";
        e.shell.fontCount = 2;
        postedCommands(h.platform());
        h.file("envdata", encodeEnvData(c.data));
        applyEnvData(e);
        EXPECT_EQ(postedCommands(h.platform()), c.commands) << c.data.face;
    }
    Harness none;
    postedCommands(none.platform());
    applyEnvData(none.engine());
    EXPECT_TRUE(postedCommands(none.platform()).empty());
}

TEST(ConfigFile, OnlyALineStartingWithCdfadeoffCounts) {
    struct Case {
        std::string text;
        bool fadeOff;
    } cases[] = {
        {"cdfadeoff\n", true},
        {"other\ncdfadeoff please", true},
        {"  cdfadeoff\n", false},
        {"CDFADEOFF\n", false},
        // Lines are read 255 bytes at a time: the rest of a long line is read as a line.
        {std::string(255, '#') + "cdfadeoff\n", true},
        {std::string(254, '#') + "cdfadeoff\n", false},
    };
    for (const Case& c : cases) {
        Harness h;
        h.file("config.txt", c.text);
        readConfig(h.engine());
        EXPECT_EQ(h.engine().sound.fadeDisabled, c.fadeOff) << c.text;
    }
}

// The end of the program writes "gloval.sav" and the log only when switched on, and "envdata"
// always; a failed write loses nothing else.
TEST(PlayerFiles, TheEndOfTheProgramWritesWhatIsSwitchedOn) {
    Harness on("menu 40016\n", 600000, true);
    on.file("pic.bmp", orv::test::buildBmp({.pixels = std::string(4, '\x10')}));
    on.scenario("*define\nglobalon\nfilelog\ngame\n*start\nmov %300,12\nbg \"pic.bmp\",1\n"
                "click\nend\n");
    EXPECT_EQ(on.run(), 0) << on.log();
    Variables globals;
    decodeGlobals(orv::test::readFile(on.dir() / "gloval.sav"), globals);
    FileLog log;
    decodeFileLog(orv::test::readFile(on.dir() / "Orvaneflog.dat"), log);
    EXPECT_EQ(std::tuple(globals.num[300], log.contains("PIC.BMP"),
                         decodeEnvData(orv::test::readFile(on.dir() / "envdata")).speedIndex),
              std::tuple(12, true, 2));

    Harness off;
    EXPECT_EQ(off.run("*define\ngame\n*start\nmov %300,12\nend\n"), 0);
    EXPECT_EQ(std::tuple(fs::exists(off.dir() / "gloval.sav"),
                         fs::exists(off.dir() / "Orvaneflog.dat"),
                         fs::exists(off.dir() / "envdata")),
              std::tuple(false, false, true));
}

TEST(PlayerFiles, AFailedWriteIsToldAndLeavesTheOldFile) {
    Harness h;
    fs::create_directories(h.dir() / "envdata" / "in the way");
    EXPECT_EQ(h.run("*define\ngame\n*start\nend\n"), 0);
    EXPECT_NE(h.log().find("[保存エラー] ファイル「envdata」を保存できませんでした。"),
              std::string::npos)
        << h.log();
    EXPECT_TRUE(fs::exists(h.dir() / "envdata" / "in the way"));
}

TEST(AtomicFile, ReplacesTheFileAndNeverWhatALinkPointsAt) {
    TempDir dir;
    const fs::path target = dir.write("elsewhere", "keep");
    fs::create_symlink(target, dir.path() / "save");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(dir.path() / "save", "new", &error)) << error;
    EXPECT_EQ(orv::test::readFile(target), "keep");
    EXPECT_EQ(orv::test::readFile(dir.path() / "save"), "new");

    EXPECT_FALSE(writeFileAtomically(dir.path() / "missing" / "save", "x", &error));
    EXPECT_NE(error.find("temporary"), std::string::npos) << error;
    size_t entries = 0;
    for ([[maybe_unused]] auto& entry : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2u);
}

TEST(PlayerFiles, SaveFolderIsMadeWhenMissing) {
    TempDir dir;
    std::string notice;
    const fs::path chosen = choosePlayerFolder(dir.path(), (dir.path() / "a/b").string(), &notice);
    EXPECT_EQ(chosen, dir.path() / "a/b");
    EXPECT_TRUE(fs::is_directory(chosen));
    EXPECT_EQ(notice, "");
    EXPECT_EQ(choosePlayerFolder(dir.path(), "", &notice), dir.path());
}

} // namespace
