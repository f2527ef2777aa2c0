// Schoolbook product of long numbers in base 10^8, truncated to the blocks
// that the working precision can use.
#include <cstdio>
#include <cstring>

#include "interpreter/errors.h"
#include "interpreter/output.h"
#include "interpreter/timing.h"
#include "rizozira/long_number.h"

namespace {
constexpr std::int32_t poll_threshold = 200000;  // work units between interrupt polls
}  // namespace

int long_multiply(const long_number* a, const long_number* b, long_number* c) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_MULT, stamp);

  const std::int32_t a_blks = a->blks;
  const std::int32_t b_blks = b->blks;
  const std::int32_t total = a_blks + b_blks;
  const std::int32_t keep = (long_precision + 7) / 8 + 2;
  std::int32_t blocks = total;
  std::int32_t discard = 0;
  if (!(total < keep || integer_mode || long_full_multiply == 1)) {
    blocks = keep;
    discard = total - keep;
  }

  const std::int64_t exp = static_cast<std::int64_t>(a->exp) + b->exp;
  if (exp > long_exp_limit || exp < -long_exp_limit) {
    long_clear(c);
    return report_error(151);
  }
  const std::int64_t len = static_cast<std::int64_t>(a->len) + b->len;
  const std::int32_t sign = a->sign == b->sign ? 0 : -1;
  const std::uint32_t* ab = a->blocks;
  const std::uint32_t* bb = b->blocks;

  int r = long_reserve(c, static_cast<std::int64_t>(blocks) * 8);
  if (r < 0) return r;
  std::uint32_t* cb = c->blocks;
  std::memset(cb, 0, static_cast<std::size_t>(blocks) * 4);
  if (long_debug_dump_on) {
    char line[96];
    std::snprintf(line, sizeof line, "product blocks = %d, discard blocks = %d\n", blocks, discard);
    print_text(line);
  }

  // a_i x b_j lands in c[i + j + 1]; partial products beyond the kept blocks
  // are never formed.
  std::int32_t work = 0;
  const std::int32_t step_work = a_blks / 10;
  for (std::int32_t j = b_blks - 1; j >= 0; --j) {
    std::int32_t i_max = blocks - 2 - j;
    if (i_max > a_blks - 1) i_max = a_blks - 1;
    const std::uint64_t bj = bb[j];
    if (i_max >= 0 && bj != 0) {
      std::uint64_t carry = 0;
      std::uint32_t* row = cb + j + 1;
      for (std::int32_t i = i_max; i >= 0; --i) {
        std::uint64_t sum = ab[i] * bj + carry + row[i];
        carry = sum / long_base;
        row[i] = static_cast<std::uint32_t>(sum - carry * long_base);
      }
      cb[j] = static_cast<std::uint32_t>(carry);
    }
    work += step_work;
    if (work >= poll_threshold) {
      work = 0;
      int interrupted = poll_user_interrupt();
      if (interrupted < 0) {
        long_clear(c);
        return interrupted;
      }
    }
  }

  c->blks = blocks;
  c->len = static_cast<std::int32_t>(len < 8LL * blocks ? len : 8LL * blocks);
  c->exp = static_cast<std::int32_t>(exp);
  c->sign = sign;
  c->norm = 0;
  long_timer_end(LONG_TIMER_MULT, stamp);
  return 0;
}
