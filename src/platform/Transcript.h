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

private:
    Transcript(std::FILE* file, bool owned) : file_(file), owned_(owned) {}
    // stdio, so that the text is flushed by exit() even when the process ends
    // without unwinding to the owner of this object.
    std::FILE* file_;
    bool owned_;
};

} // namespace orv
