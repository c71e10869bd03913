#include "sound/PluginCache.h"

#include <algorithm>

namespace orv {

std::optional<size_t> PluginCache::getLibrary(std::string_view name) {
    auto found = std::find(names_.begin(), names_.end(), name);
    if (found != names_.end()) return size_t(found - names_.begin());
    if (names_.size() >= kSlots) return std::nullopt;
    names_.emplace_back(name);
    return names_.size() - 1;
}

void SoundPluginList::add(std::string_view registration) {
    std::string lower(registration);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    entries_.push_back(std::move(lower));
}

std::optional<std::string> SoundPluginList::findLibrary(std::string_view extension) const {
    for (const std::string& entry : entries_) {
        const size_t bar = entry.find('|');
        if (bar == std::string::npos) continue;
        if (std::string_view(entry).substr(bar + 1) == extension) return entry.substr(0, bar);
    }
    return std::nullopt;
}

} // namespace orv
