// The library slots and the sound plug-in registrations.
#include "sound/PluginCache.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

TEST(PluginCache, MP3DecoderTakesTheFirstSlotAndNamesCompareExactly) {
    PluginCache cache;
    EXPECT_EQ(cache.getLibrary(PluginCache::kMp3Decoder), 0u);
    EXPECT_EQ(cache.getLibrary("a.dll"), 1u);
    EXPECT_EQ(cache.getLibrary("A.dll"), 2u);
    EXPECT_EQ(cache.getLibrary("a.dll"), 1u);
}

TEST(PluginCache, AFullTableRefusesNewNamesOnly) {
    PluginCache cache;
    for (size_t i = 1; i < PluginCache::kSlots; ++i)
        ASSERT_EQ(cache.getLibrary("lib" + std::to_string(i)), i);
    EXPECT_FALSE(cache.getLibrary("one too many"));
    EXPECT_EQ(cache.getLibrary("lib7"), 7u);
}

TEST(SoundPluginList, FirstLowerCasedRegistrationWins) {
    SoundPluginList list;
    list.add("First.DLL|OGG");
    list.add("second.dll|ogg");
    list.add("x.dll|mid|i");
    EXPECT_EQ(list.findLibrary("ogg"), "first.dll");
    EXPECT_FALSE(list.findLibrary("OGG"));
    EXPECT_EQ(list.findLibrary("mid|i"), "x.dll");
    EXPECT_FALSE(list.findLibrary("mid"));
}

} // namespace
