#include "interp/RegistryStore.h"

#include "interp/ProfileFile.h"
#include "util/sjis.h"

#include <cstdlib>
#include <vector>

namespace fs = std::filesystem;

namespace orv {

namespace {

bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        // Number of continuation bytes; 4 marks a byte that cannot start a character.
        std::size_t n = b < 0x80             ? 0
                        : (b & 0xE0) == 0xC0 ? 1
                        : (b & 0xF0) == 0xE0 ? 2
                        : (b & 0xF8) == 0xF0 ? 3
                                             : 4;
        if (n == 4 || s.size() - i <= n) return false;
        for (std::size_t k = 1; k <= n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += n + 1;
    }
    return true;
}

// The one place where the file's text becomes engine text. A file saved by a
// Shift-JIS editor (not valid UTF-8) is taken as it is rather than garbled.
std::optional<std::string> loadAsSjis(const fs::path& file) {
    std::optional<std::string> bytes = readProfileText(file);
    if (!bytes) return std::nullopt;
    const std::string& text = *bytes;
    if (text.starts_with("\xEF\xBB\xBF")) return sjis::fromUtf8(std::string_view(text).substr(3));
    if (validUtf8(text)) return sjis::fromUtf8(text);
    return bytes;
}

// Splits a Shift-JIS key path on '\\', which is also a valid trail byte. Empty
// components (doubled, leading or trailing separators) are dropped.
std::vector<std::string_view> splitKeyPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size();) {
        if (i < path.size() && sjis::isLeadByte(static_cast<unsigned char>(path[i])) &&
            i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (i == path.size() || path[i] == '\\') {
            if (i > start) parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
        ++i;
    }
    return parts;
}

bool samePath(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!profileNameEquals(a[i], b[i])) return false;
    }
    return true;
}

// Sections may be pasted from registry exports, which spell out the root.
std::vector<std::string_view> sectionPath(std::string_view name) {
    std::vector<std::string_view> parts = splitKeyPath(name);
    if (!parts.empty() &&
        (profileNameEquals(parts[0], "HKEY_CURRENT_USER") || profileNameEquals(parts[0], "HKCU"))) {
        parts.erase(parts.begin());
    }
    return parts;
}

} // namespace

RegistryStore::RegistryStore(fs::path file) : file_(std::move(file)) {}

fs::path RegistryStore::defaultPath() {
    // Relative values are to be ignored, as for every XDG base directory.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && fs::path(xdg).is_absolute()) {
        return fs::path(xdg) / "orvane" / "registry.ini";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return fs::path(home) / ".config" / "orvane" / "registry.ini";
    }
    return {};
}

std::optional<std::string> RegistryStore::read(std::string_view keyPath,
                                               std::string_view valueName) const {
    if (file_.empty()) return std::nullopt;
    const std::optional<std::string> text = loadAsSjis(file_);
    if (!text) return std::nullopt;
    const std::vector<std::string_view> wanted = splitKeyPath(keyPath);
    const std::string_view name = valueName.empty() ? std::string_view("@") : valueName;
    // A key split over several sections is still one key: the first value found wins.
    for (const ProfileSection& s : parseProfile(*text)) {
        if (!samePath(sectionPath(s.name), wanted)) continue;
        for (const ProfileKey& k : s.keys) {
            if (profileNameEquals(k.name, name)) return std::string(profileUnquote(k.value));
        }
    }
    return std::nullopt;
}

} // namespace orv
