// The scenario's random numbers: the classic C runtime generator, so that a
// seed gives the same sequence the games were tested with.
#pragma once

#include <cstdint>

namespace orv {

class Random {
public:
    void seed(uint32_t value) { state_ = value; }
    // 0 to 32767.
    int32_t next() {
        state_ = state_ * 214013u + 2531011u;
        return int32_t((state_ >> 16) & 0x7FFF);
    }
    uint32_t state() const { return state_; }

private:
    uint32_t state_ = 1;
};

} // namespace orv
