#include "maker/ArchiveNames.h"

#include "media/PackedFiles.h"

namespace orv {

ArchiveNames::ArchiveNames(const GameFs& fs, const std::vector<std::string>& archives) {
    for (const std::string& entry : archives) {
        const std::optional<std::filesystem::path> path = fs.find(entry.substr(0, entry.find('|')));
        if (!path) continue;
        for (std::string& key : archiveMemberKeys(*path)) keys_.insert(std::move(key));
    }
}

bool ArchiveNames::contains(std::string_view sjisName) const {
    return keys_.contains(archiveKey(sjisName));
}

} // namespace orv
