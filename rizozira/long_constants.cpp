// Pi and e at any precision, cached per precision, and the fixed-point block
// arrays (block 0 the integer part) that they and the series routines use.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "rizozira/long_functions.h"

namespace {

constexpr std::uint64_t base = long_base;
constexpr std::int64_t constant_poll_units = 10000000;  // work between two interrupt polls
constexpr std::int64_t multiply_poll_units = 50000000;  // block products between two polls
// A column takes one product (< 10^16) per row: 1,000 rows stay far below 2^64.
constexpr int product_rows_per_settle = 1000;

// Takes n zeroed blocks for f; false (after nothing is reported) when the
// heap refuses, so that the caller reports 159 once.
bool fixed_alloc(long_fixed& f, std::size_t n) {
  try {
    f.assign(n, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

std::int32_t long_fixed_count_for(std::int64_t digits) {
  return static_cast<std::int32_t>(std::max<std::int64_t>(digits + 18, 20) / long_block_digits);
}

// ---------------------------------------------------------------- block primitives

void long_blocks_set_int(std::uint32_t* a, std::uint32_t v, std::int32_t n) {
  std::memset(a, 0, static_cast<std::size_t>(n) * long_block_bytes);
  a[0] = v;
}

void long_blocks_add(std::uint32_t* a, const std::uint32_t* b, std::int32_t n) {
  long_blocks_add_from(a, b, 0, n);
}

void long_blocks_add_from(std::uint32_t* a, const std::uint32_t* b, std::int32_t from,
                          std::int32_t n) {
  std::uint32_t carry = 0;
  std::int32_t i = n - 1;
  for (; i >= from; --i) {
    std::uint32_t t = a[i] + b[i] + carry;
    carry = t >= base ? 1 : 0;
    a[i] = carry ? t - static_cast<std::uint32_t>(base) : t;
  }
  for (; carry && i >= 0; --i) {  // the carry runs on towards block 0
    std::uint32_t t = a[i] + 1;
    carry = t >= base ? 1 : 0;
    a[i] = carry ? 0 : t;
  }
}

void long_blocks_sub_from(std::uint32_t* a, const std::uint32_t* b, std::int32_t from,
                          std::int32_t n) {
  std::uint32_t borrow = 0;
  std::int32_t i = n - 1;
  for (; i >= from; --i) {
    std::uint32_t sub = b[i] + borrow;
    if (a[i] >= sub) {
      a[i] -= sub;
      borrow = 0;
    } else {
      a[i] = a[i] + static_cast<std::uint32_t>(base) - sub;
      borrow = 1;
    }
  }
  for (; borrow && i >= 0; --i) {
    if (a[i] > 0) {
      a[i] -= 1;
      borrow = 0;
    } else {
      a[i] = static_cast<std::uint32_t>(base) - 1;
    }
  }
}

int long_blocks_compare(const std::uint32_t* a, const std::uint32_t* b, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return a[i] > b[i] ? 1 : -1;
  }
  return 0;
}

void long_blocks_mul_small(std::uint32_t* a, std::uint64_t m, std::int32_t n) {
  std::uint64_t carry = 0;
  for (std::int32_t i = n - 1; i >= 0; --i) {
    std::uint64_t t = a[i] * m + carry;  // m below 1.8e11 keeps this within 64 bits
    a[i] = static_cast<std::uint32_t>(t % base);
    carry = t / base;
  }
}

void long_blocks_div_small(std::uint32_t* a, std::uint32_t d, std::int32_t n) {
  std::uint64_t rem = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    std::uint64_t t = rem * base + a[i];
    a[i] = static_cast<std::uint32_t>(t / d);
    rem = t % d;
  }
}

namespace {

// Division by a divisor fixed for a whole pass, by multiplication with its
// reciprocal: q = the high half of v x floor(2^64 / d), at most one short
// of the true quotient. Several times faster than a 64-bit divide, which is
// what the series routines spend their time on.
struct invariant_divisor {
  std::uint64_t d;
  std::uint64_t inverse;
  explicit invariant_divisor(std::uint64_t divisor)
      : d(divisor), inverse(divisor > 1 ? static_cast<std::uint64_t>((static_cast<unsigned __int128>(1) << 64) / divisor) : 0) {}
  // v / d, with v % d into r.
  std::uint64_t divide(std::uint64_t v, std::uint64_t& r) const {
    if (d <= 1) {
      r = 0;
      return v;
    }
    std::uint64_t q = static_cast<std::uint64_t>((static_cast<unsigned __int128>(v) * inverse) >> 64);
    r = v - q * d;
    if (r >= d) {
      ++q;
      r -= d;
    }
    return q;
  }
};

}  // namespace

std::uint32_t long_fixed_div_small_tracked(std::uint32_t* blocks, std::uint64_t d, std::int32_t n,
                                           std::int32_t& start) {
  std::int32_t first = start < 0 ? 0 : start;
  while (first < n && blocks[first] == 0) ++first;
  start = first;
  if (d == 0) return 0;  // no division by zero: the blocks stay as they are
  const invariant_divisor divisor(d);
  std::uint64_t rem = 0;
  for (std::int32_t i = first; i < n; ++i) {
    blocks[i] = static_cast<std::uint32_t>(divisor.divide(rem * base + blocks[i], rem));
  }
  return static_cast<std::uint32_t>(rem);
}

namespace {

// Sums kept block by block in signed 64-bit cells, without carrying: each
// term is added or subtracted in the same pass that divides it out, and the
// carries are settled once at the end (a cell moves by less than 10^8 per
// term, far from the 64-bit limit).
void settle_sums(const std::vector<std::int64_t>& acc, std::uint32_t* out, std::int32_t count) {
  std::int64_t carry = 0;
  for (std::int32_t i = count - 1; i >= 0; --i) {
    std::int64_t v = acc[static_cast<std::size_t>(i)] + carry;
    std::int64_t c = v / static_cast<std::int64_t>(base);
    std::int64_t r = v - c * static_cast<std::int64_t>(base);
    if (r < 0) {  // floor division for a negative cell
      r += static_cast<std::int64_t>(base);
      --c;
    }
    out[i] = static_cast<std::uint32_t>(r);
    carry = c;
  }
}

}  // namespace

int long_blocks_inverse_series(std::uint32_t* sum, std::uint32_t* pow, std::uint32_t* term,
                               std::uint32_t n, int alternate, std::int32_t count) {
  // sum := 1/n -+ 1/(3 n^3) + 1/(5 n^5) -+ ...: atan(1/n) when the signs
  // alternate, atanh(1/n) when they do not.
  std::vector<std::int64_t> acc(static_cast<std::size_t>(count), 0);
  std::memset(pow, 0, static_cast<std::size_t>(count) * long_block_bytes);
  pow[0] = 1;
  std::int32_t pow_start = 0;  // first block of pow that may be nonzero
  long_fixed_div_small_tracked(pow, n, count, pow_start);
  for (std::int32_t i = 0; i < count; ++i) acc[static_cast<std::size_t>(i)] = pow[i];
  std::int64_t work = 0;
  int k = 1;
  for (;; ++k) {
    const bool negative = alternate && (k & 1);
    std::int32_t start;
    if (n < 10000) {
      // pow := pow / n^2, term := pow / (2k + 1) and sum := sum -+ term in
      // one pass: each division takes the blocks of the one before as they come.
      while (pow_start < count && pow[pow_start] == 0) ++pow_start;
      start = pow_start;
      if (start >= count) break;  // the power has become zero
      const invariant_divisor d1(static_cast<std::uint64_t>(n) * n);
      const invariant_divisor d2(static_cast<std::uint64_t>(2 * k + 1));
      std::uint64_t r1 = 0, r2 = 0;
      std::int64_t* cells = acc.data();
      if (negative) {
        for (std::int32_t i = start; i < count; ++i) {
          std::uint64_t q1 = d1.divide(r1 * base + pow[i], r1);
          pow[i] = static_cast<std::uint32_t>(q1);
          cells[i] -= static_cast<std::int64_t>(d2.divide(r2 * base + q1, r2));
        }
      } else {
        for (std::int32_t i = start; i < count; ++i) {
          std::uint64_t q1 = d1.divide(r1 * base + pow[i], r1);
          pow[i] = static_cast<std::uint32_t>(q1);
          cells[i] += static_cast<std::int64_t>(d2.divide(r2 * base + q1, r2));
        }
      }
    } else {
      long_fixed_div_small_tracked(pow, n, count, pow_start);
      long_fixed_div_small_tracked(pow, n, count, pow_start);
      start = pow_start;
      if (start >= count) break;  // the power has become zero
      std::memcpy(term + start, pow + start, static_cast<std::size_t>(count - start) * long_block_bytes);
      std::int32_t term_start = start;
      long_fixed_div_small_tracked(term, static_cast<std::uint32_t>(2 * k + 1), count, term_start);
      for (std::int32_t i = start; i < count; ++i) {
        acc[static_cast<std::size_t>(i)] += negative ? -static_cast<std::int64_t>(term[i]) : term[i];
      }
    }
    work += long_precision;
    if (work > constant_poll_units) {
      work = 0;
      int rc = long_host_poll_interrupt();
      if (rc < 0) return rc;
    }
  }
  settle_sums(acc, sum, count);
  return k;
}

int long_blocks_arccot(std::uint32_t* sum, std::uint32_t* pow, std::uint32_t* term, std::uint32_t n,
                       std::int32_t count) {
  return long_catch_alloc([&]() -> int { return long_blocks_inverse_series(sum, pow, term, n, 1, count); });
}

void long_debug_line(const char* format, int a, int b) {
  if (!long_debug_dump_on) return;
  char text[160];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  int n = std::snprintf(text, sizeof text, format, a, b);  // formats are this area's own literals
#pragma GCC diagnostic pop
  if (n > 0)
    long_host_print(
        std::string_view(text, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof text - 1)));
}

void long_debug_dump_fixed(const char* label, const long_fixed& f, std::int32_t sign) {
  if (!long_debug_dump_on || f.empty()) return;
  long_work_record r;
  if (long_fixed_to_record(f, sign, &r.n) < 0) return;
  long_debug_dump(label, &r.n, 0);
}

// ---------------------------------------------------------------- fixed-point values and records

void long_fixed_from_record(const long_number* x, long_fixed& f, std::int32_t count) {
  f.assign(static_cast<std::size_t>(count), 0);
  if (long_is_zero(x) || x->len <= 0) return;
  // Digit j (1-based) of x has the weight 10^(exp - j); in the fixed array
  // digit position t (0-based) has the weight 10^(7 - t). So t = j - 1 + s.
  const std::int64_t s = long_block_digits - static_cast<std::int64_t>(x->exp);
  if (s < 0) return;  // |x| >= 10^8 is never asked for
  const std::int64_t block_shift = s / long_block_digits;
  const int digit_shift = static_cast<int>(s % long_block_digits);
  const std::uint32_t div = long_pow10[digit_shift];
  const std::uint32_t mul = long_pow10[long_block_digits - digit_shift];
  std::int32_t blocks = std::min(x->blks, long_blocks_for_digits(x->len));
  for (std::int32_t k = 0; k < blocks; ++k) {
    std::uint32_t v = x->blocks[k];
    if (k == blocks - 1 && x->len % long_block_digits != 0) {  // digits beyond len are not part of the value
      std::uint32_t cut = long_pow10[long_block_digits - x->len % long_block_digits];
      v -= v % cut;
    }
    std::int64_t at = k + block_shift;
    if (at >= count) break;
    f[static_cast<std::size_t>(at)] += v / div;
    if (digit_shift != 0 && at + 1 < count) f[static_cast<std::size_t>(at + 1)] += (v % div) * mul;
  }
}

int long_fixed_to_record(const long_fixed& f, std::int32_t sign, long_number* r) {
  const std::int32_t count = static_cast<std::int32_t>(f.size());
  int rc = long_reserve(r, static_cast<std::int64_t>(count) * long_block_digits);
  if (rc < 0) return rc;
  std::memcpy(r->blocks, f.data(), static_cast<std::size_t>(count) * long_block_bytes);
  r->blks = count;
  r->len = count * long_block_digits;
  r->exp = long_block_digits;
  r->sign = sign;
  r->norm = 0;
  return 0;
}

namespace {

// Settles the column sums of a product into blocks below 10^8, from the
// last column up; what passes column 0 stays in it.
void settle_columns(std::uint64_t* col, std::int32_t count) {
  std::uint64_t carry = 0;
  for (std::int32_t m = count - 1; m > 0; --m) {
    std::uint64_t v = col[m] + carry;
    carry = v / base;
    col[m] = v - carry * base;
  }
  col[0] += carry;
}

}  // namespace

int long_fixed_multiply(const long_fixed& a, const long_fixed& b, std::int32_t b_from,
                        long_fixed& dst) {
  // Schoolbook product by columns: a[i] x b[j] has the weight 10^(-8(i+j)),
  // so it is added whole into column i + j, and the columns are settled
  // into blocks at the end (and every few hundred rows, before a column
  // could pass 2^64). The inner loop has no carry chain, so it vectorises.
  // Two guard columns past dst are formed so that the cut loses less than
  // one unit of dst's last block.
  const std::int32_t nd = static_cast<std::int32_t>(dst.size());
  const std::int32_t na = static_cast<std::int32_t>(a.size());
  const std::int32_t nb = static_cast<std::int32_t>(b.size());
  const std::int32_t ncol = nd + 2;
  std::int32_t a_from = 0, a_to = na;
  while (a_from < na && a[static_cast<std::size_t>(a_from)] == 0) ++a_from;
  while (a_to > a_from && a[static_cast<std::size_t>(a_to - 1)] == 0) --a_to;
  std::vector<std::uint64_t> columns(static_cast<std::size_t>(ncol), 0);
  std::uint64_t* col = columns.data();
  const std::uint32_t* in = a.data();
  std::int64_t work = 0;
  int rows = 0;
  for (std::int32_t j = std::max(b_from, 0); j < nb; ++j) {
    const std::uint64_t bj = b[static_cast<std::size_t>(j)];
    if (bj == 0) continue;
    const std::int32_t i_hi = std::min(a_to - 1, ncol - 1 - j);
    if (i_hi < a_from) continue;
    std::uint64_t* c = col + j;
    for (std::int32_t i = a_from; i <= i_hi; ++i) c[i] += in[i] * bj;
    if (++rows == product_rows_per_settle) {
      settle_columns(col, ncol);
      rows = 0;
    }
    work += i_hi - a_from + 1;
    if (work > multiply_poll_units) {  // a long product must not keep Kill waiting
      work = 0;
      int rc = long_host_poll_interrupt();
      if (rc < 0) return rc;
    }
  }
  settle_columns(col, ncol);
  for (std::int32_t m = 0; m < nd; ++m) {
    // Column 0 is the integer block; nothing above it is kept.
    dst[static_cast<std::size_t>(m)] = static_cast<std::uint32_t>(m == 0 ? col[0] % base : col[m]);
  }
  return 0;
}

// ---------------------------------------------------------------- pi and e

namespace {

// r := the finished fixed-point array with its integer digit moved into the
// first digit of block 0 (exp 1), unnormalised.
int take_constant(const long_fixed& f, long_number* r) {
  int rc = long_fixed_to_record(f, 0, r);
  if (rc < 0) return rc;
  r->exp = 1;
  return 0;
}

}  // namespace

// Fills a cache at `digits` digits when it holds fewer, then rounds it into dst.
int long_cached_constant(long_number* cache, std::int32_t* cache_digits,
                    int (*compute)(std::int32_t, long_number*), long_number* dst,
                    std::int32_t digits) {
  if (*cache_digits < digits) {
    *cache_digits = 0;  // a failed computation leaves the cache empty
    int rc = long_catch_alloc([&]() -> int { return compute(digits, cache); });
    if (rc < 0) return rc;
    {
      long_precision_saver saver;
      long_precision = digits;
      long_normalize(cache, 1);
    }
    *cache_digits = digits;
  }
  if (dst == nullptr) return 0;
  int rc = long_round_copy(cache, dst, digits);
  return rc < 0 ? rc : 0;
}

int long_pi_compute(std::int32_t digits, long_number* r) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_LONGPI, stamp);
  const std::int32_t count = long_fixed_count_for(digits);
  const std::size_t size = static_cast<std::size_t>(count);
  long_fixed p1, w1, w2, p2;
  if (!fixed_alloc(p1, size) || !fixed_alloc(w1, size) || !fixed_alloc(w2, size) || !fixed_alloc(p2, size)) {
    return long_host_report_error(159);
  }
  int rc = long_blocks_arccot(p1.data(), w1.data(), w2.data(), 5, count);
  if (rc < 0) return rc;
  long_blocks_mul_small(p1.data(), 4, count);
  rc = long_blocks_arccot(p2.data(), w1.data(), w2.data(), 239, count);
  if (rc < 0) return rc;
  long_blocks_sub_from(p1.data(), p2.data(), 0, count);
  // The factor 4 of Machin's formula and the move of the integer digit into
  // the first digit of block 0 in one multiplication.
  long_blocks_mul_small(p1.data(), 40000000, count);
  rc = take_constant(p1, r);
  if (rc < 0) return rc;
  long_timer_end(LONG_TIMER_LONGPI, stamp);
  return 0;
}

int long_e_compute(std::int32_t digits, long_number* r) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_LONGE, stamp);
  const std::int32_t count = long_fixed_count_for(digits);
  long_fixed t, s;
  if (!fixed_alloc(t, static_cast<std::size_t>(count)) || !fixed_alloc(s, static_cast<std::size_t>(count))) {
    return long_host_report_error(159);
  }
  long_blocks_set_int(t.data(), 1, count);  // T = 1 / k!
  std::vector<std::int64_t> acc(static_cast<std::size_t>(count), 0);
  acc[0] = 2;
  std::int32_t start = 0;  // first block of T that may be nonzero
  std::int64_t work = 0;
  for (std::uint32_t k = 2;; ++k) {
    // T := T / k and S := S + T in one pass.
    while (start < count && t[static_cast<std::size_t>(start)] == 0) ++start;
    if (start >= count) break;  // T has become zero
    const invariant_divisor d(k);
    std::uint64_t rem = 0;
    std::uint32_t* tb = t.data();
    std::int64_t* cells = acc.data();
    for (std::int32_t i = start; i < count; ++i) {
      std::uint64_t q = d.divide(rem * base + tb[i], rem);
      tb[i] = static_cast<std::uint32_t>(q);
      cells[i] += static_cast<std::int64_t>(q);
    }
    work += long_precision;
    if (work > constant_poll_units) {
      work = 0;
      int rc = long_host_poll_interrupt();
      if (rc < 0) return rc;
    }
  }
  settle_sums(acc, s.data(), count);
  long_blocks_mul_small(s.data(), 10000000, count);
  int rc = take_constant(s, r);
  if (rc < 0) return rc;
  long_timer_end(LONG_TIMER_LONGE, stamp);
  return 0;
}

int long_pi(long_number* dst, std::int32_t digits) {
  return long_cached_constant(long_pi_cache, &long_pi_cache_digits, long_pi_compute, dst, digits);
}

int long_e(long_number* dst, std::int32_t digits) {
  return long_cached_constant(long_e_cache, &long_e_cache_digits, long_e_compute, dst, digits);
}

// ---------------------------------------------------------------- special names

int long_special_longpi() {
  int rc = long_pi(long_accumulator, long_precision);
  return rc < 0 ? rc : long_result;
}

int long_special_longe() {
  int rc = long_e(long_accumulator, long_precision);
  if (rc < 0) return rc;
  long_normalize(long_accumulator, 1);
  return long_result;
}

int long_special_remainder() {
  int rc = long_copy(long_remainder, long_accumulator);
  if (rc < 0) return rc;
  if (!integer_mode) {
    long_accumulator->norm = 0;
    long_normalize(long_accumulator, 1);
  }
  return long_result;
}

int long_series_add_term(long_fixed& sum, const long_fixed& term, std::int32_t start,
                         std::int32_t n_blocks, bool& subtract, long terms) {
  constexpr long poll_every_terms = 20;
  long_debug_dump_fixed("term", term);
  if (subtract) {
    long_blocks_sub_from(sum.data(), term.data(), start, n_blocks);
  } else {
    long_blocks_add_from(sum.data(), term.data(), start, n_blocks);
  }
  long_debug_dump_fixed("sum", sum);
  subtract = !subtract;
  if (terms % poll_every_terms == 0) return long_host_poll_interrupt();
  return 0;
}
