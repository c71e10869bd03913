#include "script/ErrorReport.h"

#include "interp/Engine.h"
#include "media/StopAllMedia.h"
#include "shell/Shutdown.h"
#include "util/sjis.h"

#include <algorithm>
#include <array>

namespace orv {

std::string formatMessage(std::string_view pattern, std::string_view arg) {
    std::string out(pattern);
    if (size_t at = out.find("%s"); at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

std::string formatMessage(std::string_view pattern, int64_t value) {
    std::string out(pattern);
    if (size_t at = out.find("%d"); at != std::string::npos)
        out.replace(at, 2, std::to_string(value));
    return out;
}

namespace {

// The position line: which source the offset belongs to and its line there.
std::string positionLine(const ScriptBuffer& buffer, int32_t pos) {
    std::string_view text = buffer.text();
    auto linesBetween = [&](int32_t from, int32_t to) {
        return 1 + std::count(text.begin() + from, text.begin() + to, '\n');
    };
    if (buffer.source() != ScenarioSource::Numbered) {
        std::string name(buffer.source() == ScenarioSource::SecScrambled ? kSecScrambledName
                                                                         : kScrambledName);
        return name + " line:" + std::to_string(linesBetween(0, pos)) + "\n";
    }
    // The file whose text (or appended LF) holds the offset; an offset past
    // every file, such as the terminator, counts in the last file present.
    const auto& ends = buffer.fileEnds();
    int file = -1;
    int lastPresent = -1;
    int32_t start = 0;
    int32_t lastStart = 0;
    for (int n = 0; n < kScenarioFileCount; ++n) {
        int32_t end = ends[size_t(n)];
        if (end == kMissingFileEnd) continue;
        if (pos <= end) {
            file = n;
            break;
        }
        lastPresent = n;
        lastStart = start;
        start = end + 1;
    }
    if (file < 0) {
        if (lastPresent < 0) return "0.txt line:1\n";
        file = lastPresent;
        start = lastStart;
    }
    return std::to_string(file) + ".txt line:" + std::to_string(linesBetween(start, pos)) + "\n";
}

// The bytes from the third-last line feed before the position up to it, with
// a marker after every line feed copied.
std::string excerpt(const ScriptBuffer& buffer, int32_t pos) {
    std::string_view text = buffer.text();
    std::array<int32_t, 3> feeds{};
    int found = 0;
    for (int32_t i = pos - 1; i >= 0 && found < 3; --i)
        if (text[size_t(i)] == '\n') feeds[size_t(found++)] = i;
    int32_t from = found == 3 ? feeds[2] : 0;
    int32_t lastFeed = found > 0 ? feeds[0] : -1;
    // A reader that stopped at its limit may leave the position inside a
    // double-byte character: that character is left out rather than halved.
    const int32_t end =
        from + int32_t(sjis::wholeCharactersLength(text.substr(size_t(from), size_t(pos - from))));
    std::string out;
    for (int32_t i = from; i < end; ++i) {
        out.push_back(text[size_t(i)]);
        if (text[size_t(i)] == '\n') out.push_back(i == lastFeed ? '>' : '|');
    }
    if (out.size() <= kMaxExcerptBytes) return out;
    // Too long for the report: keep the end nearest the error, starting on a
    // character boundary so no half of a double-byte character is shown.
    size_t cut = out.size() - kMaxExcerptBytes;
    size_t at = 0;
    while (at < cut) at += sjis::isLeadByte(uint8_t(out[at])) && at + 1 < out.size() ? 2 : 1;
    return out.substr(at);
}

} // namespace

std::string errorPosition(const ScriptBuffer& buffer, int32_t pos) {
    pos = std::clamp(pos, 0, buffer.length());
    return positionLine(buffer, pos) + excerpt(buffer, pos);
}

void reportError(Engine& engine, std::string_view caption, std::string_view text) {
    std::string message(text);
    message += "\n\n";
    message += errorPosition(engine.script.buffer, engine.script.pos);
    engine.platform.messageBox(sjis::toUtf8(caption), sjis::toUtf8(message), MessageBoxButtons::Ok);
    stopAllMedia(engine);
    shutDown(engine, 2);
}

} // namespace orv
