#include "platform/headless/EventScript.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

std::vector<ScriptEvent> parseOk(std::string_view text) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_TRUE(parseEventScript(text, events, error)) << error;
    return events;
}

std::string parseError(std::string_view text) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_FALSE(parseEventScript(text, events, error));
    return error;
}

TEST(EventScript, ClicksAndMoves) {
    auto ev = parseOk("click\nclick 10 -20\nrclick 639 479\nrclick\nmove 5 6\n");
    ASSERT_EQ(ev.size(), 5u);
    EXPECT_EQ(ev[0].kind, ScriptEventKind::Click);
    EXPECT_FALSE(ev[0].hasPosition);
    EXPECT_EQ(ev[1].kind, ScriptEventKind::Click);
    EXPECT_TRUE(ev[1].hasPosition);
    EXPECT_EQ(ev[1].x, 10);
    EXPECT_EQ(ev[1].y, -20);
    EXPECT_EQ(ev[2].kind, ScriptEventKind::RClick);
    EXPECT_EQ(ev[2].x, 639);
    EXPECT_EQ(ev[2].y, 479);
    EXPECT_FALSE(ev[3].hasPosition);
    EXPECT_EQ(ev[4].kind, ScriptEventKind::Move);
    EXPECT_EQ(ev[4].x, 5);
    EXPECT_EQ(ev[4].y, 6);
    EXPECT_EQ(ev[4].line, 5);
}

TEST(EventScript, KeysTextMenuAnswerWaitShot) {
    auto ev = parseOk("key space\nkey enter\nkey escape\nkey a\nkey \xE3\x81\x82\nkey #\n"
                      "text  Hello, w\xC3\xB6rld a#b  \nmenu 40005\nanswer yes\nanswer no\n"
                      "answer ok\nwait 250\nshot out/first shot.png\n");
    ASSERT_EQ(ev.size(), 13u);
    EXPECT_EQ(ev[0].code, 32);
    EXPECT_EQ(ev[1].code, 13);
    EXPECT_EQ(ev[2].code, 27);
    EXPECT_EQ(ev[3].code, 'a');
    EXPECT_EQ(ev[4].code, 0x3042);
    EXPECT_EQ(ev[5].code, '#');
    EXPECT_EQ(ev[6].kind, ScriptEventKind::Text);
    EXPECT_EQ(ev[6].text, U"Hello, w\u00F6rld a#b");
    EXPECT_EQ(ev[7].kind, ScriptEventKind::Menu);
    EXPECT_EQ(ev[7].code, 40005);
    EXPECT_EQ(ev[8].answer, ScriptAnswer::Yes);
    EXPECT_EQ(ev[9].answer, ScriptAnswer::No);
    EXPECT_EQ(ev[10].answer, ScriptAnswer::Ok);
    EXPECT_EQ(ev[11].kind, ScriptEventKind::Wait);
    EXPECT_EQ(ev[11].ms, 250u);
    EXPECT_EQ(ev[12].kind, ScriptEventKind::Shot);
    EXPECT_EQ(ev[12].file, "out/first shot.png");
}

TEST(EventScript, CommentsBlankLinesAndLineEnds) {
    auto ev = parseOk("\xEF\xBB\xBF# a whole-line comment\r\n"
                      "\r\n"
                      "   \t\n"
                      "click 1 2   # after the event\r\n"
                      "  # indented comment\n"
                      "text hi # there\n"
                      "wait 0");
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].line, 4);
    EXPECT_EQ(ev[0].x, 1);
    EXPECT_EQ(ev[1].text, U"hi");
    EXPECT_EQ(ev[1].line, 6);
    EXPECT_EQ(ev[2].ms, 0u);
    EXPECT_EQ(ev[2].line, 7);
    EXPECT_TRUE(parseOk("").empty());
}

TEST(EventScript, MalformedLinesNameTheirLine) {
    EXPECT_EQ(parseError("click\n\nfrobnicate\n"), "events file 3: unknown event 'frobnicate'");
    EXPECT_EQ(parseError("click 1\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("# c\nclick 1 2 3\n").rfind("events file 2: ", 0), 0u);
    EXPECT_EQ(parseError("click x 2\n").rfind("events file 1: bad X", 0), 0u);
    EXPECT_EQ(parseError("rclick 2 y\n").rfind("events file 1: bad Y", 0), 0u);
    EXPECT_EQ(parseError("move\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("move 1\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("key\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("key ab\n").rfind("events file 1: unknown key", 0), 0u);
    EXPECT_EQ(parseError("key \xFF\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("key a b\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("menu\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("menu 12x\n").rfind("events file 1: bad menu id", 0), 0u);
    EXPECT_EQ(parseError("text\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("text \xC3\n").rfind("events file 1: ", 0), 0u);
    // Overlong encoding and an encoded surrogate are not characters.
    EXPECT_EQ(parseError("text \xC0\xAF\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("text \xED\xA0\x80\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("answer maybe\n").rfind("events file 1: bad answer", 0), 0u);
    EXPECT_EQ(parseError("answer\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("wait -5\n").rfind("events file 1: bad wait", 0), 0u);
    EXPECT_EQ(parseError("wait 5000000000\n").rfind("events file 1: bad wait", 0), 0u);
    EXPECT_EQ(parseError("wait\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("shot\n").rfind("events file 1: ", 0), 0u);
    EXPECT_EQ(parseError("click 99999999999 0\n").rfind("events file 1: bad X", 0), 0u);
    EXPECT_EQ(parseError("click\nclick\r\nwait 1\nmove a b\n").rfind("events file 4: ", 0), 0u);
}

TEST(EventScript, LoadsFromFile) {
    test::TempDir dir;
    auto path = dir.write("ev.txt", "click 3 4\nwait 10\n");
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(loadEventScript(path.string(), events, error)) << error;
    EXPECT_EQ(events.size(), 2u);
    EXPECT_FALSE(loadEventScript((dir.path() / "missing.txt").string(), events, error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
}

} // namespace
} // namespace orv
