// Long division in base 10^8 (floating and integer mode), MOD, and the
// block-array primitives that the conversions and series routines share.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "rizozira/long_number.h"

std::int32_t long_div_high_guesses = 0;
std::int32_t long_div_low_guesses = 0;

namespace {

constexpr std::int32_t poll_threshold = 1500000;  // block operations between interrupt polls

bool is_zero(const long_number* n) { return n->blocks[0] == 0; }

// One DEBUG LONG line.
__attribute__((format(printf, 1, 2))) void debug_line(const char* format, ...) {
  if (!long_debug_dump_on) return;
  char line[96];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  long_host_print(line);
}

// A record with its own 256-byte inline buffer, cleared when it goes out of
// scope so that no heap array leaks on any return path.
struct work_number {
  std::uint32_t buffer[long_slot_inline_blocks];
  long_number n;
  work_number() { long_init(&n, buffer, sizeof buffer); }
  ~work_number() { long_clear(&n); }
  work_number(const work_number&) = delete;
  work_number& operator=(const work_number&) = delete;
};

// -1, 0, 1 comparing count blocks of x and y from the top.
int compare_blocks(const std::uint32_t* x, const std::uint32_t* y, std::int32_t count) {
  for (std::int32_t k = 0; k < count; ++k) {
    if (x[k] != y[k]) return x[k] < y[k] ? -1 : 1;
  }
  return 0;
}

bool exponent_in_range(std::int64_t e) { return e <= long_exp_limit && e >= -long_exp_limit; }

// w[0 .. nb-1] += B x guess, dropping the carry out of w[0] (it cancels the
// borrow of the subtraction being taken back).
void add_product(std::uint32_t* w, const std::uint32_t* b, std::int32_t nb, std::uint64_t guess) {
  std::uint64_t carry = 0;
  std::uint32_t add_carry = 0;
  for (std::int32_t k = nb - 1; k >= 0; --k) {
    std::uint64_t v = b[k] * guess + carry;
    carry = v / long_base;
    std::uint64_t s = w[k] + (v - carry * long_base) + add_carry;
    add_carry = s >= long_base;
    w[k] = static_cast<std::uint32_t>(s - (add_carry ? long_base : 0));
  }
}

}  // namespace

int long_divide_prepare(long_number* a, const long_number* b, long_number* scratch) {
  (void)scratch;  // a's array is grown in place by long_extend_blocks
  if (is_zero(b)) return long_host_report_error(166);
  std::int32_t k = (long_working_precision() + 17) / long_block_digits;
  std::int32_t need = b->blks + k - 1;
  if (a->blks < need) {
    int r = long_extend_blocks(a, need);
    if (r < 0) return r;
  }
  return k;
}

int long_divide_prepare_integer(const long_number* a, const long_number* b, long_number* dst,
                                std::int32_t* shift_out) {
  if (is_zero(b)) return long_host_report_error(166);
  // |b| > |a|: the quotient is 0.
  if (is_zero(a)) return 0;
  if (b->exp != a->exp) {
    if (b->exp > a->exp) return 0;
  } else {
    std::int32_t common = a->blks < b->blks ? a->blks : b->blks;
    int c = compare_blocks(a->blocks, b->blocks, common);
    if (c < 0 || (c == 0 && b->blks > a->blks)) return 0;
  }
  const std::int32_t sb = (long_block_digits - (b->exp % long_block_digits)) % long_block_digits;
  const std::int32_t sa = (long_block_digits - (a->exp % long_block_digits)) % long_block_digits;
  const std::int32_t t = (sb + long_block_digits - sa) % long_block_digits;
  std::int32_t za = (a->exp + long_block_digits - 1) / long_block_digits - a->blks;
  std::int32_t zb = (b->exp + long_block_digits - 1) / long_block_digits - b->blks;
  if (za < 0) za = 0;
  if (zb < 0) zb = 0;
  const std::int32_t e = za > zb ? za - zb : 0;
  const std::int64_t dblocks = static_cast<std::int64_t>(a->blks) + e + 1;

  const std::uint32_t* ab = a->blocks;
  const std::int32_t a_blks = a->blks;
  int r = long_reserve(dst, dblocks * long_block_digits);
  if (r < 0) return r;
  std::uint32_t* d = dst->blocks;
  std::memset(d, 0, static_cast<std::size_t>(dblocks) * long_block_bytes);
  long_blocks_scale_into(ab, a_blks, t, d, static_cast<std::int32_t>(dblocks));
  dst->blks = static_cast<std::int32_t>(dblocks);
  dst->exp = a->exp + long_block_digits - t;
  std::int64_t len = static_cast<std::int64_t>(a->len) + long_block_digits - t + std::int64_t{long_block_digits} * e;
  if (len < dst->exp) len = dst->exp;
  if (len > long_block_digits * dblocks) len = long_block_digits * dblocks;
  dst->len = static_cast<std::int32_t>(len);
  dst->sign = a->sign;
  dst->norm = 0;

  std::int32_t n = dst->blks - b->blks + 1;
  if (zb > za) n -= zb - za;
  if (sa > sb) n -= 1;
  if (shift_out != nullptr) *shift_out = sb;
  return n;
}

int long_divide_core(long_number* A, const long_number* B, long_number* q, std::int32_t qblocks) {
  const std::int32_t nb = B->blks;
  if (qblocks < 1) qblocks = 1;
  if (A->blks < qblocks + nb - 1) {
    int r = long_extend_blocks(A, qblocks + nb - 1);
    if (r < 0) return r;
  }
  const std::int64_t q_exp = integer_mode ? std::int64_t{long_block_digits} * qblocks : static_cast<std::int64_t>(A->exp) - B->exp + long_block_digits;
  if (!exponent_in_range(q_exp)) return long_host_report_error(151);
  const std::int32_t sign = A->sign == B->sign ? 0 : -1;
  int r = long_reserve(q, static_cast<std::int64_t>(qblocks) * long_block_digits);
  if (r < 0) return r;
  std::uint32_t* qb = q->blocks;
  std::memset(qb, 0, static_cast<std::size_t>(qblocks) * long_block_bytes);
  q->blks = qblocks;
  q->len = long_block_digits * qblocks;
  q->sign = sign;
  q->exp = static_cast<std::int32_t>(q_exp);
  q->norm = 0;

  std::uint32_t* a = A->blocks;
  const std::uint32_t* b = B->blocks;
  const std::uint64_t b0 = b[0];
  const std::uint64_t f = nb >= 2 ? long_base - b[1] / b[0] : long_base;
  std::uint64_t prev = 0;
  std::int32_t work = 0;
  for (std::int32_t i = 0; i < qblocks; ++i) {
    bool pending = false;
    bool first_subtraction = true;
    std::uint64_t last_guess = 0;
    for (;;) {
      if (prev == 0 && compare_blocks(a + i, b, nb) < 0) break;  // window below B: block done
      std::uint64_t guess;
      if (pending) {
        qb[i] -= static_cast<std::uint32_t>(last_guess);
        guess = last_guess - 1;
      } else {
        guess = (prev * f + (a[i] * f) / long_base) / b0;
      }
      if (guess == 0) guess = 1;
      qb[i] += static_cast<std::uint32_t>(guess);
      last_guess = guess;
      // Window := window - B x guess in one pass (the window is A[i-1 .. i+nb-1],
      // with an implied 0 above A[0] at i = 0); a negative result means the
      // guess was too high, and B x guess is added back.
      std::uint32_t* w = a + i;
      std::uint64_t carry = 0;
      std::int64_t borrow = 0;
      for (std::int32_t k = nb - 1; k >= 0; --k) {
        std::uint64_t v = b[k] * guess + carry;
        carry = v / long_base;
        std::int64_t d = static_cast<std::int64_t>(w[k]) - static_cast<std::int64_t>(v - carry * long_base) - borrow;
        borrow = d < 0;
        w[k] = static_cast<std::uint32_t>(d + (borrow ? long_base : 0));
      }
      std::int64_t top = (i > 0 ? static_cast<std::int64_t>(a[i - 1]) : 0) - static_cast<std::int64_t>(carry) - borrow;
      if (top < 0) {
        add_product(w, b, nb, guess);  // take the subtraction back
        ++long_div_high_guesses;
        pending = true;
      } else {
        if (i > 0) a[i - 1] = static_cast<std::uint32_t>(top);
        if (!first_subtraction) ++long_div_low_guesses;
        first_subtraction = false;
        pending = false;
      }
      prev = i > 0 ? a[i - 1] : 0;
    }
    prev = a[i];
    work += nb;
    if (work >= poll_threshold) {
      work = 0;
      int interrupted = long_host_poll_interrupt();
      if (interrupted < 0) return interrupted;
    }
  }
  return 0;
}

int long_divide(long_number* a, long_number* b, long_number* q) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_DIV, stamp);
  long_normalize(a, -1);
  long_normalize(b, -1);
  long_clear(q);
  work_number scratch;
  long_number* D = &scratch.n;
  if (integer_mode) {
    long_fix(a);
    long_fix(b);
    long_debug_dump("ddi", a, 0);
    long_debug_dump("dsi", b, 0);
    std::int32_t shift = 0;
    int n = long_divide_prepare_integer(a, b, D, &shift);
    if (n < 0) return n;
    if (n > 0) {
      long_clear(a);
      long_debug_dump("ndd", D, 0);
      debug_line("quotient blocks = %d, shift digits = %d\n", n, shift);
      long_div_high_guesses = 0;
      long_div_low_guesses = 0;
      int r = long_divide_core(D, b, q, n);
      long_clear(b);
      if (r < 0) {
        long_clear(q);
        return r;
      }
      long_debug_dump("qu", q, 0);
      long_normalize(q, -1);
      long_debug_dump("remdr", D, 0);
      long_normalize(D, -1);
      long_debug_dump("qun", q, 0);
      long_move(D, long_remainder);
    } else {
      long_set_zero(q);
      int r = long_copy(a, long_remainder);
      long_clear(a);
      long_clear(b);
      if (r < 0) return r;
    }
    long_debug_dump("rem", long_remainder, 0);
  } else {
    int n = long_divide_prepare(a, b, D);
    if (n < 0) return n;
    if (!exponent_in_range(static_cast<std::int64_t>(a->exp) - b->exp)) {
      long_clear(a);
      return long_host_report_error(151);
    }
    long_div_high_guesses = 0;
    long_div_low_guesses = 0;
    long_debug_dump("op1", a, 0);
    long_debug_dump("op2", b, 0);
    debug_line("quotient length = %d\n", n);
    int r = long_divide_core(a, b, q, n);
    long_clear(a);
    long_clear(D);
    if (r < 0) {
      long_clear(q);
      return r;
    }
    debug_line("High guesses = %d, low guesses = %d\n", long_div_high_guesses, long_div_low_guesses);
    long_normalize(q, 1);
  }
  long_timer_end(LONG_TIMER_DIV, stamp);
  return 0;
}

int long_mod(const long_number* a, long_number* b) {
  long_number* t = long_temp_alloc();
  if (t == nullptr) return -1;
  int r = long_copy(a, t);
  if (r < 0) return r;
  std::int32_t saved_round = long_round_mode;
  long_round_mode = 0;
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_MOD, stamp);
  r = long_divide(t, b, long_accumulator);
  long_round_mode = saved_round;
  if (r < 0) return r;
  if (integer_mode) {
    long_move(long_remainder, long_accumulator);
  } else {
    long_fix(long_accumulator);
    r = long_multiply(long_accumulator, b, long_remainder);
    if (r < 0) return r;
    long_normalize(long_remainder, -1);
    r = long_subtract(a, long_remainder, long_accumulator);
    if (r < 0) return r;
    long_normalize(long_accumulator, -1);
  }
  long_timer_end(LONG_TIMER_MOD, stamp);
  return 0;
}

std::uint32_t long_blocks_div_small_tracked(std::uint32_t* blocks, std::uint32_t d, std::int32_t n,
                                            std::int32_t& start) {
  std::int32_t first = start < 0 ? 0 : start;
  while (first < n && blocks[first] == 0) ++first;
  start = first;
  if (d == 0) return 0;  // no division by zero: leave the blocks as they are
  std::uint64_t rem = 0;
  for (std::int32_t i = first; i < n; ++i) {
    std::uint64_t v = rem * long_base + blocks[i];
    blocks[i] = static_cast<std::uint32_t>(v / d);
    rem = v % d;
  }
  return static_cast<std::uint32_t>(rem);
}

namespace {

// Multiplies blocks n-1 down to start by m; returns the carry out of `start`.
std::uint64_t mul_small_from(std::uint32_t* blocks, std::uint32_t m, std::int32_t n, std::int32_t& start) {
  if (start > 0) --start;
  if (start < 0) start = 0;
  std::uint64_t carry = 0;
  for (std::int32_t i = n - 1; i >= start; --i) {
    std::uint64_t v = static_cast<std::uint64_t>(blocks[i]) * m + carry;
    carry = v / long_base;
    blocks[i] = static_cast<std::uint32_t>(v - carry * long_base);
  }
  if (start < n && blocks[start] == 0) ++start;
  return carry;
}

}  // namespace

void long_blocks_mul_small_tracked(std::uint32_t* blocks, std::uint32_t m, std::int32_t n,
                                   std::int32_t& start) {
  mul_small_from(blocks, m, n, start);
}

int long_blocks_mul_small_checked(std::uint32_t* blocks, std::uint32_t m, std::int32_t n,
                                  std::int32_t& start) {
  return mul_small_from(blocks, m, n, start) != 0 ? -1 : 0;
}

void long_blocks_sub(std::uint32_t* a, const std::uint32_t* b, std::int32_t n) {
  std::uint32_t borrow = 0;
  for (std::int32_t i = n - 1; i >= 0; --i) {
    std::int64_t v = static_cast<std::int64_t>(a[i]) - b[i] - borrow;
    if (v < 0) {
      a[i] = static_cast<std::uint32_t>(v + long_base);
      borrow = 1;
    } else {
      a[i] = static_cast<std::uint32_t>(v);
      borrow = 0;
    }
  }
}
