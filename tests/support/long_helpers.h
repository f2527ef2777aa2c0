// Helpers that show a long number's value in tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "rizozira/long_number.h"

// The decimal text of n as long_to_text writes it.
inline std::string long_text(const long_number* n) {
  std::string out(static_cast<std::size_t>(long_text_size(n)), '\0');
  std::int32_t size = static_cast<std::int32_t>(out.size());
  if (long_to_text(n, out.data(), &size) != 0) return "<error>";
  out.resize(static_cast<std::size_t>(size));
  return out;
}

// The len digits of n, without sign or exponent.
inline std::string long_digits(const long_number* n) {
  std::string out;
  for (std::int32_t k = 0; k < n->len; ++k) {
    std::int32_t b = k / 8;
    std::uint32_t block = b < n->blks ? n->blocks[b] : 0;
    out += static_cast<char>('0' + block / long_pow10[7 - k % 8] % 10);
  }
  return out;
}

inline std::vector<std::uint32_t> long_blocks(const long_number* n) {
  return std::vector<std::uint32_t>(n->blocks, n->blocks + n->blks);
}
