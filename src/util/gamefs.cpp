#include "util/gamefs.h"

#include "util/sjis.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace orv {
namespace {

// The scenario name as UTF-8 path components below the game folder. Splitting happens after
// decoding, so a 0x5C second byte (as in "表" or "ソ") is never taken for a separator.
std::vector<std::string> splitName(std::string_view sjisName) {
    std::string utf8 = sjis::toUtf8(sjisName);
    size_t pos = 0;
    if (utf8.size() >= 2 && utf8[1] == ':' &&
        ((utf8[0] >= 'A' && utf8[0] <= 'Z') || (utf8[0] >= 'a' && utf8[0] <= 'z')))
        pos = 2;
    std::vector<std::string> parts;
    while (pos <= utf8.size()) {
        size_t end = utf8.find_first_of("\\/", pos);
        if (end == std::string::npos) end = utf8.size();
        std::string part = utf8.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        pos = end + 1;
    }
    return parts;
}

// Folds ASCII letters and full-width Latin capitals (U+FF21-U+FF3A, UTF-8 EF BC A1-BA) to lower
// case. Works on raw bytes, so names on disk that are not valid UTF-8 still compare.
std::string fold(std::string_view name) {
    std::string out(name);
    for (size_t i = 0; i < out.size(); ++i) {
        auto b = static_cast<unsigned char>(out[i]);
        if (b >= 'A' && b <= 'Z') {
            out[i] = static_cast<char>(b + ('a' - 'A'));
        } else if (b == 0xEF && i + 2 < out.size() &&
                   static_cast<unsigned char>(out[i + 1]) == 0xBC) {
            auto c = static_cast<unsigned char>(out[i + 2]);
            if (c >= 0xA1 && c <= 0xBA) {
                out[i + 1] = static_cast<char>(0xBD);
                out[i + 2] = static_cast<char>(c - 0x20);
            }
            i += 2;
        }
    }
    return out;
}

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool isDirectory(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool isEntry(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

int64_t nanoseconds(const timespec& t) {
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

std::optional<int64_t> modifiedNs(const fs::path& dir) {
    struct stat info {};
    if (::stat(dir.c_str(), &info) != 0) return std::nullopt;
    return nanoseconds(info.st_mtim);
}

// The clock file systems stamp changes with.
int64_t coarseNowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return nanoseconds(now);
}

// The number a folded name spells before suffix: decimal digits without a leading zero.
std::optional<int> numberBefore(std::string_view folded, std::string_view suffix) {
    if (folded.size() <= suffix.size() || !folded.ends_with(suffix)) return std::nullopt;
    const std::string_view digits = folded.substr(0, folded.size() - suffix.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Bumped by every write of this process; a GameFs whose listings are older lists again.
std::atomic<uint64_t> filesGeneration{1};

} // namespace

void noteFilesWritten() {
    filesGeneration.fetch_add(1, std::memory_order_relaxed);
}

GameFs::GameFs(fs::path root) : root_(std::move(root)) {}

void GameFs::dropStaleListings() const {
    uint64_t now = filesGeneration.load(std::memory_order_relaxed);
    if (listedGeneration_ == now) return;
    listings_.clear();
    canonicalRoot_.reset();
    listedGeneration_ = now;
}

bool GameFs::stillHolds(const fs::path& dir, const Listing& kept) {
    if (kept.unsure) return false;
    std::optional<int64_t> now = modifiedNs(dir);
    return now && *now == kept.modifiedNs;
}

bool GameFs::forgetChangedListings() const {
    bool forgot = false;
    for (auto it = listings_.begin(); it != listings_.end();) {
        if (stillHolds(it->first, it->second)) {
            ++it;
        } else {
            it = listings_.erase(it);
            forgot = true;
        }
    }
    return forgot;
}

const std::vector<GameFs::Entry>& GameFs::listing(const fs::path& dir) const {
    auto [slot, added] = listings_.try_emplace(dir);
    Listing& kept = slot->second;
    std::vector<Entry>& entries = kept.entries;
    if (!added) return entries;
    // A change stamps the folder with the time, in the file system's grain: a tick of a few
    // milliseconds, or whole seconds (two on some disks). A later change may repeat a stamp
    // that recent, so such a listing is not trusted on a miss; an older one cannot.
    constexpr int64_t kStampGrainNs = 2'000'000'000;
    const int64_t now = coarseNowNs();
    if (std::optional<int64_t> stamp = modifiedNs(dir)) {
        kept.modifiedNs = *stamp;
        kept.unsure = *stamp > now - kStampGrainNs;
    }
    // Each entry's name and folded name once, not once per name asked for.
    if (DIR* stream = ::opendir(dir.c_str())) {
        while (const dirent* entry = ::readdir(stream)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string folded = fold(name);
            entries.push_back({std::move(name), std::move(folded)});
        }
        ::closedir(stream);
    }
    // A fixed order, so that the choice among several spellings does not depend on the
    // directory's order.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

std::vector<fs::path> GameFs::caseVariants(const fs::path& dir, const std::string& name) const {
    std::vector<fs::path> found;
    std::string wanted = fold(name);
    for (const Entry& e : listing(dir))
        if (e.name != name && e.folded == wanted) found.push_back(dir / e.name);
    return found;
}

// The path of parts below dir; the last part must satisfy wanted.
std::optional<fs::path> GameFs::resolve(const fs::path& dir, const std::vector<std::string>& parts,
                                        size_t i, bool (*wanted)(const fs::path&)) const {
    bool last = i + 1 == parts.size();
    auto tryEntry = [&](const fs::path& p) -> std::optional<fs::path> {
        if (last) return wanted(p) ? std::optional<fs::path>(p) : std::nullopt;
        return isDirectory(p) ? resolve(p, parts, i + 1, wanted) : std::nullopt;
    };
    if (auto r = tryEntry(dir / parts[i])) return r;
    for (const fs::path& p : caseVariants(dir, parts[i]))
        if (auto r = tryEntry(p)) return r;
    return std::nullopt;
}

std::optional<fs::path> GameFs::find(std::string_view sjisName) const {
    dropStaleListings();
    std::vector<std::string> parts = splitName(sjisName);
    if (parts.empty()) return std::nullopt;
    std::optional<fs::path> path = resolve(root_, parts, 0, isFile);
    if (!path && forgetChangedListings()) path = resolve(root_, parts, 0, isFile);
    // A link may lead anywhere; the promise is about where the bytes come from.
    if (path && !contains(*path)) return std::nullopt;
    return path;
}

std::optional<fs::path> GameFs::findEntry(std::string_view sjisName) const {
    dropStaleListings();
    std::vector<std::string> parts = splitName(sjisName);
    if (parts.empty()) return std::nullopt;
    std::optional<fs::path> path = resolve(root_, parts, 0, isEntry);
    if (!path && forgetChangedListings()) path = resolve(root_, parts, 0, isEntry);
    return path;
}

std::vector<std::optional<fs::path>>
GameFs::findNumberedEntriesInRoot(int count, std::string_view suffix) const {
    dropStaleListings();
    // Asked once per engine start: a listing fresh or still holding, so that a scenario file
    // added since the last start is read.
    if (auto kept = listings_.find(root_);
        kept != listings_.end() && !stillHolds(root_, kept->second))
        listings_.erase(kept);
    // Per number, the entries that spell it in name order; the exact (lower-case) spelling is
    // moved to the front, since it wins over other spellings.
    std::vector<std::vector<const Entry*>> spellings(size_t(std::max(count, 0)));
    for (const Entry& e : listing(root_)) {
        const std::optional<int> n = numberBefore(e.folded, suffix);
        if (!n || *n >= count) continue;
        std::vector<const Entry*>& list = spellings[size_t(*n)];
        if (e.name == e.folded)
            list.insert(list.begin(), &e);
        else
            list.push_back(&e);
    }
    std::vector<std::optional<fs::path>> found(spellings.size());
    for (size_t n = 0; n < spellings.size(); ++n) {
        for (const Entry* e : spellings[n]) {
            fs::path path = root_ / e->name;
            if (!isEntry(path)) continue;
            found[n] = std::move(path);
            break;
        }
    }
    return found;
}

bool GameFs::contains(const fs::path& path) const {
    dropStaleListings();
    std::error_code ec;
    if (!canonicalRoot_) {
        fs::path root = fs::canonical(root_, ec);
        if (ec) return false;
        canonicalRoot_ = std::move(root);
    }
    const fs::path& root = *canonicalRoot_;
    fs::path real = fs::canonical(path, ec);
    if (ec) return false;
    auto [inRoot, inPath] = std::mismatch(root.begin(), root.end(), real.begin(), real.end());
    return inRoot == root.end();
}

std::optional<std::string> GameFs::readAll(std::string_view sjisName) const {
    std::optional<fs::path> path = find(sjisName);
    if (!path) return std::nullopt;
    return readFilePrefix(*path, std::numeric_limits<size_t>::max(), nullptr);
}

std::optional<std::string> readFilePrefix(const fs::path& path, size_t maxBytes,
                                          std::string* error) {
    auto fail = [&](int code) -> std::optional<std::string> {
        if (error) *error = std::strerror(code);
        return std::nullopt;
    };
    // Non-blocking, so that a named pipe cannot hold the open; it is refused below anyway.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(errno);
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) return fail(errno);
    if (S_ISDIR(info.st_mode)) return fail(EISDIR);
    if (!S_ISREG(info.st_mode)) {
        if (error) *error = "not a regular file";
        return std::nullopt;
    }
    std::string data;
    data.resize(std::min(maxBytes, size_t(info.st_size)));
    size_t filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (filled >= maxBytes) break;
            // The end is probed with a small read, since growing the string for it would cost
            // more than a small file's whole read; a file that grew since it was measured reads
            // on from there, still within the limit.
            char probe[512];
            ssize_t got = ::read(fd, probe, std::min(sizeof probe, maxBytes - filled));
            if (got < 0) {
                if (errno == EINTR) continue;
                return fail(errno);
            }
            if (got == 0) break;
            data.append(probe, size_t(got));
            filled += size_t(got);
            data.resize(std::min(maxBytes, filled + 65536));
            continue;
        }
        ssize_t got = ::read(fd, data.data() + filled, data.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (got == 0) break;
        filled += size_t(got);
    }
    data.resize(filled);
    return data;
}

fs::path GameFs::pathForWrite(std::string_view sjisName) const {
    if (std::optional<fs::path> existing = find(sjisName)) return *existing;
    std::vector<std::string> parts = splitName(sjisName);
    fs::path path = root_;
    size_t i = 0;
    // Reuse the spelling of folders that exist; the rest is created as the scenario wrote it.
    for (; i + 1 < parts.size(); ++i) {
        fs::path next = path / parts[i];
        if (!isDirectory(next)) {
            std::vector<fs::path> variants = caseVariants(path, parts[i]);
            auto dir = std::find_if(variants.begin(), variants.end(), isDirectory);
            if (dir == variants.end()) break;
            next = *dir;
        }
        path = next;
    }
    for (; i < parts.size(); ++i) path /= parts[i];
    return path;
}

} // namespace orv
