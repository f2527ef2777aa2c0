// SIN, COS, TAN and COT of long numbers: reduction by multiples of 2 pi, pi
// and pi/2 (or 360, 180, 90) to [0, pi/4), then digit ranges of the reduced
// value whose sines and cosines are Taylor series, joined by the angle-sum
// formulas. SIN leaves its cosine in long_cossame.
#include <algorithm>
#include <cstdio>

#include "rizozira/long_functions.h"

namespace {

constexpr std::int32_t sin_default_boundaries[4] = {8, 48, 304, 2000};

std::int32_t first_nonzero(const long_fixed& f, std::int32_t from) {
  const std::int32_t n = static_cast<std::int32_t>(f.size());
  while (from < n && f[static_cast<std::size_t>(from)] == 0) ++from;
  return from;
}

void set_timing(const char* array, int index, std::int32_t us) {
  char name[32];
  std::snprintf(name, sizeof name, "%s(%d)", array, index);
  long_host_set_tuning(name, us);
}

// True when x lies below the limit under which no reduction is needed:
// pi/4 in radians, 45 in degrees (x normalised, not negative).
bool below_reduction_limit(const long_number* x) {
  if (long_is_zero(x)) return true;
  if (long_host_degrees_mode()) return x->exp < 2 || (x->exp == 2 && x->blocks[0] < 45000001);
  return x->exp < 0 || (x->exp == 0 && x->blocks[0] < 78539818);
}

// dst := a - b, normalised with mode 1 (a, b normalised).
int subtract_normalized(long_number* a, long_number* b, long_number* dst) {
  long_work_record t;
  int rc = long_subtract(a, b, &t.n);
  if (rc < 0) return rc;
  long_normalize(&t.n, 1);
  rc = long_move(&t.n, dst);
  return rc < 0 ? rc : 0;
}

// Sets r to the integer v (|v| < 10^8), normalised.
int set_int(long_number* r, std::int32_t v) {
  int rc = long_reserve(r, long_block_digits);
  if (rc < 0) return rc;
  return long_from_int(r, v);
}

}  // namespace

int long_sin_cos_series(const long_fixed& f, long_fixed& sum, long_fixed& x2, std::int32_t first,
                        std::int32_t count, int mode) {
  const std::int32_t n_blocks = static_cast<std::int32_t>(sum.size());
  long_fixed piece(static_cast<std::size_t>(n_blocks), 0);
  for (std::int32_t k = first; k < first + count && k + 1 < n_blocks; ++k) {
    piece[static_cast<std::size_t>(k + 1)] = f[static_cast<std::size_t>(k)];
  }
  if (x2.empty()) {  // z^2, once per piece for both series
    x2.assign(static_cast<std::size_t>(n_blocks), 0);
    if (int mrc = long_fixed_multiply(piece, piece, 0, x2); mrc < 0) return mrc;
  }
  const std::int32_t x2_from = first_nonzero(x2, 0);
  long_debug_line("x2_start_block - %d, x2_num_blocks = %d\n", x2_from, n_blocks - x2_from);
  long_fixed term(static_cast<std::size_t>(n_blocks), 0), product(static_cast<std::size_t>(n_blocks), 0);
  if (mode == 0) {
    term = piece;
  } else {
    term[0] = 1;
  }
  sum = term;
  long_debug_dump_fixed("trm", term);
  long_debug_dump_fixed("sum", sum);
  std::uint32_t n = mode == 0 ? 1 : 0;
  bool subtract = true;
  std::int32_t div_start = 0;  // where the last term's division started
  for (int terms = 1;; ++terms) {
    n += 2;
    long_debug_line("n = %d, div_start = %d\n", static_cast<int>(n), div_start);
    if (int mrc = long_fixed_multiply(term, x2, x2_from, product); mrc < 0) return mrc;
    term.swap(product);
    long_debug_dump_fixed("trm1", term);
    // term / ((n - 1) n), as two divisions: the product no longer fits 32
    // bits once n passes 65,536.
    div_start = 0;
    long_fixed_div_small_tracked(term.data(), n - 1, n_blocks, div_start);
    long_fixed_div_small_tracked(term.data(), n, n_blocks, div_start);
    const std::int32_t start = first_nonzero(term, div_start);
    if (start >= n_blocks) break;
    if (int rc = long_series_add_term(sum, term, start, n_blocks, subtract, terms); rc < 0) return rc;
  }
  return 0;
}

int long_sin_cos(std::int32_t p, const long_number* y, long_number* s, long_number* c) {
  return long_catch_alloc([&]() -> int {
    long_clear(long_cossame);
    long_debug_dump("x", y, 0);
    if (long_is_zero(y)) {
      long_set_zero(s);
      return set_int(c, 1);
    }
    if (y->exp < -long_precision / 2) {  // y^2 lies below the precision
      int rc = long_copy(y, s);
      if (rc < 0) return rc;
      return set_int(c, 1);
    }
    long_precision_saver saver;
    if (y->exp < 0) long_precision += -y->exp;  // the leading zeros of the fixed form
    const std::int32_t P = long_precision;
    std::int32_t b[6];
    static const char* const names[4] = {"sincrossover1", "sincrossover2", "sincrossover3",
                                          "sincrossover4"};
    b[0] = 0;
    for (int i = 0; i < 4; ++i) b[i + 1] = long_tuning_int(names[i], sin_default_boundaries[i]);
    b[5] = P + 18;
    long_force_boundaries(b, 6);
    long_host_set_tuning("sintotaltime", 0);
    const std::int32_t n_blocks = (P + 18 + long_block_digits - 1) / long_block_digits;
    long_fixed fixed;
    long_fixed_from_record(y, fixed, n_blocks);
    long_fixed f(fixed.begin() + 1, fixed.end());
    std::int32_t f_blocks = static_cast<std::int32_t>(f.size());
    while (f_blocks > 0 && f[static_cast<std::size_t>(f_blocks - 1)] == 0) --f_blocks;
    const std::int32_t f_len = f_blocks * long_block_digits;
    long_fixed s1, c1, s2(static_cast<std::size_t>(n_blocks), 0), c2(static_cast<std::size_t>(n_blocks), 0);
    long_fixed t1(static_cast<std::size_t>(n_blocks), 0), t2(static_cast<std::size_t>(n_blocks), 0);
    std::int32_t total = 0;
    for (int i = 0; i < 5; ++i) {
      const std::int32_t first = b[i] / long_block_digits;
      if (first >= f_blocks) break;
      const std::int32_t count = b[i + 1] >= f_len ? f_blocks - first : (b[i + 1] - b[i]) / long_block_digits;
      long_fixed x2;
      std::int64_t stamp = 0;
      long_host_timer_read(stamp);
      int rc = long_sin_cos_series(f, s2, x2, first, count, 0);
      if (rc < 0) return rc;
      std::int32_t us = long_host_timer_elapsed_us(stamp);
      set_timing("sincalctime", i, us);
      total += std::max(us, 0);
      long_host_timer_read(stamp);
      rc = long_sin_cos_series(f, c2, x2, first, count, 1);
      if (rc < 0) return rc;
      us = long_host_timer_elapsed_us(stamp);
      set_timing("coscalctime", i, us);
      total += std::max(us, 0);
      long_debug_dump_fixed("sin2", s2);
      long_debug_dump_fixed("cos2", c2);
      if (i == 0) {
        s1 = s2;
        c1 = c2;
        long_debug_dump_fixed("sin1", s1);
        long_debug_dump_fixed("cos1", c1);
      } else {
        long_host_timer_read(stamp);
        // sin(a + b) = sin a cos b + cos a sin b; cos(a + b) = cos a cos b - sin a sin b
        if (int mrc = long_fixed_multiply(s1, c2, 0, t1); mrc < 0) return mrc;
        if (int mrc = long_fixed_multiply(c1, s2, 0, t2); mrc < 0) return mrc;
        long_debug_dump_fixed("s1c2", t1);
        long_debug_dump_fixed("c1s2", t2);
        long_blocks_add_from(t1.data(), t2.data(), 0, n_blocks);
        if (int mrc = long_fixed_multiply(c1, c2, 0, t2); mrc < 0) return mrc;
        if (int mrc = long_fixed_multiply(s1, s2, 0, c1); mrc < 0) return mrc;
        long_debug_dump_fixed("c1c2", t2);
        long_debug_dump_fixed("s1s2", c1);
        long_blocks_sub_from(t2.data(), c1.data(), 0, n_blocks);
        s1.swap(t1);
        c1.swap(t2);
        long_debug_dump_fixed("sa+b", s1);
        long_debug_dump_fixed("ca+b", c1);
        us = long_host_timer_elapsed_us(stamp);
        set_timing("recalctime", i, us);
        total += std::max(us, 0);
      }
      if (first + count >= f_blocks) break;
    }
    long_host_set_tuning("sintotaltime", total);
    int rc = long_fixed_to_record(s1, 0, s);
    if (rc < 0) return rc;
    rc = long_fixed_to_record(c1, 0, c);
    if (rc < 0) return rc;
    long_normalize(s, 1);
    long_normalize(c, 1);
    long_debug_dump("sine", s, 0);
    return 0;
  });
}

int long_trig_core(std::int32_t p, const long_number* x, long_number* result, int mode) {
  long_precision = p + (mode >= 3 ? 16 : 8);
  const std::int32_t P = long_precision;
  long_work_record X;
  int rc = long_copy(x, &X.n);
  if (rc < 0) return rc;
  long_normalize(&X.n, 1);
  const bool input_negative = X.n.sign != 0;
  X.n.sign = 0;
  bool swap = false, sin_negative = false, cos_negative = false;
  if (!below_reduction_limit(&X.n)) {
    // A large argument loses its integer digits in the reduction: work with
    // that many more digits so that the reduced value keeps P.
    long_precision_saver reduction_saver;
    if (X.n.exp > 0) long_precision = P + X.n.exp;
    const std::int32_t R = long_precision;
    long_work_record H, Q, F;
    if (long_host_degrees_mode()) {
      set_int(&H.n, 180);
      set_int(&Q.n, 90);
      rc = set_int(&F.n, 360);
      if (rc < 0) return rc;
    } else {
      rc = long_pi(&H.n, R);
      if (rc < 0) return rc;
      rc = long_copy(&H.n, &Q.n);
      if (rc < 0) return rc;
      rc = long_half(&Q.n);
      if (rc < 0) return rc;
      rc = long_add(&H.n, &H.n, &F.n);
      if (rc < 0) return rc;
      long_normalize(&F.n, 1);
    }
    for (;;) {
      int cq = long_compare(&X.n, &Q.n);
      if (cq < 0) {
        rc = subtract_normalized(&Q.n, &X.n, &X.n);
        if (rc < 0) return rc;
        swap = true;
        break;
      }
      if (cq == 0) {
        long_set_zero(&X.n);
        swap = true;
        break;
      }
      int ch = long_compare(&X.n, &H.n);
      if (ch < 0) {
        rc = subtract_normalized(&H.n, &X.n, &X.n);
        if (rc < 0) return rc;
        cos_negative = true;
      } else if (ch == 0) {
        long_set_zero(&X.n);
        cos_negative = true;
        break;
      } else {
        int cf = long_compare(&X.n, &F.n);
        if (cf < 0) {
          rc = subtract_normalized(&F.n, &X.n, &X.n);
          if (rc < 0) return rc;
          sin_negative = true;
        } else if (cf == 0) {
          long_set_zero(&X.n);
          break;
        } else {  // X := X - fix(X / F) F
          long_work_record dividend, divisor, k, kf;
          rc = long_copy(&X.n, &dividend.n);
          if (rc < 0) return rc;
          rc = long_copy(&F.n, &divisor.n);
          if (rc < 0) return rc;
          rc = long_divide(&dividend.n, &divisor.n, &k.n);
          if (rc < 0) return rc;
          k.n.norm = 0;
          long_normalize(&k.n, -1);
          long_fix(&k.n);
          rc = long_multiply(&k.n, &F.n, &kf.n);
          if (rc < 0) return rc;
          kf.n.norm = 0;
          long_normalize(&kf.n, -1);
          rc = subtract_normalized(&X.n, &kf.n, &X.n);
          if (rc < 0) return rc;
          if (X.n.sign != 0) {  // the quotient rounded up past a whole turn: take it back
            long_work_record t;
            rc = long_add(&X.n, &F.n, &t.n);
            if (rc < 0) return rc;
            long_normalize(&t.n, 1);
            rc = long_move(&t.n, &X.n);
            if (rc < 0) return rc;
          }
        }
      }
      if (below_reduction_limit(&X.n)) break;
    }
  }
  long_precision = P;
  X.n.norm = 0;
  long_normalize(&X.n, 1);
  if (long_host_degrees_mode()) {  // X := X pi / 180
    long_work_record pi, product, d180;
    rc = long_pi(&pi.n, P);
    if (rc < 0) return rc;
    rc = long_multiply(&X.n, &pi.n, &product.n);
    if (rc < 0) return rc;
    long_normalize(&product.n, 1);
    rc = set_int(&d180.n, 180);
    if (rc < 0) return rc;
    rc = long_divide(&product.n, &d180.n, &X.n);
    if (rc < 0) return rc;
    long_normalize(&X.n, 1);
  }
  long_work_record SN, CS;
  rc = swap ? long_sin_cos(p, &X.n, &CS.n, &SN.n) : long_sin_cos(p, &X.n, &SN.n, &CS.n);
  if (rc < 0) return rc;
  long_precision = P;
  if (input_negative != sin_negative && !long_is_zero(&SN.n)) SN.n.sign = -1;
  if (cos_negative && !long_is_zero(&CS.n)) CS.n.sign = -1;
  switch (mode) {
    case 1:
      rc = long_move(&SN.n, result);
      if (rc < 0) return rc;
      rc = long_move(&CS.n, long_cossame);
      return rc < 0 ? rc : 0;
    case 2:
      rc = long_move(&CS.n, result);
      return rc < 0 ? rc : 0;
    default: {
      long_precision = P + 8;
      long_number* num = mode == 3 ? &SN.n : &CS.n;
      long_number* den = mode == 3 ? &CS.n : &SN.n;
      rc = long_divide(num, den, result);
      if (rc < 0) return rc;
      long_normalize(result, 1);
      return 0;
    }
  }
}

int long_trig(std::int32_t p, const long_number* x, long_number* result, int mode) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_SIN, stamp);
  long_precision_saver saver;
  long_temp_level_saver level;
  int rc = long_trig_core(p, x, result, mode);
  if (rc < 0) return rc;
  long_timer_end(LONG_TIMER_SIN, stamp);
  return 0;
}

int long_func_trig(long_number* x, int mode) {
  if (integer_mode) return long_host_report_error(162);
  long_normalize(x, 1);
  // COT of zero is a division by a zero sine, like COT of any multiple of pi.
  if (mode == 4 && long_is_zero(x)) return long_host_report_error(166);
  int rc = long_trig(long_precision, x, long_accumulator, mode);
  if (rc < 0) return rc;
  long_round_result(long_accumulator);
  return long_result;
}

int long_special_cossame() {
  int rc = long_move(long_cossame, long_accumulator);
  if (rc < 0) return rc;
  if (!integer_mode) {
    long_accumulator->norm = 0;
    long_normalize(long_accumulator, 1);
  }
  return long_result;
}
