#include "interp/ProfileFile.h"

#include "util/sjis.h"

#include <cstdio>

namespace orv {

namespace {

bool isLeadByte(char c) {
    return sjis::isLeadByte(static_cast<unsigned char>(c));
}

// The profile service treats Ctrl-Z (an old end-of-file mark) as a blank too.
// Line ends never reach here: lines are split on them first.
bool isProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isProfileBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isProfileBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Callers hand over C strings in the engine; a NUL ends the text as it would there.
std::string_view untilNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

// Position of the last real ']' of a section line; 0x5D is also a valid trail byte.
std::size_t closingBracket(std::string_view line) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 1; i < line.size();) {
        if (isLeadByte(line[i]) && i + 1 < line.size()) {
            i += 2;
            continue;
        }
        if (line[i] == ']') found = i;
        ++i;
    }
    return found;
}

std::string finishValue(std::string_view value) {
    return std::string(truncateSjis(value, kProfileValueMax));
}

std::string finishFallback(std::string_view fallback) {
    fallback = untilNul(fallback);
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    return finishValue(fallback);
}

const ProfileSection* findSection(const std::vector<ProfileSection>& sections,
                                  std::string_view name) {
    name = trimBlanks(untilNul(name));
    for (const ProfileSection& s : sections) {
        if (profileNameEquals(s.name, name)) return &s;
    }
    return nullptr;
}

} // namespace

bool profileNameEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        if (isLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            i += 2;
            continue;
        }
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
        ++i;
    }
    return true;
}

std::string_view profileUnquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string_view truncateSjis(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t len = (isLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    return text.substr(0, i);
}

std::vector<ProfileSection> parseProfile(std::string_view text) {
    std::vector<ProfileSection> sections;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // CR, LF and CR LF all end a line; the empty line inside CR LF is skipped below.
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            std::size_t close = closingBracket(line);
            if (close != std::string_view::npos) {
                sections.push_back({trimBlanks(line.substr(1, close - 1)), {}});
                continue;
            }
            // Without a closing bracket the line is an ordinary one.
        }
        // Keys before the first section belong to no section and cannot be read.
        if (sections.empty()) continue;
        // '=' (0x3D) is below the trail-byte range, so a plain search is safe.
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        sections.back().keys.push_back(
            {trimBlanks(line.substr(0, eq)), trimBlanks(line.substr(eq + 1))});
    }
    return sections;
}

std::string readProfileString(std::string_view fileText, std::string_view section,
                              std::string_view key, std::string_view fallback) {
    const std::vector<ProfileSection> sections = parseProfile(fileText);
    // Only the first section of a name is searched, even when a later one repeats it.
    if (const ProfileSection* s = findSection(sections, section)) {
        key = trimBlanks(untilNul(key));
        for (const ProfileKey& k : s->keys) {
            if (profileNameEquals(k.name, key))
                return finishValue(profileUnquote(untilNul(k.value)));
        }
    }
    return finishFallback(fallback);
}

std::string readProfileFile(const std::filesystem::path& file, std::string_view section,
                            std::string_view key, std::string_view fallback) {
    // Read afresh on every call: the game or the player may rewrite the file meanwhile.
    return readProfileString(readProfileText(file).value_or(""), section, key, fallback);
}

std::optional<std::string> readProfileText(const std::filesystem::path& file) {
    // A stdio read: a directory or an unreadable file is simply absent, never an exception.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) text.append(chunk, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return text;
}

std::vector<std::string> profileSectionNames(std::string_view fileText) {
    std::vector<std::string> names;
    for (const ProfileSection& s : parseProfile(fileText)) names.emplace_back(s.name);
    return names;
}

std::vector<std::string> profileKeyNames(std::string_view fileText, std::string_view section) {
    std::vector<std::string> names;
    const std::vector<ProfileSection> sections = parseProfile(fileText);
    if (const ProfileSection* s = findSection(sections, section)) {
        for (const ProfileKey& k : s->keys) names.emplace_back(k.name);
    }
    return names;
}

} // namespace orv
