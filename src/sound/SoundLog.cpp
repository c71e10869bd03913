#include "sound/SoundLog.h"

#include <cerrno>
#include <cstring>

namespace orv {

std::unique_ptr<SoundLog> SoundLog::open(const std::string& path, std::string* error) {
    auto log = std::make_unique<SoundLog>();
    log->file_.open(path, std::ios::binary | std::ios::trunc);
    if (!log->file_) {
        if (error) *error = std::strerror(errno);
        return nullptr;
    }
    log->toFile_ = true;
    return log;
}

void SoundLog::write(uint32_t time, std::string_view event) {
    std::string line = std::to_string(time) + " " + std::string(event) + "\n";
    if (toFile_) {
        // Each line at once, so a run that ends by a signal still leaves what it heard.
        file_ << line << std::flush;
    } else {
        text_ += line;
    }
}

} // namespace orv
