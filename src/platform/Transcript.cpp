#include "platform/Transcript.h"

#include <cerrno>
#include <cstring>

namespace orv {

std::unique_ptr<Transcript> Transcript::open(const std::string& path, std::string* error) {
    if (path == "-") return std::unique_ptr<Transcript>(new Transcript(stdout, false));
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        if (error) *error = std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<Transcript>(new Transcript(file, true));
}

Transcript::~Transcript() {
    finish();
}

void Transcript::noteFailure() {
    if (firstErrno_ == 0) firstErrno_ = errno ? errno : EIO;
}

void Transcript::write(std::string_view utf8) {
    if (utf8.empty() || !file_) return;
    if (std::fwrite(utf8.data(), 1, utf8.size(), file_) != utf8.size()) noteFailure();
}

void Transcript::flush() {
    if (file_ && std::fflush(file_) != 0) noteFailure();
}

bool Transcript::finish(std::string* error) {
    if (file_) {
        flush();
        if (std::ferror(file_)) noteFailure();
        if (owned_ && std::fclose(file_) != 0) noteFailure();
        file_ = nullptr;
    }
    if (firstErrno_ != 0 && error) *error = std::strerror(firstErrno_);
    return firstErrno_ == 0;
}

} // namespace orv
