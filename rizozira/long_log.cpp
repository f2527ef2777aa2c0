// Natural and decimal logarithms: a decimal characteristic plus the
// logarithm of a mantissa in [0.31, 3.1), from an exact rational series or
// a Newton iteration at rising precisions; and the cached constant ln 10.
#include <algorithm>
#include <cstdio>

#include "rizozira/long_functions.h"

namespace {

constexpr std::int32_t newton_stages[4] = {32, 304, 2000, 10000};

// f := |f| x m over blocks [0, n) (m below 1.8e11).
void fixed_scale_add(long_fixed& total, const long_fixed& part, std::uint64_t m) {
  long_fixed scaled = part;
  long_blocks_mul_small(scaled.data(), m, static_cast<std::int32_t>(scaled.size()));
  long_blocks_add(total.data(), scaled.data(), static_cast<std::int32_t>(total.size()));
}

}  // namespace

// ---------------------------------------------------------------- ln 10

int long_ln10_compute(std::int32_t digits, long_number* r) {
  return long_catch_alloc([&]() -> int {
    const std::int32_t count = long_fixed_count_for(digits);
    long_fixed total(static_cast<std::size_t>(count), 0), part(static_cast<std::size_t>(count), 0);
    // ln 10 = 2 (23 atanh(1/31) + 17 atanh(1/49) + 10 atanh(1/161))
    static const std::uint32_t terms[3][2] = {{31, 23}, {49, 17}, {161, 10}};
    for (const auto& t : terms) {
      long_fixed pow(part.size(), 0), term(part.size(), 0);
      int rc = long_blocks_inverse_series(part.data(), pow.data(), term.data(), t[0], 0, count);
      if (rc < 0) return rc;
      fixed_scale_add(total, part, t[1]);
    }
    // The factor 2 and the move of the integer digit into the first digit of block 0.
    long_blocks_mul_small(total.data(), 20000000, count);
    int rc = long_fixed_to_record(total, 0, r);
    if (rc < 0) return rc;
    r->exp = 1;
    return 0;
  });
}

int long_ln10(long_number* dst, std::int32_t digits) {
  return long_cached_constant(long_ln10_cache, &long_ln10_cache_digits, long_ln10_compute, dst,
                              digits);
}

// ---------------------------------------------------------------- rational path

int long_ln_rational(std::int32_t P, std::uint32_t num, std::uint32_t den, long_number* r) {
  if (num < 1 || den < 1 || num >= long_base || den >= long_base) return long_host_report_error(156);
  return long_catch_alloc([&]() -> int {
    // ln(num/den) = 2 atanh(d/s), d = |num - den|, s = num + den. Two integer
    // blocks (block 1 the units, block 0 the next higher) leave room for the
    // power times d^2 before it is divided by s^2.
    const std::uint32_t d = num > den ? num - den : den - num;
    const std::uint32_t s = num + den;
    const std::int32_t c = std::max(P + 34, 28) / long_block_digits;
    long_fixed sum(static_cast<std::size_t>(c), 0), power(static_cast<std::size_t>(c), 0),
        term(static_cast<std::size_t>(c), 0);
    std::int32_t exp = 16;
    if (d == 1) {  // 2 atanh(1/s): one pass of small divisions per term
      int rc = long_blocks_inverse_series(sum.data(), power.data(), term.data(), s, 0, c);
      if (rc < 0) return rc;
      long_blocks_mul_small(sum.data(), 2, c);
      exp = long_block_digits;
    } else if (d != 0) {
      power[1] = d;
      std::int32_t power_start = 0;  // first block of power that may be nonzero
      long_fixed_div_small_tracked(power.data(), s, c, power_start);
      sum = power;
      for (std::uint32_t k = 3;; k += 2) {
        if (d < 10000) {
          long_blocks_mul_small_tracked(power.data(), d * d, c, power_start);
        } else if (d != 1) {
          long_blocks_mul_small_tracked(power.data(), d, c, power_start);
          long_blocks_mul_small_tracked(power.data(), d, c, power_start);
        }
        if (s < 10000) {
          long_fixed_div_small_tracked(power.data(), s * s, c, power_start);
        } else {
          long_fixed_div_small_tracked(power.data(), s, c, power_start);
          long_fixed_div_small_tracked(power.data(), s, c, power_start);
        }
        const std::int32_t start = power_start;
        if (start >= c) break;
        std::copy(power.begin() + start, power.end(), term.begin() + start);
        std::int32_t term_start = start;
        long_fixed_div_small_tracked(term.data(), k, c, term_start);
        long_blocks_add_from(sum.data(), term.data(), start, c);
        int rc = long_host_poll_interrupt();
        if (rc < 0) return rc;
      }
      long_blocks_mul_small(sum.data(), 2, c);
    }
    int rc = long_fixed_to_record(sum, num < den ? -1 : 0, r);
    if (rc < 0) return rc;
    r->exp = exp;
    long_precision_saver saver;
    long_precision = P;
    long_normalize(r, 1);
    return 0;
  });
}

// ---------------------------------------------------------------- series and Newton path

int long_ln_series(const long_number* q, long_number* r) {
  return long_catch_alloc([&]() -> int {
    long_precision_saver saver;
    const std::int32_t P = long_precision;
    long_work_record one, num, den, u;
    long_reserve(&one.n, long_block_digits);
    int rc = long_from_int(&one.n, 1);
    if (rc < 0) return rc;
    long_work_record qn;
    rc = long_copy(q, &qn.n);
    if (rc < 0) return rc;
    long_normalize(&qn.n, 1);
    long_precision = P + 8;
    rc = long_add(&qn.n, &one.n, &den.n);
    if (rc < 0) return rc;
    long_normalize(&den.n, 1);
    rc = long_subtract(&qn.n, &one.n, &num.n);
    if (rc < 0) return rc;
    long_normalize(&num.n, 1);
    if (long_is_zero(&num.n)) {
      long_set_zero(r);
      return 0;
    }
    const std::int32_t sign = num.n.sign;
    num.n.sign = 0;
    rc = long_divide(&num.n, &den.n, &u.n);
    if (rc < 0) return rc;
    long_debug_dump("x1a", &u.n, 0);
    // ln q = 2 (u + u^3/3 + u^5/5 + ...), u = |q - 1| / (q + 1), on fixed
    // blocks. The leading zeros of u widen the blocks, so that u keeps P
    // significant digits however close q lies to 1.
    const std::int32_t zeros = u.n.exp < 0 ? -u.n.exp : 0;
    const std::int32_t n_blocks = (P + 18 + zeros + long_block_digits - 1) / long_block_digits;
    long_fixed power, square(static_cast<std::size_t>(n_blocks), 0),
        product(static_cast<std::size_t>(n_blocks), 0), term(static_cast<std::size_t>(n_blocks), 0);
    long_fixed_from_record(&u.n, power, n_blocks);
    long_debug_dump_fixed("trm", power);
    long_debug_dump_fixed("x1b", power);
    if (int mrc = long_fixed_multiply(power, power, 0, square); mrc < 0) return mrc;
    long_debug_dump_fixed("x1sq", square);
    long_debug_dump_fixed("x1un", square);
    long_fixed sum = power;
    long_debug_dump_fixed("sum", sum);
    std::int32_t square_from = 0;
    while (square_from < n_blocks && square[static_cast<std::size_t>(square_from)] == 0) ++square_from;
    long_debug_line("x1_start_block = %d, x1_num_blocks = %d\n", square_from, n_blocks - square_from);
    std::uint32_t n = 1;
    for (;;) {
      long_debug_line("n = %d\n", static_cast<int>(n));
      if (int mrc = long_fixed_multiply(power, square, square_from, product); mrc < 0) return mrc;
      long_debug_dump_fixed("prod", product);
      power.swap(product);
      long_debug_dump_fixed("pr2", power);
      long_debug_dump_fixed("valu", power);
      std::int32_t start = 0;
      while (start < n_blocks && power[static_cast<std::size_t>(start)] == 0) ++start;
      long_debug_line("div_start = %d\n", start);
      if (start >= n_blocks) break;
      n += 2;
      std::fill(term.begin(), term.end(), 0);
      std::copy(power.begin() + start, power.end(), term.begin() + start);
      std::int32_t term_start = start;
      long_fixed_div_small_tracked(term.data(), n, n_blocks, term_start);
      long_debug_dump_fixed("term", term);
      long_blocks_add_from(sum.data(), term.data(), start, n_blocks);
      long_debug_dump_fixed("sum", sum);
      int poll = long_host_poll_interrupt();
      if (poll < 0) return poll;
    }
    long_debug_line("n = %d\n", static_cast<int>(n));
    long_blocks_mul_small(sum.data(), 2, n_blocks);
    rc = long_fixed_to_record(sum, sign, r);
    if (rc < 0) return rc;
    long_precision = P;
    long_normalize(r, -1);
    return 0;
  });
}

int long_ln_newton(const long_number* m, long_number* r) {
  long_precision_saver saver;
  long_work_record y, q, lnq, sum;
  {
    // ln m of an m close to 1 is small: the stages work to an absolute
    // accuracy, so they take as many more digits as m - 1 has leading zeros.
    long_work_record one, d;
    long_reserve(&one.n, long_block_digits);
    int rc = long_from_int(&one.n, 1);
    if (rc < 0) return rc;
    rc = long_subtract(m, &one.n, &d.n);
    if (rc < 0) return rc;
    long_normalize(&d.n, 1);
    if (!long_is_zero(&d.n) && d.n.exp < 0) long_precision += -d.n.exp;
  }
  const std::int32_t P = long_precision;
  long_set_zero(&y.n);
  for (int stage = 1; stage <= 5; ++stage) {
    std::int32_t s = stage <= 4 ? newton_stages[stage - 1] : P;
    const bool last = s >= P;
    if (last) s = P;
    long_precision = s;
    int rc;
    if (stage == 1) {
      rc = long_copy(m, &q.n);  // m cut to s digits, not rounded
      if (rc < 0) return rc;
      q.n.norm = 0;
      long_normalize(&q.n, -1);
    } else {
      std::int64_t stamp = 0;
      long_host_timer_read(stamp);
      long_work_record e, dividend;
      long_precision = s + 8;
      rc = long_exp_staged(&y.n, &e.n);
      if (rc < 0) return rc;
      long_precision = s;
      char name[24];
      std::snprintf(name, sizeof name, "expcalctime(%d)", stage);
      long_host_set_tuning(name, long_host_timer_elapsed_us(stamp));
      long_normalize(&e.n, 1);
      rc = long_copy(m, &dividend.n);
      if (rc < 0) return rc;
      rc = long_divide(&dividend.n, &e.n, &q.n);
      if (rc < 0) return rc;
      long_normalize(&q.n, 1);
    }
    rc = long_ln_series(&q.n, &lnq.n);
    if (rc < 0) return rc;
    long_precision = s;
    lnq.n.norm = 0;
    long_normalize(&lnq.n, -1);
    rc = long_add(&y.n, &lnq.n, &sum.n);
    if (rc < 0) return rc;
    sum.n.norm = 0;
    long_normalize(&sum.n, -1);
    rc = long_move(&sum.n, &y.n);
    if (rc < 0) return rc;
    if (last) break;
  }
  int rc = long_move(&y.n, r);
  return rc < 0 ? rc : 0;
}

// ---------------------------------------------------------------- driver

int long_ln(long_number* x, long_number* r, int base10) {
  const std::int32_t P = long_precision;
  long_normalize(x, 1);
  std::int32_t k = x->exp;
  x->exp = 0;  // m = 0.d1d2... in [0.1, 1)
  long_debug_dump("x", x, 0);
  if (x->blocks[0] < 31000000) {  // m < 0.31: take m in [1, 3.1) instead
    k -= 1;
    x->exp = 1;
  }
  long_debug_dump("x sm", x, 0);
  int rc = -1;
  bool done = false;
  if (long_lnrat_enabled && x->blks == 1 && (x->exp == 1 || x->blocks[0] % 10 == 0)) {
    std::uint32_t num = x->exp == 1 ? x->blocks[0] : x->blocks[0] / 10;
    std::uint32_t den = 10000000;
    int removed = x->exp == 1 ? 0 : 1;
    const std::uint32_t num_before = num;
    while (removed < 7 && num % 10 == 0 && den % 10 == 0) {
      num /= 10;
      den /= 10;
      ++removed;
    }
    if (removed >= 4 || (num_before >= 4055567 && num_before < 24599990)) {
      rc = long_ln_rational(P, num, den, r);
      if (rc < 0) return rc;
      done = true;
    }
  }
  if (!done) {
    rc = long_ln_newton(x, r);
    if (rc < 0) return rc;
  }
  r->norm = 0;
  long_normalize(r, 1);
  long_debug_dump("ln", r, 0);
  if (!base10 && k == 0) return 0;
  long_work_record K, L, t, total;
  long_reserve(&K.n, long_block_digits);
  rc = long_from_int(&K.n, k);
  if (rc < 0) return rc;
  long_debug_dump("chr", &K.n, 0);
  rc = long_ln10(&L.n, P);
  if (rc < 0) return rc;
  long_debug_dump("ln10", &L.n, 0);
  if (base10) {  // log10 x = ln m / ln 10 + k
    rc = long_divide(r, &L.n, &t.n);
    if (rc < 0) return rc;
    long_normalize(&t.n, 1);
    rc = long_add(&t.n, &K.n, &total.n);
  } else {  // ln x = k ln 10 + ln m
    rc = long_multiply(&K.n, &L.n, &t.n);
    if (rc < 0) return rc;
    long_normalize(&t.n, 1);
    long_debug_dump("chre", &t.n, 0);
    rc = long_add(&t.n, r, &total.n);
  }
  if (rc < 0) return rc;
  total.n.norm = 0;
  long_normalize(&total.n, 1);
  long_debug_dump("sum", &total.n, 0);
  rc = long_move(&total.n, r);
  return rc < 0 ? rc : 0;
}

int long_log(long_number* x, long_number* r, int base10) {
  long_normalize(x, 1);
  if (long_is_zero(x)) return long_host_report_error(210);
  if (x->sign != 0) return long_host_report_error(209);
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_LOG, stamp);
  long_precision_saver saver;
  long_precision += 8;
  int rc = long_ln(x, r, base10);
  if (rc < 0) return rc;
  long_timer_end(LONG_TIMER_LOG, stamp);
  return 0;
}

int long_func_log(long_number* x, int base10) {
  if (integer_mode) return long_host_report_error(162);
  int rc = long_log(x, long_accumulator, base10);
  if (rc < 0) return rc;
  long_round_result(long_accumulator);
  return long_result;
}
