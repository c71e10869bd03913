// Face names -> font files, through fontconfig.
//
// The engine asks for fonts by the face names a game was written for ("ＭＳ ゴシック", "ＭＳ 明朝",
// or whatever `defaultfont` names) and always for the Shift-JIS character set. Here that request
// becomes a font file that really covers Japanese: the name is matched together with lang=ja (a
// bare "ＭＳ ゴシック" would otherwise land on a Latin sans face with no kana), and a name that no
// installed Japanese font answers to falls back to an installed Japanese fixed-pitch face.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orv {

struct ResolvedFont {
    std::string file;   // path of the font file
    int index = 0;      // face index inside the file (TrueType collections)
    std::string family; // the family fontconfig chose, for diagnostics and tests
};

class FontResolver {
public:
    FontResolver();

    // `faceUtf8` is the face name converted from the engine's Shift-JIS. Empty when no font at
    // all can be found. Results are cached per name.
    std::optional<ResolvedFont> resolve(const std::string& faceUtf8);

    // Family names of the installed Japanese fixed-pitch faces, for the font menu: sorted, each
    // once, without the vertical '@' variants. fontconfig reports the IPA faces as "dual" (full-
    // and half-width cells) rather than "mono", and both count as fixed pitch here.
    std::vector<std::string> listJapaneseFixedPitchFaces();

private:
    std::unordered_map<std::string, std::optional<ResolvedFont>> cache_;
};

} // namespace orv
