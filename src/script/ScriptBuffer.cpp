#include "script/ScriptBuffer.h"

namespace orv {

void ScriptBuffer::clear() {
    assign(std::string(), ScenarioSource::Numbered);
}

void ScriptBuffer::assign(std::string text, ScenarioSource source) {
    bytes_ = std::move(text);
    length_ = int32_t(bytes_.size());
    bytes_.append(kPadding + 1, '\0');
    source_ = source;
    fileEnd_.fill(kMissingFileEnd);
    ++generation_;
}

} // namespace orv
