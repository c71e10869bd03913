// The per-user registry of the platform the games were written for, kept as a
// text file the player can edit: one profile-style section per key path under
// the current user's root, "name=value" lines, "@=" for a key's default value.
// The file is UTF-8 on disk; lookups and results are Shift-JIS like every
// engine text.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class RegistryStore {
public:
    explicit RegistryStore(std::filesystem::path file); // the file may not exist
    // $XDG_CONFIG_HOME/orvane/registry.ini, else ~/.config/orvane/registry.ini; empty when
    // neither variable is usable (nothing can then be read).
    static std::filesystem::path defaultPath();

    // Value under key path (Shift-JIS, '\\' separated, any case) and name, or nullopt.
    // The empty name is the key's default value. The file is read on every call so
    // that edits made while a game runs are seen.
    std::optional<std::string> read(std::string_view keyPath, std::string_view valueName) const;

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

} // namespace orv
