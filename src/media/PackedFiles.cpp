#include "media/PackedFiles.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "util/sjis.h"

#include <archive.h>
#include <archive_entry.h>

#include <fstream>
#include <memory>

namespace orv {

namespace {

// The C library's lower-casing of every byte (ASCII letters only), as registrations are stored.
std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

// A name as archives are searched for it: '\' between folders, letters of any case alike (the
// trail byte of a two-byte character is left as it is).
std::string memberKey(std::string_view sjisName) {
    std::string out(sjisName);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto b = uint8_t(out[i]);
        if (sjis::isLeadByte(b)) {
            ++i;
            continue;
        }
        if (b == '/') out[i] = '\\';
        if (b >= 'A' && b <= 'Z') out[i] = char(b - 'A' + 'a');
    }
    return out;
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (uint8_t(c) >= 0x80) return false;
    return true;
}

void registerEntry(Engine& engine, std::vector<std::string>& list) {
    if (list.size() >= PackedFilesState::kMaxEntries)
        reportError(engine, S(caption::kError), S("SPI設定が多すぎます。"));
    const std::string text = readString(engine);
    // Both halves are needed to split the entry; without the "|" nothing can be matched.
    if (text.find('|') == std::string::npos)
        reportError(engine, S(caption::kError),
                    formatMessage(S("SPI設定\"%s\"に|がありません。"), text));
    list.push_back(lowerAscii(text));
}

struct ArchiveCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};

// Copies the member whose key equals `key` to `output`; false when the archive cannot be read,
// holds no such file, or the member is too large.
bool extractMember(const std::filesystem::path& archivePath, const std::string& key,
                   const std::filesystem::path& output) {
    std::unique_ptr<archive, ArchiveCloser> a(archive_read_new());
    if (!a) return false;
    archive_read_support_format_all(a.get());
    archive_read_support_filter_all(a.get());
    if (archive_read_open_filename(a.get(), archivePath.c_str(), 1 << 16) != ARCHIVE_OK)
        return false;
    archive_entry* entry = nullptr;
    while (archive_read_next_header(a.get(), &entry) == ARCHIVE_OK) {
        if (archive_entry_filetype(entry) != AE_IFREG) continue;
        const char* raw = archive_entry_pathname(entry);
        if (!raw) continue;
        // Names are the Shift-JIS bytes of the machine that packed them; a UTF-8 name (ZIP's
        // newer flag) is compared in Shift-JIS.
        std::string name = raw;
        if (memberKey(name) != key && (isAscii(name) || memberKey(sjis::fromUtf8(name)) != key))
            continue;
        if (archive_entry_size_is_set(entry) &&
            uint64_t(archive_entry_size(entry)) > kMaxMemberBytes)
            return false;
        std::ofstream out(output, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        uint64_t written = 0;
        char block[1 << 16];
        la_ssize_t n;
        while ((n = archive_read_data(a.get(), block, sizeof block)) > 0) {
            written += uint64_t(n);
            if (written > kMaxMemberBytes) break;
            out.write(block, n);
        }
        out.close();
        if (n < 0 || written > kMaxMemberBytes || !out) {
            std::error_code ec;
            std::filesystem::remove(output, ec);
            return false;
        }
        return true;
    }
    return false;
}

} // namespace

std::string archiveKey(std::string_view sjisName) {
    return memberKey(sjisName);
}

std::vector<std::string> archiveMemberKeys(const std::filesystem::path& archivePath) {
    std::vector<std::string> keys;
    std::unique_ptr<archive, ArchiveCloser> a(archive_read_new());
    if (!a) return keys;
    archive_read_support_format_all(a.get());
    archive_read_support_filter_all(a.get());
    if (archive_read_open_filename(a.get(), archivePath.c_str(), 1 << 16) != ARCHIVE_OK)
        return keys;
    archive_entry* entry = nullptr;
    while (archive_read_next_header(a.get(), &entry) == ARCHIVE_OK) {
        if (archive_entry_filetype(entry) != AE_IFREG) continue;
        const char* raw = archive_entry_pathname(entry);
        if (!raw) continue;
        const std::string name = raw;
        keys.push_back(memberKey(name));
        if (!isAscii(name)) keys.push_back(memberKey(sjis::fromUtf8(name)));
    }
    return keys;
}

std::optional<std::filesystem::path> extractFromArchive(Engine& engine, std::string_view name) {
    const std::vector<std::string>& archives = engine.packed.archives;
    if (archives.empty() || engine.tempDirectory.empty()) return std::nullopt;
    const std::string key = memberKey(name);
    // Only the base name goes to disk, so no member path can lead outside the directory.
    const size_t slash = name.find_last_of("\\/");
    const std::string base =
        sjis::toUtf8(slash == std::string_view::npos ? name : name.substr(slash + 1));
    if (base.empty() || base == "." || base == "..") return std::nullopt;
    const std::filesystem::path output = engine.tempDirectory / base;
    for (const std::string& entry : archives) {
        const size_t bar = entry.find('|');
        if (!engine.sound.plugins.getLibrary(std::string_view(entry).substr(bar + 1))) continue;
        std::optional<std::filesystem::path> archivePath = engine.fs.find(entry.substr(0, bar));
        if (!archivePath) continue;
        if (extractMember(*archivePath, key, output)) return output;
    }
    return std::nullopt;
}

std::optional<std::string> pictureLibraryFor(const Engine& engine, std::string_view extension) {
    for (const std::string& entry : engine.packed.pictureLibraries) {
        const size_t bar = entry.find('|');
        if (std::string_view(entry).substr(bar + 1) == extension) return entry.substr(0, bar);
    }
    return std::nullopt;
}

void cmdSpi(Engine& engine) {
    registerEntry(engine, engine.packed.pictureLibraries);
}

void cmdArc(Engine& engine) {
    registerEntry(engine, engine.packed.archives);
}

void startPackedFilesPass(Engine& engine) {
    engine.packed.pictureLibraries.clear();
    engine.packed.archives.clear();
}

} // namespace orv
