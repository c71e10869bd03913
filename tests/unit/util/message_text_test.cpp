#include "util/escape.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(EscapeControls, ShowsControlsAndKeepsText) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"\x1b]0;t\x07\x1b[2J", "\\x1b]0;t\\x07\\x1b[2J"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\r\x7f\x1f", "\\x0d\\x7f\\x1f"},
        {"line\n\tnext", "line\n\tnext"},
        {"\xc2\x9b"
         "1m",
         "\\u009b1m"},
        {"あ\xc2\xa0\xc2", "あ\xc2\xa0\xc2"},
    };
    for (const auto& c : cases) EXPECT_EQ(escapeControls(c.in), c.out) << c.in;
}

TEST(WholeCharactersLength, EndsBeforeALoneLeadByte) {
    const struct {
        std::string in;
        size_t length;
    } cases[] = {
        {"", 0},
        {"ab", 2},
        {"\x82\xa0", 2},
        {"a\x82", 1},
        {"\x82\xa0\xe0", 2},
        {"\x82"
         "a",
         2},
    };
    for (const auto& c : cases) EXPECT_EQ(sjis::wholeCharactersLength(c.in), c.length) << c.in;
}
