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
    if (owned_)
        std::fclose(file_);
    else
        std::fflush(file_);
}

void Transcript::write(std::string_view utf8) {
    if (!utf8.empty()) std::fwrite(utf8.data(), 1, utf8.size(), file_);
}

void Transcript::flush() {
    std::fflush(file_);
}

} // namespace orv
