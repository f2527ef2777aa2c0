// e^x and 10^x: the characteristic in base 10 goes into the exponent, up to
// two halvings, then digit ranges of the fraction whose exponentials are
// Taylor series of falling cost. Also ROOT and the power operator on longs.
#include <algorithm>

#include "rizozira/long_functions.h"

namespace {

constexpr int series_poll_terms = 20;  // terms between two interrupt polls
constexpr std::int32_t exp_default_boundaries[4] = {8, 48, 304, 2000};

// Blocks of the fixed-point work form for the precision P: P + 18 digits.
std::int32_t work_blocks(std::int32_t P) { return (P + 18 + long_block_digits - 1) / long_block_digits; }

// 1 as a normalised record.
int set_one(long_number* r) {
  int rc = long_reserve(r, long_block_digits);
  if (rc < 0) return rc;
  return long_from_int(r, 1);
}

}  // namespace

void long_force_boundaries(std::int32_t* b, int count) {
  for (int i = 1; i < count; ++i) {
    std::int32_t v = b[i] - b[i] % long_block_digits;  // whole blocks
    if (v < long_block_digits) v = long_block_digits;
    if (v <= b[i - 1]) v = b[i - 1] + long_block_digits;
    b[i] = v;
  }
}

void long_exp_boundaries(std::int32_t P, std::int32_t b[6]) {
  static const char* const names[4] = {"expcrossover1", "expcrossover2", "expcrossover3",
                                        "expcrossover4"};
  b[0] = 0;
  for (int i = 0; i < 4; ++i) b[i + 1] = long_tuning_int(names[i], exp_default_boundaries[i]);
  b[5] = P + 18;
  long_force_boundaries(b, 6);
}

int long_exp_series(const long_fixed& f, long_fixed& sum, std::int32_t first, std::int32_t count,
                    std::int32_t negative) {
  const std::int32_t n_blocks = static_cast<std::int32_t>(sum.size());
  long_fixed piece(static_cast<std::size_t>(n_blocks), 0);
  for (std::int32_t k = first; k < first + count; ++k) {
    if (k + 1 < n_blocks) piece[static_cast<std::size_t>(k + 1)] = f[static_cast<std::size_t>(k)];
  }
  long_fixed term = piece;
  long_fixed product(static_cast<std::size_t>(n_blocks), 0);
  std::fill(sum.begin(), sum.end(), 0);
  sum[0] = 1;
  if (negative) {
    long_blocks_sub_from(sum.data(), term.data(), 0, n_blocks);
  } else {
    long_blocks_add_from(sum.data(), term.data(), 0, n_blocks);
  }
  long_debug_dump_fixed("trm", term, negative ? -1 : 0);
  long_debug_dump_fixed("sum", sum);
  for (std::uint32_t n = 2;; ++n) {
    long_debug_line("n = %d\n", static_cast<int>(n));
    if (int mrc = long_fixed_multiply(term, piece, first + 1, product); mrc < 0) return mrc;
    term.swap(product);
    long_debug_dump_fixed("prd", term);
    std::int32_t start = 0;
    long_fixed_div_small_tracked(term.data(), n, n_blocks, start);
    if (start >= n_blocks) break;  // the term has become zero
    long_debug_dump_fixed("pr2", term);
    if (negative && (n & 1)) {
      long_blocks_sub_from(sum.data(), term.data(), start, n_blocks);
    } else {
      long_blocks_add_from(sum.data(), term.data(), start, n_blocks);
    }
    long_debug_dump_fixed("sum", sum);
    if (n % series_poll_terms == 0) {
      int rc = long_host_poll_interrupt();
      if (rc < 0) return rc;
    }
  }
  return 0;
}

int long_exp_staged(const long_number* x, long_number* result) {
  const std::int32_t P = long_precision;
  if (long_is_zero(x) || x->exp < -(P + 10)) return set_one(result);
  if (x->exp >= 2 || (x->exp == 1 && x->blocks[0] > 35000000)) return long_host_report_error(168);
  const std::int32_t n_blocks = work_blocks(P);
  long_fixed y;
  long_fixed_from_record(x, y, n_blocks);
  int halvings = 0;
  while (y[0] >= 1 && halvings < 2) {  // bring |y| below 1
    long_blocks_div_small(y.data(), 2, n_blocks);
    ++halvings;
  }
  // The fraction: f[k] is fixed block k + 1; trailing zero blocks dropped.
  long_fixed f(y.begin() + 1, y.end());
  std::int32_t f_blocks = static_cast<std::int32_t>(f.size());
  while (f_blocks > 0 && f[static_cast<std::size_t>(f_blocks - 1)] == 0) --f_blocks;
  const std::int32_t f_len = f_blocks * long_block_digits;
  std::int32_t b[6];
  long_exp_boundaries(P, b);
  long_fixed acc(static_cast<std::size_t>(n_blocks), 0);
  acc[0] = 1;  // e^0 when the fraction is empty
  long_fixed sum(static_cast<std::size_t>(n_blocks), 0);
  long_fixed product(static_cast<std::size_t>(n_blocks), 0);
  for (int i = 0; i < 5; ++i) {
    const std::int32_t first = b[i] / long_block_digits;
    if (first >= f_blocks) break;
    const std::int32_t count = b[i + 1] >= f_len ? f_blocks - first : (b[i + 1] - b[i]) / long_block_digits;
    int rc = long_exp_series(f, sum, first, count, x->sign != 0);
    if (rc < 0) return rc;
    if (i == 0) {
      acc.swap(sum);
    } else {
      if (int mrc = long_fixed_multiply(acc, sum, 0, product); mrc < 0) return mrc;
      acc.swap(product);
    }
    if (first + count >= f_blocks) break;
  }
  for (int i = 0; i < halvings; ++i) {  // undo the halvings
    if (int mrc = long_fixed_multiply(acc, acc, 0, product); mrc < 0) return mrc;
    acc.swap(product);
  }
  return long_fixed_to_record(acc, 0, result);
}

int long_exp_core(std::int32_t p, long_number* x, long_number* result, int base10) {
  long_precision = p + 16;
  const std::int32_t P = long_precision;
  if (!base10 && (x->exp < 1 || (x->exp == 1 && x->blocks[0] < 23025850))) {
    int rc = long_exp_staged(x, result);
    if (rc < 0) return rc;
    result->norm = 0;
    return 0;
  }
  if (base10 && x->blks == 1 && (x->exp >= x->len || long_is_zero(x)) &&
      (x->exp < 7 || (x->exp == 7 && x->blocks[0] <= 10000000))) {
    // 10^k for an integer k: exact, no series.
    std::int32_t k = 0;
    if (!long_is_zero(x)) {
      k = static_cast<std::int32_t>(x->blocks[0] / long_pow10[long_block_digits - x->exp]);
      if (x->sign) k = -k;
    }
    int rc = long_reserve(result, long_block_digits);
    if (rc < 0) return rc;
    result->blocks[0] = 10000000;
    result->exp = k + 1;
    result->len = 1;
    result->blks = 1;
    result->sign = 0;
    result->norm = 1;
    return 0;
  }
  if (base10 && (x->exp > 7 || (x->exp == 7 && x->blocks[0] > 10000000))) return long_host_report_error(170);
  if (!base10 && (x->exp > 7 || (x->exp == 7 && x->blocks[0] > 23025850))) return long_host_report_error(169);
  long_work_record ln10, y;
  int rc = long_ln10(&ln10.n, P);
  if (rc < 0) return rc;
  if (base10) {
    rc = long_copy(x, &y.n);
    if (rc < 0) return rc;
    long_debug_dump("clg", &y.n, 0);
  } else {
    long_work_record dividend, divisor;
    rc = long_copy(x, &dividend.n);
    if (rc < 0) return rc;
    rc = long_copy(&ln10.n, &divisor.n);
    if (rc < 0) return rc;
    rc = long_divide(&dividend.n, &divisor.n, &y.n);
    if (rc < 0) return rc;
    long_debug_dump("cln", &y.n, 0);
  }
  long_normalize(&y.n, 1);
  // Characteristic: the integer digits of y (at most 7, all in block 0).
  std::int32_t c = 0;
  if (!long_is_zero(&y.n) && y.n.exp > 0) {
    const std::uint32_t unit = long_pow10[long_block_digits - y.n.exp];
    c = static_cast<std::int32_t>(y.n.blocks[0] / unit);
    y.n.blocks[0] %= unit;
    y.n.norm = 0;
    const std::int32_t sign = y.n.sign;
    long_normalize(&y.n, 0);
    if (!long_is_zero(&y.n)) y.n.sign = sign;
    if (sign) c = -c;
  }
  long_debug_line("Characteristic = %d\n", c);
  long_debug_dump("man", &y.n, 0);
  long_work_record z;
  rc = long_multiply(&y.n, &ln10.n, &z.n);
  if (rc < 0) return rc;
  long_debug_dump("nlg", &z.n, 0);
  long_normalize(&z.n, 1);
  long_debug_dump("nln", &z.n, 0);
  rc = long_exp_staged(&z.n, result);
  if (rc < 0) return rc;
  result->exp += c;
  result->norm = 0;
  return 0;
}

int long_exp(const long_number* x, long_number* result, int base10) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_EXP, stamp);
  long_precision_saver saver;
  const std::int32_t p = long_precision;
  long_work_record rounded;
  int rc = long_round_copy(x, &rounded.n, p + 8);
  if (rc < 0) return rc;
  rc = long_exp_core(p, &rounded.n, result, base10);
  if (rc < 0) return rc;
  long_timer_end(LONG_TIMER_EXP, stamp);
  return 0;
}

// ---------------------------------------------------------------- entry points

int long_func_exp(long_number* x, int base10) {
  if (integer_mode) return long_host_report_error(162);
  long_normalize(x, 1);
  int rc = long_exp(x, long_accumulator, base10);
  if (rc < 0) return rc;
  long_round_result(long_accumulator);
  return long_result;
}

int long_power(long_number* base, long_number* exponent, long_number* result) {
  if (integer_mode) return long_host_report_error(162);
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_POWER, stamp);
  long_normalize(base, 1);
  long_normalize(exponent, 1);
  if (long_is_zero(base)) {  // 0^0 = 1, 0 to any other power 0
    int rc = long_is_zero(exponent) ? set_one(result) : (long_set_zero(result), 0);
    if (rc < 0) return rc;
    long_timer_end(LONG_TIMER_POWER, stamp);
    return 0;
  }
  std::int32_t negative = 0;
  if (base->sign) {
    const bool integral = long_is_zero(exponent) || (exponent->exp >= 1 && exponent->len <= exponent->exp);
    if (!integral) return long_host_report_error(20);
    negative = long_is_zero(exponent) ? 0 : long_is_odd(exponent);
    base->sign = 0;
  }
  int rc;
  {
    long_precision_saver saver;
    long_precision += 16;
    long_work_record ln, product;
    rc = long_log(base, &ln.n, 0);
    if (rc < 0) return rc;
    long_normalize(&ln.n, 1);
    rc = long_multiply(&ln.n, exponent, &product.n);
    if (rc < 0) return rc;
    long_normalize(&product.n, 1);
    rc = long_exp(&product.n, result, 0);
    if (rc < 0) return rc;
  }
  result->sign = negative ? -1 : 0;
  result->norm = 0;
  long_normalize(result, 1);
  long_timer_end(LONG_TIMER_POWER, stamp);
  return 0;
}

int long_func_root(long_number* x, long_number* n) {
  if (integer_mode) return long_host_report_error(162);
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_ROOT, stamp);
  long_normalize(x, 1);
  long_normalize(n, 1);
  if (long_is_zero(x)) {
    int rc = long_is_zero(n) ? set_one(long_accumulator) : (long_set_zero(long_accumulator), 0);
    return rc < 0 ? rc : long_result;
  }
  if (long_is_zero(n)) return long_host_report_error(20);
  std::int32_t negative = 0;
  if (x->sign) {
    const bool integral = n->exp >= 1 && n->len <= n->exp;
    if (!integral || !long_is_odd(n)) return long_host_report_error(20);
    negative = 1;
    x->sign = 0;
  }
  {
    long_precision_saver saver;
    long_precision += 16;
    int rc = long_log(x, long_accumulator, 0);
    if (rc < 0) return rc;
    long_normalize(long_accumulator, 1);
    long_work_record divisor;
    rc = long_copy(n, &divisor.n);
    if (rc < 0) return rc;
    rc = long_divide(long_accumulator, &divisor.n, x);
    if (rc < 0) return rc;
    long_normalize(x, 1);
    rc = long_exp(x, long_accumulator, 0);
    if (rc < 0) return rc;
  }
  long_accumulator->norm = 0;
  long_normalize(long_accumulator, 1);
  if (negative && !long_is_zero(long_accumulator)) long_accumulator->sign = -1;
  long_timer_end(LONG_TIMER_ROOT, stamp);
  return long_result;
}
