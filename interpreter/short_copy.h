// Copies of a few bytes (names, numbers, short literals) made on every item
// the scanner reads. Done in word-sized pieces without a call: for these
// sizes the call into the C library's general copy costs more than the copy.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

inline void copy_short(char* destination, const char* source, std::size_t count) {
  while (count >= 8) {
    std::uint64_t word;
    std::memcpy(&word, source, 8);
    std::memcpy(destination, &word, 8);
    source += 8;
    destination += 8;
    count -= 8;
  }
  if (count & 4) {
    std::uint32_t word;
    std::memcpy(&word, source, 4);
    std::memcpy(destination, &word, 4);
    source += 4;
    destination += 4;
  }
  if (count & 2) {
    std::uint16_t word;
    std::memcpy(&word, source, 2);
    std::memcpy(destination, &word, 2);
    source += 2;
    destination += 2;
  }
  if (count & 1) *destination = *source;
}
