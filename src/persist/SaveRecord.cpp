#include "persist/SaveRecord.h"

#include "interp/InterpState.h"
#include "interp/Variables.h"
#include "util/binio.h"

namespace orv {

namespace {

// Appends straight to the caller's buffer.
class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : out_(out) {}

    void integer(int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        const char bytes[4] = {static_cast<char>(u), static_cast<char>(u >> 8),
                               static_cast<char>(u >> 16), static_cast<char>(u >> 24)};
        out_.append(bytes, 4);
    }
    void name(const std::string& s) { text(s); }
    void backlog(const std::string& s) { text(s); }
    void text(const std::string& s) {
        // A zero byte inside would end the text early for every reader and shift what follows.
        const size_t end = s.find('\0');
        out_.append(s, 0, end);
        out_ += '\0';
    }
    void positions(const std::vector<int32_t>& list) {
        integer(static_cast<int32_t>(list.size()));
        for (int32_t p : list) integer(p);
    }

private:
    std::string& out_;
};

class RecordReader {
public:
    explicit RecordReader(std::string_view bytes) : in_(bytes) {}

    void integer(int32_t& v) { v = in_.getInt32(); }
    void name(std::string& s) {
        s = in_.getText();
        if (s.size() > kMaxSlotNameBytes) note(SlotDamage::LongName);
    }
    void backlog(std::string& s) {
        s = in_.getText();
        // More than the store holds: the lookback starts empty, the rest of the game is sound.
        if (s.size() > kMaxSlotBacklogBytes) s.clear();
    }
    void text(std::string& s) {
        s = in_.getText();
        if (s.size() > kMaxStringBytes) s.resize(kMaxStringBytes);
    }
    void positions(std::vector<int32_t>& list) {
        int32_t depth = 0;
        integer(depth);
        list.clear();
        // Past the stack nothing after the depth can be found again.
        if (depth < 0 || static_cast<size_t>(depth) > kMaxGosubDepth) {
            note(SlotDamage::DeepGosubStack);
            return;
        }
        list.resize(static_cast<size_t>(depth));
        for (int32_t& p : list) integer(p);
    }

    SlotDamage damage() const { return damage_; }

private:
    void note(SlotDamage d) {
        if (damage_ == SlotDamage::None) damage_ = d;
    }

    BinReader in_;
    SlotDamage damage_ = SlotDamage::None;
};

} // namespace

void encodeSaveRecord(const SaveRecord& record, std::string& out) {
    out.clear();
    RecordWriter writer(out);
    walkSaveRecord(record, writer);
}

SlotDamage decodeSaveRecord(std::string_view bytes, SaveRecord& record) {
    // Every step assigns its field (past the end: zero or empty), so the record needs no reset.
    RecordReader reader(bytes);
    walkSaveRecord(record, reader);
    return reader.damage();
}

} // namespace orv
