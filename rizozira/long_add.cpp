// Addition and subtraction of long numbers on aligned base-10^8 blocks,
// keeping only the digits the working precision can use plus guard digits.
#include <cstring>

#include "rizozira/long_number.h"

namespace {

bool is_zero(const long_number* n) { return n->blocks[0] == 0; }

// Whether |b| > |a| for equal exponents: first differing common block, then
// the longer number.
bool magnitude_greater_same_exp(const long_number* b, const long_number* a) {
  std::int32_t common = a->blks < b->blks ? a->blks : b->blks;
  for (std::int32_t i = 0; i < common; ++i) {
    if (a->blocks[i] != b->blocks[i]) return b->blocks[i] > a->blocks[i];
  }
  return b->blks > a->blks;
}

int copy_unnormalised(const long_number* src, long_number* c) {
  int r = long_copy(src, c);
  if (r < 0) return r;
  c->norm = 0;
  return long_result;
}

}  // namespace

int long_add(const long_number* a, const long_number* b, long_number* c) {
  const bool subtract = a->sign != b->sign;
  const std::int64_t g = subtract ? 2 : 1;
  if (is_zero(b)) return copy_unnormalised(a, c);
  if (is_zero(a)) return copy_unnormalised(b, c);

  bool b_larger = a->exp < b->exp ||
                  (subtract && a->exp == b->exp && magnitude_greater_same_exp(b, a));
  const long_number* L = b_larger ? b : a;
  const long_number* S = b_larger ? a : b;

  const std::int64_t gap = static_cast<std::int64_t>(L->exp) - S->exp;
  const std::int64_t p = long_working_precision();
  if (!integer_mode && gap > p + 2) {
    return long_copy(L, c);  // S lies wholly below the precision
  }
  const int q = static_cast<int>(gap % long_block_digits);
  const std::int64_t c_exp = static_cast<std::int64_t>(L->exp) + long_block_digits - q;

  std::int64_t n = L->len + long_block_digits;
  std::int64_t span = (c_exp - S->exp) + S->len;
  if (span > n) n = span;
  if (!integer_mode && n > p + g + long_block_digits) n = p + g + long_block_digits;

  // Copy the fields we need before c's storage changes (c is a third record).
  const std::uint32_t* lb = L->blocks;
  const std::int32_t l_blks = L->blks;
  const std::int32_t l_len = L->len;
  const std::int32_t l_sign = L->sign;
  const std::uint32_t* sb = S->blocks;
  const std::int32_t s_blks = S->blks;
  const std::int64_t s_offset = (c_exp - S->exp) / long_block_digits;  // c block holding S's block 0

  int r = long_reserve(c, n);
  if (r < 0) return r;
  const std::int32_t nb = long_blocks_for_digits(n);
  std::uint32_t* cb = c->blocks;
  std::memset(cb, 0, static_cast<std::size_t>(nb) * long_block_bytes);

  // Place L shifted right by 8 - q digits: block 0 stays free for a carry.
  long_blocks_scale_into(lb, l_blks, q, cb, nb);
  c->len = static_cast<std::int32_t>(l_len + long_block_digits - q);
  c->blks = nb;
  c->sign = l_sign;
  c->exp = static_cast<std::int32_t>(c_exp);
  c->norm = 0;
  long_debug_dump("shf", c, 0);

  // Combine S into c from the last block up to block 1.
  std::int64_t s_end = s_offset + s_blks;  // one past S's last aligned block
  std::int32_t last = nb - 1;
  if (!subtract) {
    std::uint32_t carry = 0;
    for (std::int32_t k = last; k >= 1; --k) {
      std::uint32_t sv = (k >= s_offset && k < s_end) ? sb[k - s_offset] : 0;
      std::uint32_t v = cb[k] + sv + carry;
      if (v >= long_base) {
        cb[k] = v - long_base;
        carry = 1;
      } else {
        cb[k] = v;
        carry = 0;
      }
    }
    cb[0] += carry;
  } else {
    // S's blocks beyond c's last block are dropped. Left out of a
    // subtraction they would make the difference too large by up to one unit
    // of c's last block, and a difference just below a rounding tie at digit
    // p would then round the wrong way (1 - 0.5000...0001 x 10^-p). A
    // non-zero dropped tail therefore borrows one unit of that block: the
    // computed value lies just below the exact one and rounds as it does.
    std::uint32_t borrow = 0;
    for (std::int64_t k = s_end - 1; k >= nb && k >= s_offset && borrow == 0; --k) {
      if (sb[k - s_offset] != 0) borrow = 1;
    }
    for (std::int32_t k = last; k >= 1; --k) {
      std::uint32_t sv = (k >= s_offset && k < s_end) ? sb[k - s_offset] : 0;
      std::int64_t v = static_cast<std::int64_t>(cb[k]) - sv - borrow;
      if (v < 0) {
        cb[k] = static_cast<std::uint32_t>(v + long_base);
        borrow = 1;
      } else {
        cb[k] = static_cast<std::uint32_t>(v);
        borrow = 0;
      }
    }
    cb[0] -= borrow;
  }
  c->len = static_cast<std::int32_t>(n);
  return 0;
}

int long_subtract(const long_number* a, long_number* b, long_number* c) {
  std::int32_t saved = b->sign;
  b->sign = saved == 0 ? -1 : 0;
  int r = long_add(a, b, c);
  b->sign = saved;
  return r;
}
