#include "platform/fonts/FontResolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using orv::FontResolver;

namespace {

std::string familyOf(FontResolver& r, const std::string& face) {
    auto found = r.resolve(face);
    if (!found) return "<none>";
    EXPECT_TRUE(std::filesystem::is_regular_file(found->file)) << found->file;
    return found->family;
}

} // namespace

TEST(FontResolver, WindowsJapaneseFacesResolveToInstalledJapaneseFaces) {
    FontResolver r;
    EXPECT_EQ(familyOf(r, "ＭＳ ゴシック"), "IPAGothic");
    EXPECT_EQ(familyOf(r, "ＭＳ 明朝"), "IPAMincho");
    // Installed faces asked for by name keep their identity, even a proportional one.
    EXPECT_EQ(familyOf(r, "IPAMincho"), "IPAMincho");
    EXPECT_EQ(familyOf(r, "IPAPGothic"), "IPAPGothic");
}

TEST(FontResolver, MissingOrLatinFacesFallBackToAJapaneseFixedPitchFace) {
    FontResolver r;
    // Not installed anywhere.
    EXPECT_EQ(familyOf(r, "ＨＧ創英角ポップ体"), "IPAGothic");
    EXPECT_EQ(familyOf(r, "Zzyzx Nonexistent"), "IPAGothic");
    // Installed, but without kana: the Shift-JIS font request could not be met by it.
    EXPECT_EQ(familyOf(r, "DejaVu Sans"), "IPAGothic");
    // An empty name (no face set yet) still gives a usable face.
    EXPECT_EQ(familyOf(r, ""), "IPAGothic");
}

TEST(FontResolver, RepeatedResolutionGivesTheSameFile) {
    FontResolver r;
    auto a = r.resolve("ＭＳ ゴシック");
    auto b = r.resolve("ＭＳ ゴシック");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->file, b->file);
    EXPECT_EQ(a->index, b->index);
}

TEST(FontResolver, ListsJapaneseFixedPitchFacesForTheFontMenu) {
    FontResolver r;
    auto names = r.listJapaneseFixedPitchFaces();
    auto has = [&](const std::string& n) {
        return std::find(names.begin(), names.end(), n) != names.end();
    };
    EXPECT_TRUE(has("IPAGothic"));
    EXPECT_TRUE(has("IPAMincho"));
    // Proportional and Latin-only faces are not offered.
    EXPECT_FALSE(has("IPAPGothic"));
    EXPECT_FALSE(has("DejaVu Sans"));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    for (const auto& n : names) {
        ASSERT_FALSE(n.empty());
        EXPECT_NE(n[0], '@') << n;
    }
    // Every listed face resolves to itself.
    for (const auto& n : names) EXPECT_EQ(familyOf(r, n), n);
}
