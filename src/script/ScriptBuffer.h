// The whole scenario in memory, as every reader, jump, save and error report
// sees it: Shift-JIS text with LF line ends, each source file followed by one
// LF, the whole closed by a NUL that the statement loop reports as the end.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// Capacity of the scenario, terminator included: filling it is an error.
inline constexpr int32_t kScriptCapacity = 5242880;
inline constexpr int kScenarioFileCount = 100;
// File-end entry of a numbered file that does not exist.
inline constexpr int32_t kMissingFileEnd = 9999999;

enum class ScenarioSource {
    Numbered,     // "0.txt" ... "99.txt"
    SecScrambled, // "orvane_sec.dat", five-byte key
    Scrambled,    // "orvane.dat", one-byte key
};

inline constexpr std::string_view kSecScrambledName = "orvane_sec.dat";
inline constexpr std::string_view kScrambledName = "orvane.dat";

class ScriptBuffer {
public:
    ScriptBuffer() { clear(); }

    // An empty scenario: nothing but the terminator.
    void clear();
    // Replaces the content (which must not hold the terminator itself).
    void assign(std::string text, ScenarioSource source);

    // Bytes up to and including the terminator are valid; a few more NULs
    // follow so that lookahead of a few bytes never leaves the storage.
    const char* data() const { return bytes_.data(); }
    // Offset of the terminator.
    int32_t length() const { return length_; }
    std::string_view text() const { return std::string_view(bytes_.data(), size_t(length_)); }
    char at(int32_t pos) const { return pos >= 0 && pos < length_ ? bytes_[size_t(pos)] : '\0'; }

    ScenarioSource source() const { return source_; }
    // Changes whenever the content is replaced, so caches of it can tell.
    uint64_t generation() const { return generation_; }
    // Offset of the LF appended after numbered file n, kMissingFileEnd when it is absent.
    std::array<int32_t, kScenarioFileCount>& fileEnds() { return fileEnd_; }
    const std::array<int32_t, kScenarioFileCount>& fileEnds() const { return fileEnd_; }

private:
    static constexpr size_t kPadding = 8;
    std::string bytes_;
    int32_t length_ = 0;
    ScenarioSource source_ = ScenarioSource::Numbered;
    std::array<int32_t, kScenarioFileCount> fileEnd_{};
    uint64_t generation_ = 0;
};

} // namespace orv
