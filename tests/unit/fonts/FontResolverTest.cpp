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

TEST(FontResolver, FacesResolveToInstalledJapaneseFaces) {
    // Installed faces asked for by name keep their identity, even a proportional one. Faces not
    // installed anywhere, installed ones without kana (the Shift-JIS font request could not be met
    // by them) and an empty name (no face set yet) fall back to a Japanese fixed-pitch face.
    const std::pair<const char*, const char*> cases[] = {
        {"ＭＳ ゴシック", "IPAGothic"},      {"ＭＳ 明朝", "IPAMincho"},
        {"IPAMincho", "IPAMincho"},          {"IPAPGothic", "IPAPGothic"},
        {"ＨＧ創英角ポップ体", "IPAGothic"}, {"Zzyzx Nonexistent", "IPAGothic"},
        {"DejaVu Sans", "IPAGothic"},        {"", "IPAGothic"}};
    FontResolver r;
    for (auto [face, family] : cases) EXPECT_EQ(familyOf(r, face), family) << face;
    auto a = r.resolve("ＭＳ ゴシック");
    ASSERT_TRUE(a);
    EXPECT_EQ(std::pair(a->file, a->index),
              std::pair(r.resolve("ＭＳ ゴシック")->file, r.resolve("ＭＳ ゴシック")->index));
}

TEST(FontResolver, ListsJapaneseFixedPitchFacesForTheFontMenu) {
    FontResolver r;
    auto names = r.listJapaneseFixedPitchFaces();
    auto has = [&](const std::string& n) {
        return std::find(names.begin(), names.end(), n) != names.end();
    };
    // Proportional and Latin-only faces are not offered.
    EXPECT_EQ(
        (std::vector{has("IPAGothic"), has("IPAMincho"), has("IPAPGothic"), has("DejaVu Sans")}),
        (std::vector{true, true, false, false}));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    // Every listed face resolves to itself; vertical ('@') faces are not listed.
    for (const auto& n : names) {
        EXPECT_TRUE(!n.empty() && n[0] != '@') << n;
        EXPECT_EQ(familyOf(r, n), n);
    }
}
