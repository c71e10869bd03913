#include "sound/CdTracks.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace orv {

namespace {

constexpr std::array<std::string_view, 4> kExtensions = {"ogg", "mp3", "flac", "wav"};
// Above any disc's 99 tracks, so that a number in a file name cannot make a huge disc.
constexpr int kMaxTrack = 99;

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// The track number and the rank of its extension, for a name "trackNN.EXT".
bool parseTrackName(const std::string& fileName, int& track, size_t& rank) {
    const std::string name = lower(fileName);
    if (!name.starts_with("track")) return false;
    size_t i = 5;
    int n = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && n <= kMaxTrack)
        n = n * 10 + (name[i++] - '0');
    if (i == 5 || n < 1 || n > kMaxTrack || i >= name.size() || name[i] != '.') return false;
    const auto ext =
        std::find(kExtensions.begin(), kExtensions.end(), std::string_view(name).substr(i + 1));
    if (ext == kExtensions.end()) return false;
    track = n;
    rank = size_t(ext - kExtensions.begin());
    return true;
}

void scan(const std::filesystem::path& dir, std::map<int, std::filesystem::path>& tracks) {
    std::map<int, std::pair<size_t, std::filesystem::path>> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        int track = 0;
        size_t rank = 0;
        if (!parseTrackName(entry.path().filename().string(), track, rank)) continue;
        if (!entry.is_regular_file(ec)) continue;
        auto it = found.find(track);
        if (it == found.end() || rank < it->second.first) found[track] = {rank, entry.path()};
    }
    for (auto& [track, file] : found) tracks.try_emplace(track, file.second);
}

} // namespace

std::map<int, std::filesystem::path> findCdTracks(const std::filesystem::path& gameDir) {
    std::map<int, std::filesystem::path> tracks;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(gameDir, ec))
        if (lower(entry.path().filename().string()) == "cd" && entry.is_directory(ec))
            scan(entry.path(), tracks);
    scan(gameDir, tracks);
    return tracks;
}

} // namespace orv
