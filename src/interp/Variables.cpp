#include "interp/Variables.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "util/PixelKernel.h"
#include "util/sjis.h"

#include <algorithm>
#include <utility>

namespace orv {

void StringVariables::clear(int32_t first, int32_t last) {
    if (table_.empty()) return;
    for (int32_t i = first; i < last; ++i) table_[size_t(i)].clear();
}

size_t StringVariables::totalSize() const {
    size_t total = 0;
    for (const std::string& s : table_) total += s.size();
    return total;
}

namespace {

// Whole tables are filled by copying from these: a copy of plain numbers is one memmove, while
// the fill loops of the standard library carry the fuzzer's comparison hooks on every element,
// which made them the largest part of an engine start there.
const std::vector<int32_t>& zeros() {
    static const std::vector<int32_t> table(size_t(kVariableCount), 0);
    return table;
}

const std::vector<int32_t>& unbounded() {
    static const std::vector<int32_t> table(size_t(kVariableCount), kNoBound);
    return table;
}

} // namespace

Variables::Variables()
    : num(zeros().begin(), zeros().end()), lower(unbounded().begin(), unbounded().end()),
      upper(unbounded().begin(), unbounded().end()) {}

ORV_PIXEL_KERNEL void Variables::clearLocals() {
    std::fill(num.begin(), num.begin() + kLocalVariableCount, 0);
    str.clear(0, kLocalVariableCount);
}

ORV_PIXEL_KERNEL void Variables::clearGlobals() {
    std::copy(zeros().begin() + kLocalVariableCount, zeros().end(),
              num.begin() + kLocalVariableCount);
    str.clear(kLocalVariableCount, kVariableCount);
}

bool Variables::stringFits(int32_t index, size_t newSize) {
    size_t old = std::as_const(str)[size_t(index)].size();
    if (newSize <= old) return true;
    stringTotalBound_ += newSize - old;
    if (stringTotalBound_ <= kMaxStringTotalBytes) return true;
    // Near the cap (or after shrinking stores the bound did not follow): count.
    size_t total = str.totalSize();
    stringTotalBound_ = total;
    if (total - old + newSize > kMaxStringTotalBytes) return false;
    stringTotalBound_ = total - old + newSize;
    return true;
}

ORV_PIXEL_KERNEL void Variables::resetBounds() {
    std::copy(unbounded().begin(), unbounded().end(), lower.begin());
    std::copy(unbounded().begin(), unbounded().end(), upper.begin());
    bounded_.clear();
}

void Variables::setBounds(int32_t index, int32_t low, int32_t high) {
    lower[size_t(index)] = low;
    upper[size_t(index)] = high;
    auto it = std::find(bounded_.begin(), bounded_.end(), index);
    if (high == kNoBound) {
        if (it != bounded_.end()) bounded_.erase(it);
    } else if (it == bounded_.end()) {
        bounded_.push_back(index);
    }
}

void Variables::applyBoundsSlow() {
    for (int32_t i : bounded_) {
        int32_t& v = num[size_t(i)];
        if (v > upper[size_t(i)]) v = upper[size_t(i)];
        if (v < lower[size_t(i)]) v = lower[size_t(i)];
    }
}

void Variables::clearAliases() {
    numAliases_.clear();
    strAliases_.clear();
}

bool Variables::addNumAlias(const std::string& name, int32_t value) {
    return numAliases_.try_emplace(name, value).second;
}

bool Variables::addStrAlias(const std::string& name, std::string value) {
    return strAliases_.try_emplace(name, std::move(value)).second;
}

const int32_t* Variables::findNumAlias(std::string_view name) const {
    auto it = numAliases_.find(name);
    return it == numAliases_.end() ? nullptr : &it->second;
}

const std::string* Variables::findStrAlias(std::string_view name) const {
    auto it = strAliases_.find(name);
    return it == strAliases_.end() ? nullptr : &it->second;
}

void checkVariableIndex(Engine& engine, int32_t index) {
    if (index < 0 || index >= kVariableCount)
        reportError(engine, S(caption::kRuntime),
                    formatMessage(S("変数番号%dは範囲外です。0～4095で指定してください。"), index));
}

void checkStringTotal(Engine& engine, int32_t index, size_t newSize) {
    if (!engine.vars.stringFits(index, newSize))
        reportError(engine, S(caption::kRuntime),
                    formatMessage(S("文字列変数の合計が大きすぎます。全部で%dバイトまでです。"),
                                  int64_t(kMaxStringTotalBytes)));
}

int32_t& numericVariable(Engine& engine, int32_t index) {
    checkVariableIndex(engine, index);
    return engine.vars.num[size_t(index)];
}

std::string& stringVariable(Engine& engine, int32_t index) {
    checkVariableIndex(engine, index);
    return engine.vars.str[size_t(index)];
}

} // namespace orv
