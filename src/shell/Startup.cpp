#include "shell/Startup.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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
    return fs::temp_directory_path() / ("orvane-" + std::to_string(::getuid()) + ".lock");
}

SingleInstanceLock::SingleInstanceLock(SingleInstanceLock&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<TempDirectory> TempDirectory::make(std::string* error) {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) {
        if (error) *error = ec.message();
        return std::nullopt;
    }
    std::string pattern = (base / "orvane-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        if (error) *error = base.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return TempDirectory(fs::path(pattern));
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
