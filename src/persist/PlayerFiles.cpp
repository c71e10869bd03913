#include "persist/PlayerFiles.h"

#include "interp/Engine.h"
#include "util/AtomicFile.h"
#include "util/gamefs.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace orv {

namespace {

bool writableFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// Two games of the same folder name in different places keep different files.
std::string folderKey(const fs::path& gameDir) {
    std::error_code ec;
    fs::path absolute = fs::weakly_canonical(gameDir, ec);
    if (ec) absolute = fs::absolute(gameDir, ec);
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : absolute.string()) hash = (hash ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    std::string name = absolute.filename().string();
    if (name.empty()) name = "game";
    return name + "-" + std::string(hex, 8);
}

fs::path dataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local/share";
    return {};
}

} // namespace

PlayerFiles PlayerFiles::inMemory() {
    PlayerFiles files{fs::path()};
    files.memory_.emplace();
    return files;
}

fs::path PlayerFiles::pathOf(std::string_view name) const {
    // A copy from another system may spell the names in capitals; keep writing to that file.
    if (auto found = names_.find(name)) return *found;
    return folder_ / std::string(name);
}

std::optional<std::string> PlayerFiles::read(std::string_view name, size_t maxBytes) const {
    if (memory_) {
        auto kept = memory_->find(name);
        if (kept == memory_->end()) return std::nullopt;
        return kept->second.bytes.substr(0, maxBytes);
    }
    std::optional<fs::path> path = names_.find(name);
    if (!path) return std::nullopt;
    return readFilePrefix(*path, maxBytes, nullptr);
}

std::optional<fs::file_time_type> PlayerFiles::modified(std::string_view name) const {
    if (memory_) {
        auto kept = memory_->find(name);
        if (kept == memory_->end()) return std::nullopt;
        return kept->second.written;
    }
    std::optional<fs::path> path = names_.find(name);
    if (!path) return std::nullopt;
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(*path, ec);
    if (ec) return std::nullopt;
    return time;
}

bool PlayerFiles::write(std::string_view name, std::string_view bytes, std::string* error) const {
    if (memory_) {
        memory_->insert_or_assign(std::string(name),
                                  KeptFile{std::string(bytes), fs::file_time_type::clock::now()});
        return true;
    }
    const fs::path path = pathOf(name);
    std::string reason;
    if (writeFileAtomically(path, bytes, &reason, durable)) return true;
    if (error) *error = "cannot write '" + path.string() + "' (" + reason + ")";
    return false;
}

fs::path choosePlayerFolder(const fs::path& gameDir, const std::string& saveDir,
                            std::string* notice) {
    std::error_code ec;
    if (!saveDir.empty()) {
        fs::create_directories(saveDir, ec);
        if (!writableFolder(saveDir) && notice)
            *notice = "the save folder '" + saveDir +
                      "' cannot be written: saves and settings will not be kept";
        return saveDir;
    }
    if (writableFolder(gameDir)) return gameDir;
    const fs::path home = dataHome();
    const fs::path own = home.empty() ? fs::path() : home / "orvane" / folderKey(gameDir);
    if (!own.empty()) fs::create_directories(own, ec);
    if (own.empty() || !writableFolder(own)) {
        if (notice)
            *notice = "the game folder cannot be written and no folder of our own could be made: "
                      "saves and settings will not be kept";
        return gameDir;
    }
    if (notice)
        *notice = "the game folder cannot be written: saves and settings are kept in '" +
                  own.string() + "'";
    return own;
}

bool writePlayerFile(Engine& engine, std::string_view name, std::string_view bytes) {
    std::string error;
    if (engine.persist.files.write(name, bytes, &error)) return true;
    std::cerr << "orvane: " << error << "\n";
    engine.platform.messageBox("保存エラー",
                               "ファイル「" + std::string(name) +
                                   "」を保存できませんでした。前の内容はそのまま残っています。\n" +
                                   error,
                               MessageBoxButtons::Ok);
    return false;
}

} // namespace orv
