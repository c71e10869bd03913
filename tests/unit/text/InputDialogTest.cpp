// What inputstr and inputnum hand the platform's dialog: its caption and its prompt. What reaches
// the variable, and the refusals, are the input-* scenario tests.
#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;
using orv::test::repeat;

namespace {

TEST(InputDialogCaptions, NumberModeCaptionsTheDialog) {
    Harness h("text 1\nkey enter\n");
    EXPECT_EQ(h.run(kPrologue + std::string("inputnum %0,\"数は？\"\nend\n")), 0);
    ASSERT_EQ(h.platform().inputDialogs.size(), 1u);
    EXPECT_EQ(h.platform().inputDialogs[0].caption, "数値入力");
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

} // namespace
