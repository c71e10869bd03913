// Labels: names of positions in the scenario, found by hashing. Names are
// unique, so the hash finds the entry the ordered search of the table would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv {

struct Engine;

inline constexpr size_t kMaxLabels = 5000;

class LabelTable {
public:
    struct Entry {
        std::string name; // lower case, without the '*'
        int32_t position = 0;
    };

    void clear();
    // False (and nothing added) when the name is already present.
    bool add(std::string name, int32_t position);
    // The name must already be folded to lower case.
    std::optional<int32_t> find(std::string_view name) const;
    size_t size() const { return entries_.size(); }
    // In scenario order.
    const std::vector<Entry>& entries() const { return entries_; }

private:
    struct Hash {
        using is_transparent = void;
        // FNV-1a: label names are short, and this beats a general string hash there.
        size_t operator()(std::string_view s) const {
            uint32_t h = 2166136261u;
            for (char c : s) h = (h ^ uint8_t(c)) * 16777619u;
            return h;
        }
    };
    std::vector<Entry> entries_;
    std::unordered_map<std::string, int32_t, Hash, std::equal_to<>> index_;
};

// Byte-wise ASCII lower-casing, as label, command and alias names are folded.
void foldLower(std::string& s);

// One pass over the whole scenario; leaves the read position at its end.
void buildLabelTable(Engine& engine);

// Sets the read position to the label (name without '*', any case).
void jumpToLabel(Engine& engine, std::string_view name);

} // namespace orv
