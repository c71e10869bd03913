// The record of what sounds when, for runs that hear nothing: one line per audible event,
// "TIME EVENT" with the engine's clock in milliseconds (see the README for the events).
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace orv {

class SoundLog {
public:
    // nullptr with the reason in *error when the file cannot be created.
    static std::unique_ptr<SoundLog> open(const std::string& path, std::string* error);
    // For tests: the lines go to a string.
    SoundLog() = default;

    void write(uint32_t time, std::string_view event);
    const std::string& text() const { return text_; }

private:
    std::ofstream file_;
    bool toFile_ = false;
    std::string text_;
};

} // namespace orv
