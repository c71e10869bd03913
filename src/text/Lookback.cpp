#include "text/Lookback.h"

#include "interp/Engine.h"
#include "text/TextOut.h"
#include "util/sjis.h"

#include <algorithm>
#include <cstring>

namespace orv {

void LookbackStore::allocate() {
    if (text_.empty()) text_.assign(kCapacity, 0);
}

void LookbackStore::makeRoom(size_t n) {
    allocate();
    if (writePosition_ + n > kCapacity) clear();
}

void LookbackStore::appendCharacter(char first, char second) {
    // A character that would reach the end empties the store and is not kept, which is where
    // storing it and then finding the store full would have left things.
    if (writePosition_ + 2 > kCapacity - 1) {
        clear();
        return;
    }
    allocate();
    text_[writePosition_] = first;
    text_[writePosition_ + 1] = second;
    writePosition_ += 2;
}

void LookbackStore::appendLineFeed() {
    makeRoom(1);
    text_[writePosition_++] = kLineFeed;
}

void LookbackStore::appendPageBreak() {
    makeRoom(1);
    text_[writePosition_++] = kPageEnd;
    if (++pageCount_ <= kMaxPages) return;
    // Drop the oldest page: everything up to its end byte, stepping over two-byte characters
    // (whose second byte may be a backslash).
    size_t i = 0;
    while (i < writePosition_) {
        const auto b = static_cast<unsigned char>(text_[i]);
        if (b == static_cast<unsigned char>(kPageEnd)) break;
        i += sjis::isLeadByte(b) ? 2 : 1;
    }
    if (i < writePosition_) {
        const size_t removed = i + 1;
        std::memmove(text_.data(), text_.data() + removed, writePosition_ - removed);
        writePosition_ -= removed;
    }
    pageCount_ = kMaxPages;
}

void LookbackStore::clear() {
    writePosition_ = 0;
    pageCount_ = 0;
    if (!text_.empty()) text_[0] = 0;
}

void LookbackStore::wipe() {
    if (!text_.empty()) std::memset(text_.data(), 0, text_.size());
    writePosition_ = 0;
    pageCount_ = 0;
}

void LookbackStore::restore(std::string_view text, int pageCount) {
    wipe();
    allocate();
    const size_t n = std::min(text.size(), kCapacity - 1);
    std::memcpy(text_.data(), text.data(), n);
    writePosition_ = n;
    pageCount_ = std::clamp(pageCount, 0, kMaxPages);
}

void appendCharacter(Engine& engine, char first, char second) {
    engine.text.lookback.appendCharacter(first, second);
    const char cell[2] = {first, second};
    const std::string utf8 = sjis::toUtf8(std::string_view(cell, 2));
    engine.platform.writeTranscript(utf8);
    noteShownCharacter(engine, utf8);
}

void appendLineFeed(Engine& engine) {
    engine.text.lookback.appendLineFeed();
    engine.platform.writeTranscript("\n");
}

void appendPageBreak(Engine& engine) {
    engine.text.lookback.appendPageBreak();
    engine.platform.writeTranscript("\f");
    notePageEnd(engine);
}

void emptyLookback(Engine& engine) {
    engine.text.lookback.clear();
}

void cmdLookbackflush(Engine& engine) {
    emptyLookback(engine);
}

} // namespace orv
