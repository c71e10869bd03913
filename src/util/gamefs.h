// The game folder as the scenario sees it.
//
// Scenario code names files in Shift-JIS, in any letter case, with '\' or '/' between folders, as
// on the file system the games were written for; the files on disk have UTF-8 names in whatever
// case they were unpacked with. Every name is resolved below the game folder:
//  - leading separators and a drive prefix ("C:") are ignored, so "\bgm\a.mid" is bgm/a.mid;
//  - "." components are dropped, ".." steps back one folder but never above the game folder;
//  - a file whose real path (symbolic links resolved) lies outside the game folder is not found.
// A folder is listed once and its listing answers later lookups, until this process writes a file
// (noteFilesWritten): an engine start asks for dozens of names, and listing the folder for each
// was most of the start's cost. Save files the engine writes are thus found at once; a name that
// is not in the listings is looked for once more in fresh listings of the folders that changed
// since they were listed, so that a file another process added (a game maker drawing a picture
// while the game runs) is found too, while a start that asks for many missing names lists its
// folder once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class GameFs {
public:
    explicit GameFs(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }

    // The file on disk for a scenario name (Shift-JIS, any case, '\\' or '/'), if it exists.
    // Each component matches case-insensitively (ASCII and full-width Latin letters); an
    // exact-case entry wins over other matches.
    std::optional<std::filesystem::path> find(std::string_view sjisName) const;

    bool exists(std::string_view sjisName) const { return find(sjisName).has_value(); }

    // The entry on disk for a name whatever its kind (file, folder, ...) and wherever a link in
    // it leads, so that a caller can say why it cannot be read.
    std::optional<std::filesystem::path> findEntry(std::string_view sjisName) const;

    // findEntry for the names "0" + suffix to (count - 1) + suffix (decimal numbers without
    // leading zeros; suffix in lower-case ASCII) directly in the game folder. The folder is read
    // once and each of its entries looked at once, so the cost follows what the folder holds
    // rather than how many numbers may exist.
    std::vector<std::optional<std::filesystem::path>>
    findNumberedEntriesInRoot(int count, std::string_view suffix) const;

    // True when the path, with every symbolic link resolved, lies inside the game folder.
    bool contains(const std::filesystem::path& path) const;

    // Whole file contents, or nullopt when missing/unreadable.
    std::optional<std::string> readAll(std::string_view sjisName) const;

    // Where to write a file of that name: the existing match, else root/<UTF-8 name>, using the
    // on-disk spelling of those leading folders that already exist.
    std::filesystem::path pathForWrite(std::string_view sjisName) const;

private:
    struct Entry {
        std::string name;
        std::string folded;
    };
    struct Listing {
        std::vector<Entry> entries;
        // The folder's modification time when it was listed, and whether a later change could
        // leave that time as it was (a folder changed moments before).
        int64_t modifiedNs = 0;
        bool unsure = true;
    };
    // The entries of dir in name order. The public lookups drop stale listings once on entry, so
    // that a write elsewhere cannot free a listing in the middle of a lookup.
    const std::vector<Entry>& listing(const std::filesystem::path& dir) const;
    // Entries of dir whose names equal name apart from case, other than the exact spelling.
    std::vector<std::filesystem::path> caseVariants(const std::filesystem::path& dir,
                                                    const std::string& name) const;
    std::optional<std::filesystem::path>
    resolve(const std::filesystem::path& dir, const std::vector<std::string>& parts, size_t i,
            bool (*wanted)(const std::filesystem::path&)) const;
    // Forgets the listings when this process has written files since they were taken.
    void dropStaleListings() const;
    // Forgets the listings of folders that may have changed since they were listed; false when
    // every listing still holds (a miss then was already fresh).
    bool forgetChangedListings() const;
    static bool stillHolds(const std::filesystem::path& dir, const Listing& kept);

    std::filesystem::path root_;
    mutable std::map<std::filesystem::path, Listing> listings_;
    mutable std::optional<std::filesystem::path> canonicalRoot_;
    mutable uint64_t listedGeneration_ = 0;
};

// This process has written, replaced or removed a file: every GameFs lists its folders afresh.
void noteFilesWritten();

// At most maxBytes from the start of a regular file; the size is looked at before reading, so a
// huge file costs no more than maxBytes. nullopt when it cannot be read, with the reason (the
// system's text) in *error.
std::optional<std::string> readFilePrefix(const std::filesystem::path& path, size_t maxBytes,
                                          std::string* error);

} // namespace orv
