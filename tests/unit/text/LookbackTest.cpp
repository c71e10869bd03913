// The lookback store: what it keeps and when it starts afresh. What a game leaves in it is the
// scenario folders lookback-pages and lookback-store-emptied.
#include "text/Lookback.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

void fillWithCharacters(LookbackStore& store, size_t bytes) {
    while (store.writePosition() + 2 <= bytes) store.appendCharacter('\x82', '\xa0');
}

} // namespace

TEST(LookbackStore, CharactersLineFeedsAndPageEnds) {
    LookbackStore store;
    store.appendCharacter('\x82', '\xa0');
    store.appendLineFeed();
    store.appendCharacter('a', 'b');
    store.appendPageBreak();
    EXPECT_EQ(store.text(), std::string_view("\x82\xa0\nab\\"));
    EXPECT_EQ(store.pageCount(), 1);
    store.clear();
    EXPECT_EQ(std::pair(store.writePosition(), store.pageCount()), std::pair(size_t(0), 0));
}

TEST(LookbackStore, ACharacterThatFillsTheStoreEmptiesIt) {
    LookbackStore store;
    fillWithCharacters(store, LookbackStore::kCapacity - 3); // 89996 bytes
    ASSERT_EQ(store.writePosition(), 89996u);
    store.appendCharacter('\x82', '\xa2'); // ends at 89998: still fits
    EXPECT_EQ(store.writePosition(), 89998u);
    store.appendCharacter('\x82', '\xa4'); // would end at 90000
    EXPECT_EQ(store.writePosition(), 0u);
}

TEST(LookbackStore, LineFeedsAndPageEndsNeverPassTheEnd) {
    LookbackStore store;
    fillWithCharacters(store, LookbackStore::kCapacity - 2);
    store.appendLineFeed();
    store.appendLineFeed();
    ASSERT_EQ(store.writePosition(), LookbackStore::kCapacity);
    // Full: a character, a line feed and a page end each start the store afresh.
    store.appendLineFeed();
    EXPECT_EQ(store.text(), "\n");
    for (int i = 0; i < 89999; ++i) store.appendLineFeed();
    ASSERT_EQ(store.writePosition(), LookbackStore::kCapacity);
    store.appendPageBreak();
    EXPECT_EQ(store.text(), "\\");
    EXPECT_EQ(store.pageCount(), 1);
    for (int i = 0; i < 89999; ++i) store.appendLineFeed();
    store.appendCharacter('a', 'b');
    EXPECT_EQ(store.writePosition(), 0u);
}

TEST(LookbackStore, KeepsTheLastTenPages) {
    LookbackStore store;
    // Page n holds 表 (whose second byte is a backslash) and the digit n.
    for (int page = 0; page < 12; ++page) {
        store.appendCharacter('\x95', '\x5c');
        store.appendCharacter('0', static_cast<char>('0' + page % 10));
        store.appendPageBreak();
    }
    EXPECT_EQ(store.pageCount(), 10);
    std::string kept; // pages 2 to 11
    for (int page = 2; page < 12; ++page)
        kept += std::string("\x95\\0") + char('0' + page % 10) + '\\';
    EXPECT_EQ(store.text(), kept);
}
