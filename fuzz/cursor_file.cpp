// Cursor files come from game archives and are parsed before anything else looks at them.
#include "shell/CursorFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto cursor =
        orv::readCursorFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!cursor) return 0;
    // What the pointer code will rely on.
    if (cursor->frames.empty() || cursor->sequence.size() != cursor->ratesMs.size()) std::abort();
    for (const auto& frame : cursor->frames) {
        if (frame.bgra.size() != size_t(frame.width) * size_t(frame.height) * 4) std::abort();
        if (frame.hotX < 0 || frame.hotX >= frame.width || frame.hotY < 0 ||
            frame.hotY >= frame.height) {
            std::abort();
        }
    }
    for (int index : cursor->sequence) {
        if (index < 0 || size_t(index) >= cursor->frames.size()) std::abort();
    }
    return 0;
}
