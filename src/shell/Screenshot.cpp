#include "shell/Screenshot.h"

#include "interp/Engine.h"
#include "platform/Png.h"
#include "shell/WindowTitle.h"
#include "util/escape.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace orv {

namespace {

constexpr int kMaxNumber = 1000;

std::string envOr(const char* name, std::string fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

// The pictures folder from user-dirs.dirs: a line XDG_PICTURES_DIR="$HOME/..." or an absolute
// path in quotes.
std::optional<std::filesystem::path> picturesFromUserDirs(const std::string& home) {
    const std::string config = envOr("XDG_CONFIG_HOME", home + "/.config");
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    constexpr std::string_view kKey = "XDG_PICTURES_DIR=\"";
    while (std::getline(in, line)) {
        if (!line.starts_with(kKey)) continue;
        const size_t end = line.find('"', kKey.size());
        if (end == std::string::npos) return std::nullopt;
        std::string value = line.substr(kKey.size(), end - kKey.size());
        if (value.starts_with("$HOME")) value = home + value.substr(5);
        if (value.empty() || value.front() != '/') return std::nullopt;
        return value;
    }
    return std::nullopt;
}

// Claims a new file of the name: false when it exists already.
bool claim(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

} // namespace

std::filesystem::path screenshotFolder() {
    const std::string home = envOr("HOME", ".");
    const char* pictures = std::getenv("XDG_PICTURES_DIR");
    std::filesystem::path folder;
    if (pictures && pictures[0] == '/')
        folder = pictures;
    else if (auto fromFile = picturesFromUserDirs(home))
        folder = *fromFile;
    else
        folder = std::filesystem::path(home) / "Pictures";
    return folder / "Orvane";
}

std::string screenshotName(const std::tm& local, int number) {
    char name[64];
    std::snprintf(name, sizeof name, "orvane-%04d%02d%02d-%02d%02d%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string out = name;
    if (number > 1) out += "-" + std::to_string(number);
    return out + ".png";
}

std::optional<std::filesystem::path> saveScreenshot(Engine& engine) {
    const std::filesystem::path folder = screenshotFolder();
    auto fail = [&](const std::string& why) -> std::optional<std::filesystem::path> {
        std::cerr << "orvane: cannot save a screenshot in '" << escapeControls(folder.string())
                  << "': " << escapeControls(why) << "\n";
        showTitleNote(engine, "Screenshot not saved");
        return std::nullopt;
    };
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return fail(ec.message());

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::filesystem::path file;
    for (int number = 1;; ++number) {
        if (number > kMaxNumber) return fail("too many screenshots in the same second");
        file = folder / screenshotName(local, number);
        if (claim(file)) break;
        if (errno != EEXIST) return fail(std::strerror(errno));
    }
    std::string error;
    if (!writePng(file.string(), engine.platform.window(), &error)) {
        std::filesystem::remove(file, ec);
        return fail(error);
    }
    showTitleNote(engine, "Screenshot saved: " + file.filename().string());
    return file;
}

} // namespace orv
