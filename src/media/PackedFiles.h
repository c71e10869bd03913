// Files packed into archives, and pictures in formats other than BMP, behind the registrations
// `arc` and `spi`. The libraries these name are only recorded in the plug-in cache: archives
// are read with libarchive (ZIP, LZH, 7z, tar, ...) and pictures decoded by content.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Engine;

struct PackedFilesState {
    static constexpr size_t kMaxEntries = 50;
    // "library|extension" and "archive|library", lower-cased, in registration order.
    std::vector<std::string> pictureLibraries;
    std::vector<std::string> archives;
};

// The largest member extracted; a bigger one (or one that claims to be) is refused.
inline constexpr uint64_t kMaxMemberBytes = uint64_t(256) << 20;

// A file missing on disk, from the first registered archive that holds it, copied into the run's
// temporary directory under its base name alone (whatever the member's path says); nullopt
// when no archive has it. The caller deletes the copy after use.
std::optional<std::filesystem::path> extractFromArchive(Engine& engine, std::string_view name);

// A name as archives are searched for it: '\\' between folders, ASCII letters of any case alike.
std::string archiveKey(std::string_view sjisName);
// The keys of the files an archive holds; empty when it cannot be read.
std::vector<std::string> archiveMemberKeys(const std::filesystem::path& archivePath);

// The library registered by `spi` for a lower-cased extension (the first registration wins).
std::optional<std::string> pictureLibraryFor(const Engine& engine, std::string_view extension);

void cmdSpi(Engine& engine);
void cmdArc(Engine& engine);

// Each engine pass: both lists empty until the definition block fills them.
void startPackedFilesPass(Engine& engine);

} // namespace orv
