// Arbitrary scenario bytes through --check's reading of a scenario: whatever the text, the check
// ends, reads nothing outside the buffer and names a line inside it.
#include "maker/ScenarioCheck.h"
#include "script/ScriptBuffer.h"
#include "util/gamefs.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text never holds the terminator itself: a NUL byte ends it, as it ends a statement run.
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    text += '\n';
    orv::ScriptBuffer buffer;
    buffer.assign(std::move(text), orv::ScenarioSource::Numbered);
    buffer.fileEnds()[0] = buffer.length() - 1;
    // A game folder with no files: every picture is missing, nothing is read from disk.
    static const orv::GameFs fs(std::filesystem::temp_directory_path() / "orvane-fuzz-no-game");
    for (const orv::Finding& f : orv::checkScenario(buffer, fs))
        if (f.line < 1 || f.file != "0.txt") std::abort();
    return 0;
}
