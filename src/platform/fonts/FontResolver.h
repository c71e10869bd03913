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
    // all can be found. Results are kept per name for the whole process, as fontconfig reads its
    // configuration once per process: every engine started in it asks the same questions.
    std::optional<ResolvedFont> resolve(const std::string& faceUtf8);

    // Family names of the installed Japanese fixed-pitch faces, for the font menu: sorted, each
    // once, without the vertical '@' variants. fontconfig reports the IPA faces as "dual" (full-
    // and half-width cells) rather than "mono", and both count as fixed pitch here.
    // Also kept for the whole process.
    std::vector<std::string> listJapaneseFixedPitchFaces();
};

} // namespace orv
