// What the program secures before the engine runs: one copy per user at a time,
// and a private temporary directory for extracted archive files and converted sound.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace orv {

// Held for the life of the process; the kernel drops it when the process ends,
// however it ends, so a crashed copy never blocks the next start.
class SingleInstanceLock {
public:
    // nullopt when another copy of the same user holds the lock.
    static std::optional<SingleInstanceLock> acquire(const std::filesystem::path& lockFile);
    static std::filesystem::path defaultPath();
    SingleInstanceLock(SingleInstanceLock&& other) noexcept;
    SingleInstanceLock& operator=(SingleInstanceLock&&) = delete;
    ~SingleInstanceLock();

private:
    explicit SingleInstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// A directory of this run's own under $TMPDIR, named orvane-PID-XXXXXX. Removed at the end when
// empty (anything left in it was not ours to delete).
class TempDirectory {
public:
    // nullopt with the reason, naming the directory it tried, in *error.
    static std::optional<TempDirectory> make(std::string* error);
    // $TMPDIR when set, else /tmp.
    static std::filesystem::path base();
    // Removes what runs of this user left behind in base when they ended without their
    // shut-down (killed, crashed): directories orvane-PID-* whose process is gone.
    static void removeStale(const std::filesystem::path& base);
    TempDirectory(TempDirectory&& other) noexcept;
    TempDirectory& operator=(TempDirectory&&) = delete;
    ~TempDirectory();
    const std::filesystem::path& path() const { return path_; }

private:
    explicit TempDirectory(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

} // namespace orv
