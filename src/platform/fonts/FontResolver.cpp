#include "platform/fonts/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace orv {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* fcText(const std::string& s) {
    return reinterpret_cast<const FcChar8*>(s.c_str());
}

std::string fcString(const FcChar8* s) {
    return s ? reinterpret_cast<const char*>(s) : "";
}

void addJapanese(FcPattern* p) {
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(p, FC_LANG, langs); // copies the set
    FcLangSetDestroy(langs);
}

bool coversJapanese(FcPattern* font) {
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) != FcResultMatch) return false;
    return FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) != FcLangDifferentLang;
}

// Fixed pitch as the menu and the glyph font mean it: one cell width for every character
// ("mono") or a full and a half cell ("dual", as Japanese monospaced faces are).
bool isFixedPitch(FcPattern* font) {
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
    return spacing == FC_MONO || spacing == FC_DUAL;
}

// Family names compare as fontconfig compares them: blanks and letter case do not count.
std::string withoutBlanks(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
}

bool hasFamily(FcPattern* font, const std::string& name) {
    const std::string wanted = withoutBlanks(name);
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(fcText(withoutBlanks(fcString(family))), fcText(wanted)) == 0)
            return true;
    }
    return false;
}

// The family name to show for a font: its English name when it has one (stable whatever the
// user's locale makes fontconfig put first), otherwise the first.
std::string displayFamily(FcPattern* font) {
    FcChar8* first = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &first) != FcResultMatch) return {};
    FcChar8* family = nullptr;
    FcChar8* lang = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch &&
                    FcPatternGetString(font, FC_FAMILYLANG, i, &lang) == FcResultMatch;
         ++i) {
        if (FcStrCmpIgnoreCase(lang, reinterpret_cast<const FcChar8*>("en")) == 0)
            return fcString(family);
    }
    return fcString(first);
}

PatternPtr bestMatch(const std::string& faceUtf8, bool fixedPitch) {
    PatternPtr request(FcPatternCreate());
    if (!faceUtf8.empty()) FcPatternAddString(request.get(), FC_FAMILY, fcText(faceUtf8));
    addJapanese(request.get());
    if (fixedPitch) FcPatternAddInteger(request.get(), FC_SPACING, FC_MONO);
    FcPatternAddBool(request.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    return PatternPtr(FcFontMatch(nullptr, request.get(), &result));
}

std::optional<ResolvedFont> toResolved(FcPattern* font) {
    FcChar8* file = nullptr;
    if (!font || FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
    ResolvedFont r;
    r.file = fcString(file);
    FcPatternGetInteger(font, FC_INDEX, 0, &r.index);
    r.family = displayFamily(font);
    return r;
}

// The faces as fontconfig lists them, each once.
std::vector<std::string> listFixedPitchFaces() {
    std::vector<std::string> names;
    for (int spacing : {FC_MONO, FC_DUAL}) {
        PatternPtr query(FcPatternCreate());
        addJapanese(query.get());
        FcPatternAddInteger(query.get(), FC_SPACING, spacing);
        FcPatternAddBool(query.get(), FC_SCALABLE, FcTrue);
        std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
            FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr), &FcObjectSetDestroy);
        std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
            FcFontList(nullptr, query.get(), objects.get()), &FcFontSetDestroy);
        if (!fonts) continue;
        for (int i = 0; i < fonts->nfont; ++i) {
            std::string name = displayFamily(fonts->fonts[i]);
            if (!name.empty() && name[0] != '@') names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace

FontResolver::FontResolver() {
    // fontconfig's configuration is process-wide. Releasing it at exit (after every resolver is
    // gone) keeps leak checkers quiet about what the configuration parser allocated.
    static std::once_flag once;
    std::call_once(once, [] {
        FcInit();
        std::atexit([] { FcFini(); });
    });
}

std::optional<ResolvedFont> FontResolver::resolve(const std::string& faceUtf8) {
    static std::mutex guard;
    static std::unordered_map<std::string, std::optional<ResolvedFont>> answers;
    std::lock_guard lock(guard);
    if (auto it = answers.find(faceUtf8); it != answers.end()) return it->second;

    // Matching the name together with lang=ja makes fontconfig's aliases for the common Windows
    // Japanese faces apply and keeps Latin-only faces out. A face the request really named is
    // taken even when proportional (the old font mapper honoured the face name over the pitch);
    // when fontconfig merely guessed, the guess must be a fixed-pitch Japanese face, as the font
    // is requested with fixed pitch and the Shift-JIS character set. (The spacing cannot go into
    // the first request: it outweighs the aliases and would turn "ＭＳ 明朝" into a gothic face.)
    PatternPtr named = bestMatch(faceUtf8, false);
    std::optional<ResolvedFont> found;
    if (named && coversJapanese(named.get()) &&
        (isFixedPitch(named.get()) || hasFamily(named.get(), faceUtf8))) {
        found = toResolved(named.get());
    }
    if (!found) {
        PatternPtr fallback = bestMatch(std::string(), true);
        if (fallback && coversJapanese(fallback.get()) && isFixedPitch(fallback.get()))
            found = toResolved(fallback.get());
    }
    // Without any fixed-pitch Japanese face installed, whatever fontconfig offered still shows
    // something.
    if (!found) found = toResolved(named.get());

    answers.emplace(faceUtf8, found);
    return found;
}

std::vector<std::string> FontResolver::listJapaneseFixedPitchFaces() {
    static const std::vector<std::string> faces = listFixedPitchFaces();
    return faces;
}

} // namespace orv
