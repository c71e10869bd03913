// The read-file log: names of the pictures the player has seen, asked by the fchk condition and
// kept across runs in "Orvaneflog.dat" when the scenario gives `filelog`.
//
// The file: the count in decimal and a line feed, then each name in double quotes, one after
// another, every byte of a name XORed with the scenario loader's one-byte key.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Engine;

inline constexpr std::string_view kFileLogFileName = "Orvaneflog.dat";
// The log's table: more names, or longer ones, are not logged.
inline constexpr size_t kFileLogCapacity = 4000;
inline constexpr size_t kMaxLoggedNameBytes = 511;

struct FileLog {
    bool enabled = false;           // `filelog` was given
    std::vector<std::string> names; // in upper case

    // Names compare in upper case (ASCII letters; the second byte of a double-byte character is
    // left alone, so two different characters never match).
    bool contains(std::string_view name) const;
    // Adds the name in upper case unless it is there already or the table cannot take it.
    void add(std::string_view name);
};

// A name holding a byte that would scramble to the quote or to a zero byte cannot be read back:
// it is kept for the run but not written.
std::string encodeFileLog(const FileLog& log);
// Whatever the bytes: at most the table's names, a malformed entry ends the reading (the names
// before it are kept).
void decodeFileLog(std::string_view bytes, FileLog& log);

// After the definition block and at the end of the program, when `filelog` was given.
void loadFileLog(Engine& engine);
void saveFileLog(Engine& engine);

} // namespace orv
