// Files the player keeps are replaced whole or not at all: a crash, a kill or a full disk in the
// middle of a write leaves the previous file as it was.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

// Writes the bytes to a temporary file beside path, flushes it to the disk and renames it over
// path (a symbolic link at path is replaced, never followed). False with the system's reason in
// *error; the temporary file is then removed and path is untouched.
// Without durable the data is not flushed first: the file is still whole or old after a crash of
// the program, but not after a power cut (for runs whose files nobody keeps).
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error, bool durable = true);

} // namespace orv
