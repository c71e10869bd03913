#include "shell/Startup.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace orv {

std::optional<SingleInstanceLock> SingleInstanceLock::acquire(const fs::path& lockFile) {
    std::error_code ec;
    fs::create_directories(lockFile.parent_path(), ec);
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // A lock that cannot even be opened must not keep the player out of the game.
    if (fd < 0) return SingleInstanceLock(-1);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return SingleInstanceLock(fd);
}

fs::path SingleInstanceLock::defaultPath() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        return fs::path(runtime) / "orvane.lock";
    return TempDirectory::base() / ("orvane-" + std::to_string(::getuid()) + ".lock");
}

SingleInstanceLock::SingleInstanceLock(SingleInstanceLock&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

fs::path TempDirectory::base() {
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? fs::path(dir) : fs::path("/tmp");
}

std::optional<TempDirectory> TempDirectory::make(std::string* error) {
    const fs::path dir = base();
    std::string pattern = (dir / ("orvane-" + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        if (error) *error = dir.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return TempDirectory(fs::path(pattern));
}

void TempDirectory::removeStale(const fs::path& base) {
    std::error_code ec;
    for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with("orvane-")) continue;
        // orvane-PID-XXXXXX: anything else (the lock file, other tools' names) is not ours.
        const char* first = name.data() + 7;
        const char* last = name.data() + name.size();
        int pid = 0;
        auto [rest, parsed] = std::from_chars(first, last, pid);
        if (parsed != std::errc() || rest == first || pid <= 0 || last - rest != 7 || *rest != '-')
            continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::getuid())
            continue;
        // Only a process known to be gone: a live one, or one we may not signal, keeps its own.
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        std::error_code removeError;
        fs::remove_all(it->path(), removeError);
    }
}

TempDirectory::TempDirectory(TempDirectory&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

TempDirectory::~TempDirectory() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove(path_, ec); // only succeeds when empty, as intended
}

} // namespace orv
