#include "util/binio.h"

#include <climits>
#include <gtest/gtest.h>

using namespace orv;

TEST(BinIo, RoundTripAndLayout) {
    BinWriter w;
    w.putInt32(0x01020304);
    w.putInt32(-2);
    w.putText("\x95\x5C\x8E\xA6"); // Shift-JIS stays as it is
    w.putText("");
    w.putText(std::string_view("ab\0cd", 5)); // stops at the zero byte
    w.putInt32(INT32_MIN);
    EXPECT_EQ(w.bytes(), std::string("\x04\x03\x02\x01\xFE\xFF\xFF\xFF\x95\x5C\x8E\xA6\0\0ab\0"
                                     "\0\0\0\x80",
                                     21));
    BinReader r(w.bytes());
    EXPECT_EQ(r.getInt32(), 0x01020304);
    EXPECT_EQ(r.getInt32(), -2);
    EXPECT_EQ(r.getText(), "\x95\x5C\x8E\xA6");
    EXPECT_EQ(r.getText(), "");
    EXPECT_EQ(r.getText(), "ab");
    EXPECT_EQ(r.getInt32(), INT32_MIN);
    EXPECT_TRUE(r.atEnd());
}

TEST(BinIo, ShortDataReadsAsZerosAndEmptyTexts) {
    BinWriter w;
    w.putInt32(-5);
    w.putText("name");
    w.putInt32(9);
    const std::string& full = w.bytes();
    for (size_t len = 0; len <= full.size(); ++len) {
        std::string cut = full.substr(0, len); // owned, so reading past it would be caught
        BinReader r(cut);
        EXPECT_EQ(r.getInt32(), len >= 4 ? -5 : 0) << len;
        EXPECT_EQ(r.getText(), len > 4 ? full.substr(4, std::min<size_t>(len - 4, 4)) : "") << len;
        EXPECT_EQ(r.getInt32(), len == full.size() ? 9 : 0) << len;
        EXPECT_TRUE(r.atEnd()) << len;
        EXPECT_EQ(r.getText(), "");
    }
}
