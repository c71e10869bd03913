// The record of displayed text (--transcript): UTF-8 bytes appended as the
// engine draws them. Tests compare it byte for byte, so nothing is added.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace orv {

class Transcript {
public:
    // "-" writes to standard output. nullptr with a reason in *error when the
    // file cannot be created.
    static std::unique_ptr<Transcript> open(const std::string& path, std::string* error = nullptr);
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    void write(std::string_view utf8);
    void flush();
    // Writes out what is buffered and closes the file; false, with the reason of the first
    // failure in *error, when any of the text was lost (a full disk shows only here).
    bool finish(std::string* error = nullptr);

private:
    Transcript(std::FILE* file, bool owned) : file_(file), owned_(owned) {}
    void noteFailure();
    // stdio, so that the text is flushed by exit() even when the process ends
    // without unwinding to the owner of this object.
    std::FILE* file_;
    bool owned_;
    int firstErrno_ = 0;
};

} // namespace orv
