// Square root by Newton's iteration on the long division, halving in place,
// the units-digit parity, and the SQR, HALF and FIX entry points.
#include <cmath>

#include "rizozira/long_functions.h"

namespace {

constexpr int sqrt_max_steps = 200;  // far beyond what quadratic convergence needs

// r := the first guess from a double: sqrt of the leading three blocks.
void sqrt_first_guess(const long_number* x, long_number* r) {
  double m = 0;
  double scale = 1.0 / long_base;
  for (std::int32_t i = 0; i < 3 && i < x->blks; ++i) {
    m += x->blocks[i] * scale;
    scale /= long_base;
  }
  std::int32_t e = x->exp;
  if (e % 2 != 0) {  // an odd exponent: one digit moves into the mantissa
    m /= 10;
    e += 1;
  }
  e /= 2;
  double s = std::sqrt(m);  // in [0.1, 1)
  long_reserve(r, 24);      // the inline buffer always holds three blocks
  for (int i = 0; i < 3; ++i) {
    s *= long_base;
    double whole = std::floor(s);
    if (whole < 0) whole = 0;
    if (whole > long_base - 1) whole = long_base - 1;
    r->blocks[i] = static_cast<std::uint32_t>(whole);
    s -= whole;
  }
  r->blks = 3;
  r->len = 24;
  r->exp = e;
  r->sign = 0;
  r->norm = 0;
  long_normalize(r, -1);
}

}  // namespace

int long_sqrt_step(long_number* q, long_number* r, std::int32_t digits) {
  long_work_record diff;
  long_normalize(q, 1);
  long_debug_dump("qux", q, 0);
  long_debug_dump("ds", r, 0);
  int rc = long_subtract(q, r, &diff.n);
  if (rc < 0) return rc;
  long_normalize(&diff.n, 1);
  long_debug_dump("dif", &diff.n, 0);
  if (long_is_zero(&diff.n)) {
    long_set_zero(q);
    return 0;
  }
  rc = long_half(&diff.n);
  if (rc < 0) return rc;
  long_debug_dump("haf", &diff.n, 0);
  // Converged when the correction lies below one unit in digit digits + 2 of r.
  const bool converged = diff.n.exp <= r->exp - (digits + 2);
  long_work_record sum;
  rc = long_add(r, &diff.n, &sum.n);
  if (rc < 0) return rc;
  long_normalize(&sum.n, 1);
  rc = long_move(&sum.n, r);
  if (rc < 0) return rc;
  long_debug_dump("new", r, 0);
  if (converged) {
    long_set_zero(q);
    return 0;
  }
  return 1;
}

int long_sqrt(long_number* x, long_number* r) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_SQR, stamp);
  long_normalize(x, -1);
  if (long_is_zero(x)) {
    long_set_zero(r);
    return 0;
  }
  if (x->sign != 0) return long_host_report_error(199);
  const std::int32_t p = long_precision;
  long_precision_saver saver;
  sqrt_first_guess(x, r);
  long_debug_dump("dd", x, 0);
  long_debug_dump("ds", r, 0);
  long_debug_dump("ddn", x, 0);
  // The guess holds about 16 correct digits; each step doubles them, so the
  // steps run at rising precisions and only the last ones at the full p + 8.
  const std::int32_t work_precision = p + 8;
  std::int32_t stage = 32;
  for (int step = 0;; ++step) {
    if (step >= sqrt_max_steps) return long_host_report_error(167);
    if (stage > work_precision) stage = work_precision;
    long_precision = stage;
    long_work_record dividend, divisor, q;
    int rc = long_copy(x, &dividend.n);
    if (rc < 0) return rc;
    rc = long_copy(r, &divisor.n);
    if (rc < 0) return rc;
    if (step == 0) {
      long_debug_dump("dsn", &divisor.n, 0);
      long_debug_dump("dd2", &dividend.n, 0);
    }
    long_debug_dump("ndd", &dividend.n, 0);
    rc = long_divide(&dividend.n, &divisor.n, &q.n);
    if (rc < 0) return rc;
    long_debug_dump("qu1", &q.n, 0);
    rc = long_sqrt_step(&q.n, r, stage == work_precision ? p : stage);
    if (rc < 0) return rc;
    if (rc == 0 && stage == work_precision) break;
    if (stage < work_precision) stage = stage * 2;
  }
  long_precision = p;
  r->norm = 0;
  long_normalize(r, 1);
  long_timer_end(LONG_TIMER_SQR, stamp);
  return 0;
}

int long_half(long_number* n) {
  long_normalize(n, 0);
  if (long_is_zero(n)) return 0;
  if (n->blocks[0] < 20000000) {
    // x / 2 = 5x / 10: no digit is lost and nothing leaves block 0.
    std::uint32_t carry = 0;
    for (std::int32_t i = n->blks - 1; i >= 0; --i) {
      std::uint64_t t = static_cast<std::uint64_t>(n->blocks[i]) * 5 + carry;
      n->blocks[i] = static_cast<std::uint32_t>(t % long_base);
      carry = static_cast<std::uint32_t>(t / long_base);
    }
    n->exp -= 1;
  } else {
    if (n->blocks[n->blks - 1] & 1) {  // the half needs a digit 5 beyond the array
      int rc = long_extend_blocks(n, n->blks + 1);
      if (rc < 0) return rc;
    }
    std::uint32_t rem = 0;
    for (std::int32_t i = 0; i < n->blks; ++i) {
      std::uint32_t v = n->blocks[i] + rem * long_base;
      rem = v & 1;
      n->blocks[i] = v >> 1;
    }
  }
  n->len = n->blks * long_block_digits;
  n->norm = 0;
  long_normalize(n, 1);
  return 0;
}

int long_is_odd(const long_number* n) {
  if (n->exp < 1 || n->exp > n->len) return 0;  // the units digit is an implied zero
  const std::int32_t at = n->exp - 1;
  const std::uint32_t block = n->blocks[at / long_block_digits];
  return static_cast<int>((block / long_pow10[long_block_digits - 1 - at % long_block_digits]) % 10) & 1;
}

// ---------------------------------------------------------------- entry points

int long_func_sqr(long_number* x) {
  if (integer_mode) return long_host_report_error(162);
  long_normalize(x, 0);
  if (x->sign != 0 && !long_is_zero(x)) return long_host_report_error(199);
  int rc = long_sqrt(x, long_accumulator);
  return rc < 0 ? rc : long_result;
}

int long_func_half(long_number* x) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_HALF, stamp);
  int rc = long_half(x);
  if (rc < 0) return rc;
  long_normalize(x, 1);
  long_timer_end(LONG_TIMER_HALF, stamp);
  rc = long_move(x, long_accumulator);
  return rc < 0 ? rc : long_result;
}

int long_func_fix(long_number* x) {
  long_normalize(x, 0);
  long_fix(x);
  int rc = long_move(x, long_accumulator);
  return rc < 0 ? rc : long_result;
}
