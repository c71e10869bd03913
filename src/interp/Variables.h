// The scenario's two banks of variables (%n numeric, $n string), the intlimit
// bounds and the numeric and string aliases.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv {

struct Engine;

inline constexpr int32_t kVariableCount = 4096;
// Variables below this number are local: cleared by the reset to the start.
inline constexpr int32_t kLocalVariableCount = 200;
inline constexpr size_t kMaxAliases = 4096;
// Longest string variable and longest assembled display line. Far beyond any
// real text; it keeps a runaway loop (add $0,$0) from eating all memory.
inline constexpr size_t kMaxStringBytes = size_t(1) << 20;
// All string variables together: real games hold kilobytes, while 4096 variables
// at the single cap would be 4 GiB.
inline constexpr size_t kMaxStringTotalBytes = size_t(64) << 20;
// Upper bound meaning "no bounds".
inline constexpr int32_t kNoBound = -1;

// The string variables, made on first use: most runs never touch one, and 4,096 empty strings
// were a large part of starting an engine. Reading through a const bank never makes them.
class StringVariables {
public:
    std::string& operator[](size_t index) {
        if (table_.empty()) table_.resize(size_t(kVariableCount));
        return table_[index];
    }
    const std::string& operator[](size_t index) const {
        static const std::string kEmpty;
        return table_.empty() ? kEmpty : table_[index];
    }
    // Empties variables first..last-1.
    void clear(int32_t first, int32_t last);
    // The bytes held by all of them together.
    size_t totalSize() const;

private:
    std::vector<std::string> table_;
};

struct Variables {
    Variables();

    std::vector<int32_t> num;
    StringVariables str;

    // intlimit bounds; a variable is bounded while its upper bound is not -1.
    std::vector<int32_t> lower;
    std::vector<int32_t> upper;

    void clearLocals();
    void clearGlobals();

    // False when giving string variable `index` a value of newSize bytes would
    // take all string variables together past kMaxStringTotalBytes.
    bool stringFits(int32_t index, size_t newSize);

    void resetBounds();
    void setBounds(int32_t index, int32_t low, int32_t high);
    // Brings every bounded variable into its bounds (upper first, then lower).
    void applyBounds() {
        if (!bounded_.empty()) applyBoundsSlow();
    }
    const std::vector<int32_t>& boundedVariables() const { return bounded_; }

    void clearAliases();
    size_t numAliasCount() const { return numAliases_.size(); }
    size_t strAliasCount() const { return strAliases_.size(); }
    // False when the name is already defined.
    bool addNumAlias(const std::string& name, int32_t value);
    bool addStrAlias(const std::string& name, std::string value);
    const int32_t* findNumAlias(std::string_view name) const;
    const std::string* findStrAlias(std::string_view name) const;

private:
    void applyBoundsSlow();

    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Only variables with bounds, so that commands on unbounded scenarios pay nothing.
    std::vector<int32_t> bounded_;
    // At least the total size of the string variables: it only grows between
    // exact counts, which are taken when it reaches the cap.
    size_t stringTotalBound_ = 0;
    std::unordered_map<std::string, int32_t, Hash, std::equal_to<>> numAliases_;
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> strAliases_;
};

// Reports a variable number outside 0..4095 as a scenario error.
void checkVariableIndex(Engine& engine, int32_t index);
// The variable of that number, reporting a number outside the table.
int32_t& numericVariable(Engine& engine, int32_t index);
std::string& stringVariable(Engine& engine, int32_t index);
// Reports a string variable value that would pass the total for all of them.
void checkStringTotal(Engine& engine, int32_t index, size_t newSize);

} // namespace orv
