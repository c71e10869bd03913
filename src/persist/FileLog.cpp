#include "persist/FileLog.h"

#include <algorithm>

namespace orv {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

bool FileLog::contains(std::string_view name) const {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return equalsIgnoringCase(n, name); });
}

} // namespace orv
