// inputstr and inputnum run in-process on the headless platform: the events file types into the
// dialog, presses 決定 and answers the refusals; what reaches the variable, or the refusal that
// keeps the dialog open, is checked.
#include "EngineHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;
using orv::test::repeat;

namespace {

const std::string kNumber = "inputnum %0,\"数は？\"";
const std::string kThreeWide = "inputstr $0,\"名前は？\",6,1";
const std::string kSixNarrow = "inputstr $0,\"名前は？\",6,0";

struct InputCase {
    const char* name;
    std::string command;
    std::string events;
    // The answer stored, as the variable shows it (UTF-8 or decimal); empty when refused.
    std::string stored;
    // The last message box of the run, when the answer is refused (the run then ends with 3).
    std::string refusal;
};

const std::string kNotNumber = "[数値入力] 数値を入力してください。";
const std::string kEmpty = "[文字列入力] 文字列を入力してください。";
const std::string kTooLong = "[文字列入力] 文字列が長すぎます。";
const std::string kNotWide = "[文字列入力] 全て全角文字で入力してください。";

const InputCase kCases[] = {
    {"minus-twelve", kNumber, "text -12\nkey enter\n", "-12", ""},
    {"empty-number", kNumber, "key enter\n", "0", ""},
    {"lone-minus", kNumber, "text -\nkey enter\n", "0", ""},
    {"past-32-bits", kNumber, "text 99999999999\nkey enter\n", "2147483647", ""},
    {"minus-inside", kNumber, "text 1-2\nkey enter\n", "", kNotNumber},
    {"plus-sign", kNumber, "text +5\nkey enter\n", "", kNotNumber},
    {"decimal-point", kNumber, "text 3.5\nkey enter\n", "", kNotNumber},
    {"full-width-digits", kNumber, "text １２\nkey enter\n", "", kNotNumber},
    {"escape-does-nothing", kNumber, "text 7\nkey escape\nkey enter\n", "7", ""},
    {"three-wide", kThreeWide, "text あいう\nkey enter\n", "あいう", ""},
    {"four-wide-too-long", kThreeWide, "text あいうえ\nkey enter\n", "", kTooLong},
    {"half-width-letter", kThreeWide, "text あaい\nkey enter\n", "", kNotWide},
    {"half-width-kana", kThreeWide, "text ｱｲｳ\nkey enter\n", "", kNotWide},
    {"empty-before-width", kThreeWide, "key enter\n", "", kEmpty},
    {"long-before-width", kThreeWide, "text abcdefgh\nkey enter\n", "", kTooLong},
    {"six-narrow", kSixNarrow, "text ab cd!\nkey enter\n", "ab cd!", ""},
    {"seven-narrow", kSixNarrow, "text abcdefg\nkey enter\n", "", kTooLong},
    {"outside-cp932", kSixNarrow, "text a😀\nkey enter\n", "",
     "[文字列入力] 「😀」は使えない文字です。別の文字で入力してください。"},
    // The wave dash an input method types for ～ is kept as the code page's own ～.
    {"wave-dash", kThreeWide, "text 〜\nkey enter\n", "～", ""},
    {"cut-at-255-bytes", "inputstr $0,\"p\",1000,0",
     "text aa" + repeat("あ", 150) + "\nkey enter\n", "aa" + repeat("あ", 126), ""},
    // The refused text stays in the field: what is typed next is added to it.
    {"field-keeps-its-text", "inputstr $0,\"p\",4,1",
     "text abc\nkey enter\nanswer ok\ntext de\nkey enter\n", "", kTooLong},
    // A maximum length of -1 is the number mode, whichever command asks.
    {"inputstr-minus-one", "inputstr $0,\"p\",-1,0", "text 12\nkey enter\n", "12", ""},
    {"sizes-given", kNumber + ",200,60,100,20", "text 5\nkey enter\n", "5", ""},
};

class InputDialog : public ::testing::TestWithParam<InputCase> {};

TEST_P(InputDialog, StoresTheAnswerOrKeepsTheDialogOpen) {
    const InputCase& c = GetParam();
    Harness h(c.events);
    h.scenario(kPrologue + c.command + "\nend\n");
    const int status = h.run();
    const std::string log = h.log();
    if (!c.refusal.empty()) {
        EXPECT_EQ(status, 3) << log;
        const size_t last = log.rfind('[');
        EXPECT_EQ(log.substr(last, log.find('\n', last) - last), c.refusal) << log;
        return;
    }
    ASSERT_EQ(status, 0) << log;
    const bool number = c.command.starts_with("inputnum");
    EXPECT_EQ(number ? std::to_string(h.engine().vars.num[0])
                     : sjis::toUtf8(h.engine().vars.str[0]),
              c.stored);
    EXPECT_EQ(log, "") << "a refusal was shown";
}

INSTANTIATE_TEST_SUITE_P(All, InputDialog, ::testing::ValuesIn(kCases), test::CaseName());

TEST(InputDialogCaptions, NumberModeCaptionsTheDialogAndItsRefusal) {
    Harness h("text x\nkey enter\n");
    EXPECT_EQ(h.run(kPrologue + kNumber + "\nend\n"), 3);
    ASSERT_EQ(h.platform().inputDialogs.size(), 1u);
    EXPECT_EQ(h.platform().inputDialogs[0].caption, "数値入力");
    EXPECT_EQ(h.log(), kNotNumber + "\n");
}

// A prompt from a variable may be longer than the dialog's buffer: it is cut before the
// character that would not fit whole.
TEST(InputDialogCaptions, ALongPromptIsCutOnACharacterBoundary) {
    Harness h("text a\nkey enter\n");
    const std::string wide = repeat("あ", 127);
    h.scenario(std::string(kPrologue) + "mov $1,\"aa\"\nmov $2,\"" + wide +
               "\"\nadd $1,$2\nadd $1,$2\n" + "inputstr $0,$1,6,0\nend\n");
    EXPECT_EQ(h.run(), 0);
    ASSERT_EQ(h.platform().inputDialogs.size(), 1u);
    EXPECT_EQ(h.platform().inputDialogs[0].prompt, "aa" + repeat("あ", 126));
}

// With --auto-click and the events used up, the field's text is the answer when it passes, else
// 「名無し」 cut to the maximum length.
TEST(InputDialogCaptions, AnAutomaticClickAnswersWithTheFieldOrTheDefault) {
    struct Row {
        std::string command, events, stored;
    };
    for (const Row& r : {Row{kSixNarrow, "text abc\n", "abc"}, Row{kThreeWide, "", "名無し"},
                         Row{"inputstr $0,\"p\",5,1", "text abcdefg\n", "名無"}}) {
        Harness h(r.events, 600000, true);
        EXPECT_EQ(h.run(kPrologue + r.command + "\nend\n"), 0) << r.command;
        EXPECT_EQ(sjis::toUtf8(h.engine().vars.str[0]), r.stored) << r.command;
    }
}

} // namespace
