#include "persist/FileLog.h"

#include "interp/Engine.h"
#include "persist/PlayerFiles.h"
#include "script/ScrambleKeys.h"
#include "util/sjis.h"

#include <algorithm>

namespace orv {

namespace {

constexpr char kQuote = '"';
// A count line, then the names in their quotes.
constexpr size_t kMaxFileBytes = 16 + kFileLogCapacity * (kMaxLoggedNameBytes + 2);

std::string upperCase(std::string_view sjisName) {
    std::string out(sjisName);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (sjis::isLeadByte(b)) {
            ++i;
            continue;
        }
        if (b >= 'a' && b <= 'z') out[i] = static_cast<char>(b - 'a' + 'A');
    }
    return out;
}

char scramble(char c) {
    return static_cast<char>(static_cast<uint8_t>(c) ^ kScrambleKey);
}

bool isCountBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The count as "%d\n" reads it: blanks, a sign and digits, then any blanks.
size_t readCount(std::string_view bytes, size_t& pos) {
    while (pos < bytes.size() && isCountBlank(bytes[pos])) ++pos;
    bool negative = false;
    if (pos < bytes.size() && (bytes[pos] == '-' || bytes[pos] == '+'))
        negative = bytes[pos++] == '-';
    size_t count = 0;
    bool digits = false;
    while (pos < bytes.size() && bytes[pos] >= '0' && bytes[pos] <= '9') {
        count = std::min(count * 10 + size_t(bytes[pos++] - '0'), kFileLogCapacity);
        digits = true;
    }
    while (pos < bytes.size() && isCountBlank(bytes[pos])) ++pos;
    return digits && !negative ? count : 0;
}

} // namespace

bool FileLog::contains(std::string_view name) const {
    const std::string wanted = upperCase(name);
    return std::find(names.begin(), names.end(), wanted) != names.end();
}

void FileLog::add(std::string_view name) {
    if (name.size() > kMaxLoggedNameBytes || names.size() >= kFileLogCapacity) return;
    std::string upper = upperCase(name);
    if (std::find(names.begin(), names.end(), upper) == names.end())
        names.push_back(std::move(upper));
}

namespace {

bool storable(const std::string& name) {
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return scramble(c) == kQuote || scramble(c) == '\0'; });
}

} // namespace

std::string encodeFileLog(const FileLog& log) {
    std::string names;
    size_t count = 0;
    for (const std::string& name : log.names) {
        if (!storable(name)) continue;
        ++count;
        names += kQuote;
        for (char c : name) names += scramble(c);
        names += kQuote;
    }
    return std::to_string(count) + "\n" + names;
}

void decodeFileLog(std::string_view bytes, FileLog& log) {
    log.names.clear();
    size_t pos = 0;
    const size_t count = readCount(bytes, pos);
    for (size_t n = 0; n < count; ++n) {
        if (pos >= bytes.size() || bytes[pos] != kQuote) return;
        const size_t end = bytes.find(kQuote, pos + 1);
        if (end == std::string_view::npos) return;
        std::string name(bytes.substr(pos + 1, end - pos - 1));
        for (char& c : name) c = scramble(c);
        pos = end + 1;
        log.add(name);
    }
}

void loadFileLog(Engine& engine) {
    std::optional<std::string> bytes = engine.persist.files.read(kFileLogFileName, kMaxFileBytes);
    if (!bytes) return;
    // A restart by definereset reads the file again; the pictures seen since the program
    // started are not forgotten for it.
    FileLog& log = engine.persist.fileLog;
    std::vector<std::string> seen = std::move(log.names);
    decodeFileLog(*bytes, log);
    for (const std::string& name : seen) log.add(name);
}

void saveFileLog(Engine& engine) {
    writePlayerFile(engine, kFileLogFileName, encodeFileLog(engine.persist.fileLog));
}

} // namespace orv
