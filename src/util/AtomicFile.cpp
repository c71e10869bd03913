#include "util/AtomicFile.h"

#include "util/gamefs.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

bool fail(std::string* error, const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    return false;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(size_t(n));
    }
    return true;
}

// The rename itself survives a power cut only once the folder's entry is on the disk.
void syncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

mode_t currentUmask() {
    static const mode_t mask = [] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error, bool durable) {
    const std::filesystem::path folder = path.parent_path();
    std::string temporary = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) return fail(error, "cannot create a temporary file");
    bool ok = writeAll(fd, bytes) || fail(error, "cannot write");
    ok = ok && (!durable || ::fsync(fd) == 0 || fail(error, "cannot flush"));
    // mkstemp makes the file private; the player's files are ordinary files of theirs.
    if (ok) ::fchmod(fd, 0644 & ~currentUmask());
    if (::close(fd) != 0 && ok) ok = fail(error, "cannot write");
    ok = ok && (::rename(temporary.c_str(), path.c_str()) == 0 || fail(error, "cannot replace"));
    noteFilesWritten();
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (durable) syncFolder(folder);
    return true;
}

} // namespace orv
