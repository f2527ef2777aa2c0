// Normalisation (the one place where precision and rounding take effect),
// comparison, fixed-point alignment and truncation to an integer.
#include <cstring>

#include "rizozira/long_number.h"

const std::uint32_t long_half_units[long_block_digits] = {5, 50, 500, 5000, 50000, 500000, 5000000, 50000000};
const std::uint32_t long_pow10_up[long_block_digits] = {10,     100,     1000,     10000,
                                                        100000, 1000000, 10000000, 100000000};
const std::uint32_t long_pow10[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

namespace {

void become_zero(long_number* n) {
  n->blocks[0] = 0;
  n->len = 1;
  n->blks = 1;
  n->sign = 0;
  n->exp = 1;
  n->norm = 1;
}

// Number of leading zero digits of a block below 10^7 (1..7).
int leading_zero_digits(std::uint32_t block) {
  int k = 0;
  while (k < long_block_digits && block < long_pow10[long_block_digits - 1 - k]) ++k;
  return k;
}

// 1-based position (1..8) of the last non-zero digit of a non-zero block.
int last_nonzero_digit(std::uint32_t block) {
  int pos = long_block_digits;
  while (pos > 1 && block % 10 == 0) {
    block /= 10;
    --pos;
  }
  return pos;
}

}  // namespace

void long_normalize(long_number* n, int mode) {
  if (n->norm == 1) return;
  std::uint32_t* b = n->blocks;
  if (n->blks < 1) n->blks = 1;
  if (n->len > long_block_digits * n->blks) n->len = long_block_digits * n->blks;
  // Leading zero blocks.
  if (b[0] == 0) {
    std::int32_t z = 0;
    while (z < n->blks && b[z] == 0) ++z;
    if (z == n->blks || long_block_digits * z >= n->len) {
      become_zero(n);
      return;
    }
    std::memmove(b, b + z, static_cast<std::size_t>(n->blks - z) * long_block_bytes);
    n->blks -= z;
    n->len -= long_block_digits * z;
    n->exp -= long_block_digits * z;
  }
  // Leading zero digits inside block 0: shift the whole array left by k digits.
  if (b[0] < 10000000) {
    int k = leading_zero_digits(b[0]);
    if (k >= n->len) {
      become_zero(n);
      return;
    }
    std::uint64_t factor = long_pow10[k];
    std::uint64_t carry = 0;
    for (std::int32_t i = n->blks - 1; i >= 0; --i) {
      std::uint64_t v = b[i] * factor + carry;
      b[i] = static_cast<std::uint32_t>(v % long_base);
      carry = v / long_base;
    }
    n->len -= k;
    n->exp -= k;
  }
  const std::int32_t p = long_working_precision();
  // Round half away from zero at digit p + 1.
  if (mode == 1 && !integer_mode && long_round_mode == 1 && n->len > p && p / long_block_digits < n->blks) {
    std::int32_t i = p / long_block_digits;
    std::uint32_t carry = long_half_units[long_block_digits - 1 - (p % long_block_digits)];
    while (carry != 0 && i >= 0) {
      std::uint32_t v = b[i] + carry;
      if (v >= long_base) {
        b[i] = v - long_base;
        carry = 1;
      } else {
        b[i] = v;
        carry = 0;
      }
      --i;
    }
    if (carry != 0) {  // 0.999...9|5 becomes 0.1 x 10^(exp+1)
      b[0] = 10000000;
      n->len = 1;
      n->blks = 1;
      n->exp += 1;
      n->norm = 1;
      return;
    }
  }
  // Cut to the precision, clearing the digits beyond len.
  if (mode != 0) {
    if (!integer_mode && n->len > p) n->len = p;
    std::int32_t nb = long_blocks_for_digits(n->len);
    if (nb < n->blks) n->blks = nb;
    int r = n->len % long_block_digits;
    if (r != 0 && nb <= n->blks) {
      std::uint32_t unit = long_pow10_up[long_block_digits - 1 - r];
      b[nb - 1] = b[nb - 1] / unit * unit;
    }
  }
  // Trailing zeros.
  while (n->blks > 1 && b[n->blks - 1] == 0) --n->blks;
  if (n->len > long_block_digits * n->blks) n->len = long_block_digits * n->blks;
  if (b[n->blks - 1] != 0) {
    std::int32_t last = long_block_digits * (n->blks - 1) + last_nonzero_digit(b[n->blks - 1]);
    if (n->len > last) n->len = last;
  }
  n->norm = 1;
}

int long_compare(const long_number* a, const long_number* b) {
  if (a->sign < b->sign) return -1;
  if (a->sign > b->sign) return 1;
  bool a_zero = a->blocks[0] == 0;
  bool b_zero = b->blocks[0] == 0;
  if (a_zero && b_zero) return 0;
  if (a_zero) return b->sign < 0 ? 1 : -1;
  if (b_zero) return a->sign < 0 ? -1 : 1;
  int magnitude = 0;
  if (a->exp != b->exp) {
    magnitude = a->exp > b->exp ? 1 : -1;
  } else {
    std::int32_t common = a->blks < b->blks ? a->blks : b->blks;
    for (std::int32_t i = 0; i < common && magnitude == 0; ++i) {
      if (a->blocks[i] != b->blocks[i]) magnitude = a->blocks[i] > b->blocks[i] ? 1 : -1;
    }
    if (magnitude == 0 && a->blks != b->blks) magnitude = a->blks > b->blks ? 1 : -1;
  }
  return a->sign < 0 ? -magnitude : magnitude;
}

int long_align_fraction(const long_number* src, long_number* dst) {
  if (src->blocks[0] == 0 && src->blks <= 1) {
    int r = long_reserve(dst, long_block_digits);
    if (r < 0) return r;
    dst->blocks[0] = 0;  // zero, left unnormalised
    return 0;
  }
  std::int64_t s = -static_cast<std::int64_t>(src->exp);
  if (s < 0) s = 0;
  std::int64_t n = src->len + s;
  std::int64_t cap = static_cast<std::int64_t>(long_working_precision()) + 10;
  if (n > cap) n = cap;
  std::int32_t sign = src->sign;
  const std::uint32_t* sb = src->blocks;
  std::int32_t sblks = src->blks;
  int r = long_reserve(dst, n);
  if (r < 0) return r;
  std::int32_t nb = long_blocks_for_digits(n);
  std::memset(dst->blocks, 0, static_cast<std::size_t>(nb) * long_block_bytes);
  std::int64_t first = s / long_block_digits;
  int shift = static_cast<int>(s % long_block_digits);
  if (first < nb) {
    std::uint32_t* d = dst->blocks;
    if (shift == 0) {
      for (std::int64_t i = 0; i < sblks && first + i < nb; ++i) d[first + i] = sb[i];
    } else {
      std::uint32_t div = long_pow10[shift];
      std::uint32_t up = long_pow10[long_block_digits - shift];
      std::uint32_t rem = 0;
      std::int64_t i = 0;
      for (; i < sblks && first + i < nb; ++i) {
        d[first + i] = rem * up + sb[i] / div;
        rem = sb[i] % div;
      }
      if (first + i < nb) d[first + i] = rem * up;
    }
    int keep = static_cast<int>(n % long_block_digits);  // digits beyond n are dropped
    if (keep != 0)
      d[nb - 1] = d[nb - 1] / long_pow10_up[long_block_digits - 1 - keep] *
                  long_pow10_up[long_block_digits - 1 - keep];
  }
  dst->len = static_cast<std::int32_t>(n);
  dst->blks = nb;
  dst->exp = 0;
  dst->sign = sign;
  dst->norm = 0;
  long_debug_dump("x1", dst, 0);
  return 0;
}

void long_blocks_scale_into(const std::uint32_t* src, std::int32_t count, int shift, std::uint32_t* dst,
                            std::int32_t dst_blocks) {
  if (shift == 0) {
    std::int32_t fit = count < dst_blocks - 1 ? count : dst_blocks - 1;
    if (fit > 0) std::memcpy(dst + 1, src, static_cast<std::size_t>(fit) * long_block_bytes);
    dst[0] = 0;
    return;
  }
  const std::uint64_t factor = long_pow10[shift];
  std::uint64_t carry = 0;
  for (std::int32_t i = count - 1; i >= 0; --i) {
    std::uint64_t v = src[i] * factor + carry;
    if (i + 1 < dst_blocks) dst[i + 1] = static_cast<std::uint32_t>(v % long_base);
    carry = v / long_base;
  }
  dst[0] = static_cast<std::uint32_t>(carry);
}

void long_fix(long_number* n) {
  if (n->exp < 1) {
    long_set_zero(n);
    return;
  }
  if (n->len > n->exp) {
    n->len = n->exp;
    n->norm = 0;
    long_normalize(n, -1);
  }
}
