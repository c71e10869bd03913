#include "util/WatchedPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// Under the address sanitizer the byte after a block and a block given back are poisoned, so
// that reading past a glyph cell, or a cell the cache dropped, is still reported.
TEST(WatchedPool, BlockEndsAndReturnedBlocksArePoisoned) {
#ifndef ORV_WATCHED_POOL_ASAN
    GTEST_SKIP() << "only the address sanitizer watches the blocks";
#else
    orv::WatchedPool pool;
    for (size_t size : {1u, 7u, 8u, 676u, 5000u}) {
        std::pmr::vector<uint8_t> block(size, 0, &pool);
        EXPECT_FALSE(__asan_address_is_poisoned(block.data() + size - 1)) << size;
        EXPECT_TRUE(__asan_address_is_poisoned(block.data() + size)) << size;
        const uint8_t* given = block.data();
        block.clear();
        block.shrink_to_fit();
        EXPECT_TRUE(__asan_address_is_poisoned(given)) << size;
    }
#endif
}
