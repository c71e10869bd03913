// ZIP archives made in memory by libarchive, for the tests of files packed in archives.
#pragma once

#include <archive.h>
#include <archive_entry.h>

#include <string>
#include <utility>
#include <vector>

namespace orv::test {

// A ZIP of the members (name, bytes) in order.
inline std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& members) {
    size_t room = 64 << 10;
    for (const auto& member : members) room += member.second.size() + member.first.size() + 256;
    std::vector<char> buffer(room);
    size_t used = 0;
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_open_memory(a, buffer.data(), buffer.size(), &used);
    for (const auto& [name, data] : members) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, name.c_str());
        archive_entry_set_size(e, la_int64_t(data.size()));
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_write_header(a, e);
        archive_write_data(a, data.data(), data.size());
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
    return std::string(buffer.data(), used);
}

} // namespace orv::test
