// Which display lines the player has seen, in any run: one mark per line, kept in Orvane's own
// file in the save folder. A mark names the scenario file, the line's offset in it and a hash of
// the line's bytes, so an edited scenario whose lines moved or changed counts them as unread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

namespace orv {

struct Engine;
class ScriptBuffer;

inline constexpr std::string_view kReadMarksFileName = "orvaneread.dat";

class ReadMarks {
public:
    // The mark of the display line starting at pos.
    static uint64_t markOf(const ScriptBuffer& buffer, int32_t pos);

    bool contains(uint64_t mark) const { return marks_.count(mark) != 0; }
    // True when the mark is new.
    bool add(uint64_t mark);
    size_t size() const { return marks_.size(); }
    // A mark was added since the file was read or written.
    bool changed() const { return changed_; }
    void markWritten() { changed_ = false; }

    std::string serialize() const;
    // Replaces the marks with the file's; false (and no marks) for a file that is not one.
    bool parse(std::string_view bytes);

private:
    std::unordered_set<uint64_t> marks_;
    bool changed_ = false;
};

// Once per program run, beside the settings; and at the end, only when marks were added.
void loadReadMarks(Engine& engine);
void saveReadMarks(Engine& engine);

// A display statement at pos begins: whether it was read before decides whether it may be
// skipped; an unread one ends Tab's skipping. It counts as read from now on.
void beginDisplayLine(Engine& engine, int32_t pos);
// Whether the text now shown is skipped: read before, and Ctrl held or Tab's skipping on.
bool skippingReadText(Engine& engine);

} // namespace orv
