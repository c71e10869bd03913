// The libraries the scenario names, each loaded once for the whole run and kept by the exact
// name it was asked for. There are no outside libraries here: every name stands for the
// built-in components (decoders chosen by a file's content), so a name is only recorded, and
// what a registration enables is done by those components.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PluginCache {
public:
    static constexpr size_t kSlots = 256;
    // The name under which the built-in MP3 decoder takes the first slot at start.
    static constexpr std::string_view kMp3Decoder = "orvane-mp3";

    PluginCache() { getLibrary(kMp3Decoder); }

    // The slot of the library, taking the first free slot at its first use; nullopt when all
    // slots are used by other names. Names compare byte for byte ("A.dll" and "a.dll" are two).
    std::optional<size_t> getLibrary(std::string_view name);
    size_t used() const { return names_.size(); }

private:
    std::vector<std::string> names_;
};

// The `soundpressplgin` registrations, "library|extension" in lower case, in order.
class SoundPluginList {
public:
    static constexpr size_t kMaxPlugins = 50;

    bool full() const { return entries_.size() >= kMaxPlugins; }
    // Stores the text lower-cased (ASCII letters only, as the C library's mapping does).
    void add(std::string_view registration);
    void clear() { entries_.clear(); }
    // The library of the first registration whose extension equals `extension` exactly.
    std::optional<std::string> findLibrary(std::string_view extension) const;

private:
    std::vector<std::string> entries_;
};

} // namespace orv
