// The record of the text drawn on the last pages, for the player to read again.
//
// Characters are stored as the two bytes of their cell, a line feed (10) at each line break and a
// backslash at each page end; at most ten finished pages are kept. The store is also what a save
// slot keeps of the text, so its size and rules are part of the save format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orv {

struct Engine;

class LookbackStore {
public:
    static constexpr size_t kCapacity = 90000;
    static constexpr int kMaxPages = 10;
    static constexpr char kLineFeed = '\n';
    static constexpr char kPageEnd = '\\';

    // One drawn cell. A store that this would fill (or that is already full) is emptied, so the
    // write never reaches past the end.
    void appendCharacter(char first, char second);
    // A line break. A full store is emptied first (as a character does when it fills).
    void appendLineFeed();
    // A page end; past ten finished pages the oldest is dropped. A full store is emptied first.
    void appendPageBreak();
    // Nothing recorded (the bytes past the first are left as they are).
    void clear();
    // Nothing recorded and every byte zero.
    void wipe();
    // The whole store wiped, then holding text (cut to what fits before the end) with that many
    // finished pages (kept within 0..kMaxPages). The write position is the text's length.
    void restore(std::string_view text, int pageCount);

    // The recorded bytes.
    std::string_view text() const { return {text_.data(), writePosition_}; }
    size_t writePosition() const { return writePosition_; }
    int pageCount() const { return pageCount_; }

private:
    // Room for n more bytes; when there is none, the store is emptied.
    void makeRoom(size_t n);
    // The store's bytes, made zero on first use: many runs never draw a character, and an
    // engine start need not pay for the whole store.
    void allocate();

    std::vector<char> text_;
    size_t writePosition_ = 0;
    int pageCount_ = 0;
};

// The recording points of the text window: each stores into the engine's lookback and writes the
// same into the transcript (a cell in UTF-8, "\n" for a line feed, "\f" for a page end), which is
// never trimmed.
void appendCharacter(Engine& engine, char first, char second);
void appendLineFeed(Engine& engine);
void appendPageBreak(Engine& engine);
void emptyLookback(Engine& engine);

void cmdLookbackflush(Engine& engine);

} // namespace orv
