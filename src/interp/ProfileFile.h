// Reader for Windows profile (.ini) files, following the lookup rules of the
// platform's private-profile service so that games relying on its quirks
// (trimming, quote stripping, case-insensitive names) read the same values.
// Texts are Shift-JIS bytes; only ASCII letters compare case-insensitively and
// the trail byte of a double-byte character is never mistaken for a delimiter.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The engine reads profile strings into a 256-byte buffer: 255 bytes and the NUL.
inline constexpr std::size_t kProfileValueMax = 255;

// Value of key in section of the profile file text, or fallback when absent; the rules of
// the Windows profile-file reader (case-insensitive names, whitespace trimming, quotes,
// comments...).
std::string readProfileString(std::string_view fileText, std::string_view section,
                              std::string_view key, std::string_view fallback);
// Same, reading the file; a missing file gives fallback.
std::string readProfileFile(const std::filesystem::path& file, std::string_view section,
                            std::string_view key, std::string_view fallback);

// The bytes of a profile file; nullopt when it is missing or cannot be read.
std::optional<std::string> readProfileText(const std::filesystem::path& file);

// Section names in file order, duplicates included.
std::vector<std::string> profileSectionNames(std::string_view fileText);
// Names of the keys of the first section of that name (lines without '=' are not keys).
std::vector<std::string> profileKeyNames(std::string_view fileText, std::string_view section);

// The parsed shape of a profile text, as views into it. Lines before the first
// section header, blank lines, ';' comment lines and lines without '=' are dropped.
struct ProfileKey {
    std::string_view name;  // trimmed
    std::string_view value; // trimmed, quotes still on
};
struct ProfileSection {
    std::string_view name; // trimmed, without the brackets
    std::vector<ProfileKey> keys;
};
std::vector<ProfileSection> parseProfile(std::string_view fileText);

// Name comparison of the profile service: ASCII letters ignore case, Shift-JIS
// double-byte characters compare as exact pairs.
bool profileNameEquals(std::string_view a, std::string_view b);
// A value wrapped in a matching pair of double or single quotes loses them.
std::string_view profileUnquote(std::string_view value);
// Cuts a Shift-JIS text to at most maxBytes without splitting a double-byte character.
std::string_view truncateSjis(std::string_view text, std::size_t maxBytes);

} // namespace orv
