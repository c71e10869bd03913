#include "interp/CommandTable.h"
#include "EngineHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

namespace {

// The dispatcher's rule written as the plain ordered search.
const CommandInfo* orderedSearch(std::string_view word, BlockMode mode) {
    for (const CommandInfo& c : commandTable())
        if (c.block == BlockClass::Both && c.name == word) return &c;
    BlockClass wanted = mode == BlockMode::Definition ? BlockClass::Definition : BlockClass::Game;
    for (const CommandInfo& c : commandTable())
        if (c.block == wanted && c.name == word) return &c;
    return nullptr;
}

} // namespace

// The whole vocabulary in dispatch order; the table holds the commands built
// so far, in this order and with these blocks.
struct Known {
    const char* name;
    BlockClass block;
};
constexpr BlockClass B = BlockClass::Both, D = BlockClass::Definition, G = BlockClass::Game;
const Known kVocabulary[] = {
    {"definereset", B},
    {"mousecursor", B},
    {"caption", B},
    {"end", B},
    {"mov", B},
    {"rnd", B},
    {"rnd2", B},
    {"getreg", B},
    {"getini", B},
    {"add", B},
    {"sub", B},
    {"inc", B},
    {"dec", B},
    {"mul", B},
    {"div", B},
    {"mod", B},
    {"goto", B},
    {"skip", B},
    {"gosub", B},
    {"return", B},
    {"len", B},
    {"cmp", B},
    {"notif", B},
    {"if", B},
    {"mesbox", B},
    {"windoweffect", B},
    {"savenumber", D},
    {"mode_ext", D},
    {"defaultspeed", D},
    {"intlimit", D},
    {"lookbackbutton", D},
    {"lookbackcolor", D},
    {"savename", D},
    {"clickstr", D},
    {"filelog", D},
    {"soundpressplgin", D},
    {"versionstr", D},
    {"effectblank", D},
    {"bgalia", D},
    {"cdfadeout", D},
    {"spi", D},
    {"arc", D},
    {"effect", D},
    {"transmode", D},
    {"stralias", D},
    {"killmenu", D},
    {"numalias", D},
    {"defaultfont", D},
    {"selectcolor", D},
    {"menuselectcolor", D},
    {"lookbackvoice", D},
    {"clickvoice", D},
    {"selectvoice", D},
    {"menuselectvoice", D},
    {"globalon", D},
    {"humanz", D},
    {"underline", D},
    {"game", D},
    {"rlookback", D},
    {"roff", D},
    {"rmenu", D},
    {"menusetwindow", D},
    {"linkcolor", D},
    {"inputstr", G},
    {"inputnum", G},
    {"locate", G},
    {"puttext", G},
    {"autoclick", G},
    {"br", G},
    {"trap", G},
    {"setcursor", G},
    {"abssetcursor", G},
    {"quakex", G},
    {"quakey", G},
    {"rmode", G},
    {"systemcall", G},
    {"select", G},
    {"selgosub", G},
    {"selnum", G},
    {"textoff", G},
    {"texton", G},
    {"textclear", G},
    {"textmode", G},
    {"menu_full", G},
    {"menu_click_page", G},
    {"menu_click_def", G},
    {"menu_window", G},
    {"erasetextwindow", G},
    {"monocro", G},
    {"nega", G},
    {"bg", G},
    {"ld", G},
    {"btndef", G},
    {"btn", G},
    {"btnwait", G},
    {"btnwait2", G},
    {"tbtnwait", G},
    {"tal", G},
    {"delay", G},
    {"wait", G},
    {"textspeed", G},
    {"resettimer", G},
    {"waittimer", G},
    {"gettimer", G},
    {"lsph", G},
    {"lsp", G},
    {"csp", G},
    {"vsp", G},
    {"msp", G},
    {"cl", G},
    {"print", G},
    {"mp3", G},
    {"mp3loop", G},
    {"avi", G},
    {"play", G},
    {"playonce", G},
    {"stop", G},
    {"wave", G},
    {"wavestop", G},
    {"playstop", G},
    {"lookbackflush", G},
    {"click", G},
    {"clickpos", G},
    {"waveloop", G},
    {"setwindow", G},
};

TEST(CommandTable, FollowsTheVocabularyInOrderAndBlock) {
    size_t next = 0;
    for (const CommandInfo& c : commandTable()) {
        EXPECT_NE(c.handler, nullptr) << c.name;
        size_t at = next;
        while (at < std::size(kVocabulary) && kVocabulary[at].name != c.name) ++at;
        ASSERT_LT(at, std::size(kVocabulary)) << c.name << " is out of order or unknown";
        EXPECT_EQ(c.block, kVocabulary[at].block) << c.name;
        next = at + 1;
    }
    // The commands of this subsystem are all there.
    for (const char* name :
         {"definereset", "end",    "mov",      "rnd",        "rnd2",      "getreg",   "getini",
          "add",         "sub",    "inc",      "dec",        "mul",       "div",      "mod",
          "goto",        "skip",   "gosub",    "return",     "len",       "cmp",      "notif",
          "if",          "mesbox", "mode_ext", "intlimit",   "stralias",  "numalias", "game",
          "trap",        "delay",  "wait",     "resettimer", "waittimer", "gettimer"}) {
        EXPECT_TRUE(std::any_of(commandTable().begin(), commandTable().end(),
                                [&](const CommandInfo& c) { return c.name == name; }))
            << name;
    }
}

TEST(CommandTable, HashedLookupAgreesWithTheOrderedSearch) {
    std::vector<std::string> words;
    for (const CommandInfo& c : commandTable()) {
        words.emplace_back(c.name);
        words.push_back(std::string(c.name) + "x");
        words.push_back(std::string(c.name).substr(0, c.name.size() - 1));
    }
    for (const Known& k : kVocabulary) words.emplace_back(k.name);
    for (const char* w : {"", "_", "movx", "rnd3", "if_", "zzz"}) words.emplace_back(w);
    for (const std::string& w : words) {
        for (BlockMode mode : {BlockMode::Definition, BlockMode::Game})
            EXPECT_EQ(findCommand(w, mode), orderedSearch(w, mode)) << w;
    }
}

TEST(Dispatch, UnknownWordsAndCommandsOfTheOtherBlock) {
    struct Case {
        std::string scenario;
        std::string message;
    };
    for (const Case& c : {
             Case{std::string(kPrologue) + "frobnicate \"x\"\n",
                  "[構文エラー] 不正な命令\"frobnicate\"です。"},
             Case{std::string(kPrologue) + "game\n", "[構文エラー] 不正な命令\"game\"です。"},
             Case{"*define\nwait 10\ngame\n", "[構文エラー] 不正な命令\"wait\"です。"},
             Case{std::string(kPrologue) + "NoSuch_Cmd2\n",
                  "[構文エラー] 不正な命令\"nosuch_cmd2\"です。"},
         }) {
        Harness h;
        h.scenario(c.scenario);
        EXPECT_EQ(h.run(), 2) << c.scenario;
        EXPECT_EQ(h.firstMessage(), c.message) << c.scenario;
    }
}

TEST(Dispatch, CapitalsAndGotoInTheDefinitionBlock) {
    Harness h;
    h.scenario("*define\nGOTO *later\nmov %300,1\n*later\nMOV %301,2:Game\n*start\nEnd\n");
    EXPECT_EQ(h.run(), 0);
    EXPECT_EQ(h.engine().vars.num[300], 0);
    EXPECT_EQ(h.engine().vars.num[301], 2);
}

TEST(Dispatch, ModeExtIsAcceptedInTheDefinitionBlock) {
    Harness h;
    h.scenario("*define\nmode_ext\ngame\n*start\nmode_ext\n");
    EXPECT_EQ(h.run(), 2);
    EXPECT_EQ(h.firstMessage(), "[構文エラー] 不正な命令\"mode_ext\"です。");
    EXPECT_NE(h.log().find("0.txt line:5"), std::string::npos);
}

TEST(Dispatch, RepeatedStatementsAreReadAgainAfterTheScenarioChanges) {
    // The same offset holds a different command in the second scenario.
    Harness h;
    h.load("inc %0\n");
    dispatchStatement(h.engine(), BlockMode::Game);
    h.engine().script.pos = 0;
    dispatchStatement(h.engine(), BlockMode::Game);
    EXPECT_EQ(h.engine().vars.num[0], 2);
    h.load("dec %0\n");
    dispatchStatement(h.engine(), BlockMode::Game);
    EXPECT_EQ(h.engine().vars.num[0], 1);
    // A cached command still obeys the block it is run in.
    h.load("wait 0\n");
    dispatchStatement(h.engine(), BlockMode::Game);
    h.engine().script.pos = 0;
    EXPECT_EQ(h.capture([&] { dispatchStatement(h.engine(), BlockMode::Definition); }), 2);
    EXPECT_EQ(h.firstMessage(), "[構文エラー] 不正な命令\"wait\"です。");
}
