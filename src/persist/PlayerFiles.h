// The folder of the files the player keeps (save slots, "gloval.sav", the read-file log,
// "envdata"): the game folder, as the engine always kept them, so that saves carry over; another
// folder when the command line names one or the game folder cannot be written.
#pragma once

#include "util/gamefs.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct Engine;

class PlayerFiles {
public:
    explicit PlayerFiles(std::filesystem::path folder)
        : folder_(folder), names_(std::move(folder)) {}

    // Files kept in this object only, never on a disk: for runs that keep nothing (the fuzz
    // target), where writing the files and listing their folder again was much of a short run.
    static PlayerFiles inMemory();

    const std::filesystem::path& folder() const { return folder_; }
    // Whether a write waits until the file is on the disk; off for runs whose files are thrown
    // away (--explore's scratch folders), where the wait would be most of a run.
    bool durable = true;

    // The file's whole contents when it is there; a file larger than maxBytes reads as its first
    // maxBytes (every reader of these files takes a short file as a complete one).
    std::optional<std::string> read(std::string_view name, size_t maxBytes) const;
    // When the file was last written; nothing when it is not there.
    std::optional<std::filesystem::file_time_type> modified(std::string_view name) const;
    // Replaces the file atomically; false with one line for the player in *error.
    bool write(std::string_view name, std::string_view bytes, std::string* error) const;

private:
    struct KeptFile {
        std::string bytes;
        std::filesystem::file_time_type written;
    };

    std::filesystem::path pathOf(std::string_view name) const;
    std::filesystem::path folder_;
    // The folder's names, listed once and again after each write.
    GameFs names_;
    // The files by name, for files kept in memory.
    mutable std::optional<std::map<std::string, KeptFile, std::less<>>> memory_;
};

// The folder for a game: saveDir when given (made when missing), else the game folder when it
// can be written, else a folder of its own under $XDG_DATA_HOME/orvane (or ~/.local/share/orvane).
// A line for stderr in *notice when the files go elsewhere than asked or cannot be kept.
std::filesystem::path choosePlayerFolder(const std::filesystem::path& gameDir,
                                         const std::string& saveDir, std::string* notice);

// Replaces one of the player's files. A failure leaves the old file as it was and is told to the
// player (a message box, and a line on stderr), since a lost save must never go unnoticed.
bool writePlayerFile(Engine& engine, std::string_view name, std::string_view bytes);

} // namespace orv
