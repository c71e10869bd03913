#include "text/ReadMarks.h"

#include "interp/Engine.h"
#include "persist/PlayerFiles.h"
#include "script/ScriptBuffer.h"

#include <algorithm>
#include <vector>

namespace orv {

namespace {

// "ORVREAD" and a format number, then the count and the marks, little-endian.
constexpr std::string_view kMagic = "ORVREAD1";
// Far more lines than a scenario of the largest size can hold: a longer file is not ours.
constexpr size_t kMaxMarks = size_t(4) << 20;
constexpr size_t kMaxFileBytes = kMagic.size() + 8 + kMaxMarks * 8;

uint64_t readU64(std::string_view bytes, size_t at) {
    uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i) v |= uint64_t(uint8_t(bytes[at + i])) << (8 * i);
    return v;
}

void appendU64(std::string& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out += char((v >> (8 * i)) & 0xff);
}

} // namespace

uint64_t ReadMarks::markOf(const ScriptBuffer& buffer, int32_t pos) {
    // The file the loader put the line in, and where that file starts in the buffer.
    uint32_t file = 0;
    int32_t fileStart = 0;
    int32_t previousEnd = -1;
    const auto& ends = buffer.fileEnds();
    for (size_t n = 0; n < ends.size(); ++n) {
        if (ends[n] == kMissingFileEnd) continue;
        if (pos <= ends[n]) {
            file = uint32_t(n);
            fileStart = previousEnd + 1;
            break;
        }
        previousEnd = ends[n];
    }
    // FNV-1a over the line's bytes as written (before variables are put in).
    uint32_t hash = 2166136261u;
    for (int32_t i = pos; i < buffer.length(); ++i) {
        const char c = buffer.at(i);
        if (c == '\n') break;
        hash = (hash ^ uint8_t(c)) * 16777619u;
    }
    // 7 bits of file, 23 of offset (the scenario's capacity fits), 32 of hash.
    const uint64_t offset = uint64_t(std::max(pos - fileStart, 0)) & 0x7fffff;
    return (uint64_t(file & 0x7f) << 55) | (offset << 32) | hash;
}

bool ReadMarks::add(uint64_t mark) {
    if (!marks_.insert(mark).second) return false;
    changed_ = true;
    return true;
}

std::string ReadMarks::serialize() const {
    // Sorted, so the same marks always make the same file.
    std::vector<uint64_t> sorted(marks_.begin(), marks_.end());
    std::sort(sorted.begin(), sorted.end());
    std::string out(kMagic);
    appendU64(out, sorted.size());
    for (uint64_t m : sorted) appendU64(out, m);
    return out;
}

bool ReadMarks::parse(std::string_view bytes) {
    marks_.clear();
    changed_ = false;
    if (bytes.size() < kMagic.size() + 8 || bytes.substr(0, kMagic.size()) != kMagic) return false;
    const uint64_t count = readU64(bytes, kMagic.size());
    const size_t body = bytes.size() - kMagic.size() - 8;
    if (count > kMaxMarks || body != count * 8) return false;
    for (uint64_t i = 0; i < count; ++i)
        marks_.insert(readU64(bytes, kMagic.size() + 8 + size_t(i) * 8));
    return true;
}

void loadReadMarks(Engine& engine) {
    std::optional<std::string> bytes = engine.persist.files.read(kReadMarksFileName, kMaxFileBytes);
    // A damaged file costs the marks, never the run: the player reads the text again.
    if (bytes) engine.player.readMarks.parse(*bytes);
}

void saveReadMarks(Engine& engine) {
    ReadMarks& marks = engine.player.readMarks;
    if (!marks.changed()) return;
    if (writePlayerFile(engine, kReadMarksFileName, marks.serialize())) marks.markWritten();
}

void beginDisplayLine(Engine& engine, int32_t pos) {
    PlayerState& player = engine.player;
    const uint64_t mark = ReadMarks::markOf(engine.script.buffer, pos);
    player.lineRead = player.readMarks.contains(mark);
    if (!player.lineRead) {
        player.tabSkip = false;
        player.readMarks.add(mark);
    }
}

bool skippingReadText(Engine& engine) {
    const PlayerState& player = engine.player;
    return player.lineRead && (player.tabSkip || engine.platform.ctrlHeld());
}

} // namespace orv
