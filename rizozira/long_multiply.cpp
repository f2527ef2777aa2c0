// Schoolbook product of long numbers in base 10^8, truncated to the blocks
// that the working precision can use.
#include <cstdio>

#include "rizozira/long_number.h"

namespace {
constexpr std::int32_t poll_threshold = 200000;  // work units between interrupt polls
}  // namespace

// Starts on a cache line: the column loop's speed otherwise depends on where
// the linker happens to place the function (a third more time in a bad place).
__attribute__((aligned(64))) int long_multiply(const long_number* a, const long_number* b, long_number* c) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_MULT, stamp);

  const std::int32_t a_blks = a->blks;
  const std::int32_t b_blks = b->blks;
  const std::int32_t total = a_blks + b_blks;
  const std::int32_t keep = (long_working_precision() + long_block_digits - 1) / long_block_digits + 2;
  std::int32_t blocks = total;
  std::int32_t discard = 0;
  if (!(total < keep || integer_mode || long_full_multiply == 1)) {
    blocks = keep;
    discard = total - keep;
  }

  const std::int64_t exp = static_cast<std::int64_t>(a->exp) + b->exp;
  if (exp > long_exp_limit || exp < -long_exp_limit) {
    long_clear(c);
    return long_host_report_error(151);
  }
  const std::int64_t len = static_cast<std::int64_t>(a->len) + b->len;
  const std::int32_t sign = a->sign == b->sign ? 0 : -1;
  const std::uint32_t* ab = a->blocks;
  const std::uint32_t* bb = b->blocks;

  int r = long_reserve(c, static_cast<std::int64_t>(blocks) * long_block_digits);
  if (r < 0) return r;
  std::uint32_t* cb = c->blocks;  // every block is written below
  if (long_debug_dump_on) {
    char line[96];
    std::snprintf(line, sizeof line, "product blocks = %d, discard blocks = %d\n", blocks, discard);
    long_host_print(line);
  }

  // a_i x b_j lands in c[i + j + 1]; partial products beyond the kept blocks
  // are never formed. The sum is taken column by column from the least
  // significant kept block up: each column's products go into one 64-bit
  // accumulator (folded every fold_every terms so it cannot overflow), so
  // there is one division by the base per block instead of one per product.
  constexpr std::int32_t fold_every = 1024;  // 1024 x (10^8)^2 + carry < 2^64
  std::uint64_t carry = 0;
  std::int32_t work = 0;
  const std::int32_t step_work = a_blks / 10;
  for (std::int32_t k = blocks - 1; k >= 1; --k) {
    // Terms i + j = k - 1 with 0 <= i < a_blks, 0 <= j < b_blks.
    std::int32_t i_low = k - b_blks;
    if (i_low < 0) i_low = 0;
    std::int32_t i_high = k - 1 < a_blks - 1 ? k - 1 : a_blks - 1;
    std::uint64_t acc = carry;
    std::uint64_t high = 0;  // multiples of the base folded out of acc
    const std::uint32_t* bj = bb + (k - 1);
    for (std::int32_t start = i_low; start <= i_high; start += fold_every) {
      std::int32_t stop = start + fold_every - 1 < i_high ? start + fold_every - 1 : i_high;
      for (std::int32_t i = start; i <= stop; ++i) acc += static_cast<std::uint64_t>(ab[i]) * bj[-i];
      high += acc / long_base;
      acc %= long_base;
    }
    high += acc / long_base;
    cb[k] = static_cast<std::uint32_t>(acc % long_base);
    carry = high;
    work += step_work;
    if (work >= poll_threshold) {
      work = 0;
      int interrupted = long_host_poll_interrupt();
      if (interrupted < 0) {
        long_clear(c);
        return interrupted;
      }
    }
  }
  cb[0] = static_cast<std::uint32_t>(carry);

  c->blks = blocks;
  c->len = static_cast<std::int32_t>(
      len < std::int64_t{long_block_digits} * blocks ? len : std::int64_t{long_block_digits} * blocks);
  c->exp = static_cast<std::int32_t>(exp);
  c->sign = sign;
  c->norm = 0;
  long_timer_end(LONG_TIMER_MULT, stamp);
  return 0;
}
