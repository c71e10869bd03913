#include "interp/RegistryStore.h"

#include "TestSupport.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace orv {
namespace {

using std::nullopt;

TEST(RegistryStore, MissingFileOrEntryReadsNothing) {
    test::TempDir tmp;
    EXPECT_EQ(RegistryStore(tmp.path() / "none.ini").read("Software\\A", "v"), nullopt);
    EXPECT_EQ(RegistryStore({}).read("Software\\A", "v"), nullopt);

    RegistryStore store(tmp.write("r.ini", "[Software\\A]\nv=1\n[Software\\A\\B]\nw=2\n"));
    EXPECT_EQ(store.read("Software\\A", "v"), "1");
    EXPECT_EQ(store.read("Software\\B", "v"), nullopt);
    EXPECT_EQ(store.read("Software\\A", "w"), nullopt);    // values of subkeys stay there
    EXPECT_EQ(store.read("Software\\A\\B", "v"), nullopt); // nor do parents' values show
    EXPECT_EQ(store.read("Software\\A", ""), nullopt);     // no default value written
}

TEST(RegistryStore, PathsAndNamesIgnoreCaseAndSpelling) {
    test::TempDir tmp;
    RegistryStore store(tmp.write("r.ini", "[HKEY_CURRENT_USER\\Software\\Maker\\Game]\n"
                                           "InstallDir = \"C:\\Games\\Game \"\n"
                                           "[software\\maker\\game]\nLater=2\n"));
    EXPECT_EQ(store.read("SOFTWARE\\maker\\GAME", "installdir"), "C:\\Games\\Game ");
    EXPECT_EQ(store.read("\\Software\\\\Maker\\Game\\", "InstallDir"), "C:\\Games\\Game ");
    // One key may be spread over several sections.
    EXPECT_EQ(store.read("Software\\Maker\\Game", "later"), "2");
}

TEST(RegistryStore, EmptyNameIsTheDefaultValue) {
    test::TempDir tmp;
    RegistryStore store(tmp.write("r.ini", "[Software\\Game]\nname=x\n@=the default\n"));
    EXPECT_EQ(store.read("Software\\Game", ""), "the default");
    EXPECT_EQ(store.read("Software\\Game", "name"), "x");
}

TEST(RegistryStore, JapaneseTextRoundTrips) {
    test::TempDir tmp;
    // ソ and 表 end in 0x5C, the path separator; the split must step over them.
    const std::string file = "[Software\\ソフト\\表示]\n名前=日本語の値　です\n";
    const std::string path = sjis::fromUtf8("software\\ソフト\\表示");
    const std::string name = sjis::fromUtf8("名前");
    const std::string value = sjis::fromUtf8("日本語の値　です");

    EXPECT_EQ(RegistryStore(tmp.write("utf8.ini", file)).read(path, name), value);
    EXPECT_EQ(RegistryStore(tmp.write("bom.ini", "\xEF\xBB\xBF" + file)).read(path, name), value);
    // A file saved by a Shift-JIS editor is read as it is.
    EXPECT_EQ(RegistryStore(tmp.write("sjis.ini", sjis::fromUtf8(file))).read(path, name), value);
    // Split at the trail byte, "A\\ソ" would become "A" and a lone lead byte.
    RegistryStore trail(tmp.write("trail.ini", "[A\\ソ]\nv=1\n"));
    EXPECT_EQ(trail.read(sjis::fromUtf8("a\\ソ"), "V"), "1");
    EXPECT_EQ(trail.read("A\\\x83", "v"), nullopt);
}

class RegistryPathEnv : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            const char* v = std::getenv(name);
            saved_.push_back(v ? std::optional<std::string>(v) : nullopt);
        }
    }
    void TearDown() override {
        const char* names[] = {"XDG_CONFIG_HOME", "HOME"};
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i])
                setenv(names[i], saved_[i]->c_str(), 1);
            else
                unsetenv(names[i]);
        }
    }
    std::vector<std::optional<std::string>> saved_;
};

TEST_F(RegistryPathEnv, DefaultPathFollowsTheEnvironment) {
    setenv("HOME", "/home/player", 1);
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(RegistryStore::defaultPath(), "/cfg/orvane/registry.ini");
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(RegistryStore::defaultPath(), "/home/player/.config/orvane/registry.ini");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(RegistryStore::defaultPath(), "/home/player/.config/orvane/registry.ini");
    unsetenv("HOME");
    EXPECT_EQ(RegistryStore::defaultPath(), std::filesystem::path());
}

} // namespace
} // namespace orv
