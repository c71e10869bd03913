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
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error);

} // namespace orv
