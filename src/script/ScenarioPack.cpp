#include "script/ScenarioPack.h"

#include "script/ScenarioLoader.h"
#include "util/gamefs.h"

#include <fstream>

namespace orv {

namespace {

bool writeFile(const std::filesystem::path& path, const std::string& bytes, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    noteFilesWritten();
    if (out) return true;
    if (error) *error = "cannot write '" + path.string() + "'";
    return false;
}

} // namespace

bool packScenario(const std::filesystem::path& dir, std::string* error) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        if (error) *error = "not a folder: '" + dir.string() + "'";
        return false;
    }
    GameFs fs(dir);
    std::string text;
    std::array<int32_t, kScenarioFileCount> ends{};
    if (!joinNumberedFiles(fs, text, ends)) {
        if (error) *error = "the scenario is too long (the limit is 5242880 bytes)";
        return false;
    }
    if (text.empty()) {
        if (error)
            *error = "no numbered scenario files (0.txt to 99.txt) in '" + dir.string() + "'";
        return false;
    }
    // The loader appends the LF after the last file itself.
    text.pop_back();
    for (ScenarioSource source : {ScenarioSource::Scrambled, ScenarioSource::SecScrambled}) {
        std::string bytes = text;
        scramble(bytes, source);
        std::string_view name =
            source == ScenarioSource::SecScrambled ? kSecScrambledName : kScrambledName;
        if (!writeFile(fs.pathForWrite(name), bytes, error)) return false;
    }
    return true;
}

} // namespace orv
