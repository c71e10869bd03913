// Keys of the two scrambled scenario files. They are part of the file formats
// a game ships, so they never change: a game packed by one build must load in
// every other. The one-byte key also scrambles the read-file log.
#pragma once

#include <array>
#include <cstdint>

namespace orv {

// "orvane_sec.dat": byte i of the file is XORed with kSecScrambleKey[i % 5].
inline constexpr std::array<uint8_t, 5> kSecScrambleKey = {0xA7, 0x3C, 0x5E, 0x91, 0x2B};

// "orvane.dat" (and the read-file log): every byte is XORed with this key. The log keeps names
// between plain quotes and ends each with a zero byte, so no byte of a file name may scramble to
// either: the key is a control byte, and key ^ '"' is '?', which no file name holds.
inline constexpr uint8_t kScrambleKey = 0x1D;

} // namespace orv
