// ATN and ACOT of long numbers: the argument is made positive and brought
// below 1 (1/x and the complement pi/2), reduced by up to seven steps of
// atan(1/10) with exact rational tangents, and cut into digit ranges whose
// arctangents are Taylor series, the rest transformed by the tangent
// subtraction formula before the next range is taken.
#include <algorithm>
#include <cstring>

#include "rizozira/long_functions.h"

namespace {

constexpr std::int32_t atn_default_boundaries[4] = {8, 24, 96, 400};

// tan(k atan(1/10)) = p_k / q_k exactly, and its first eight digits t_k.
struct atn_reduction {
  std::int32_t p, q;
  std::uint32_t t;
};
constexpr atn_reduction atn_reductions[8] = {
    {0, 1, 0},
    {1, 10, 10000000},
    {20, 99, 20202020},
    {299, 970, 30824742},
    {3960, 9401, 42123178},
    {49001, 90050, 54415324},
    {580060, 851499, 68122217},
    {6652099, 7934930, 83833115},
};

int set_int(long_number* r, std::int32_t v) {
  int rc = long_reserve(r, long_block_digits);
  if (rc < 0) return rc;
  return long_from_int(r, v);
}

// dst := a op b normalised with mode 1, where op is + (sub 0) or - (sub 1).
int combine(long_number* a, long_number* b, long_number* dst, int sub) {
  long_work_record t;
  int rc = sub ? long_subtract(a, b, &t.n) : long_add(a, b, &t.n);
  if (rc < 0) return rc;
  long_normalize(&t.n, 1);
  rc = long_move(&t.n, dst);
  return rc < 0 ? rc : 0;
}

// The fraction blocks of x (|x| < 1) for n_blocks fixed blocks, trailing
// zero blocks dropped.
long_fixed fraction_of(const long_number* x, std::int32_t n_blocks) {
  long_fixed fixed;
  long_fixed_from_record(x, fixed, n_blocks);
  long_fixed f(fixed.begin() + 1, fixed.end());
  while (!f.empty() && f.back() == 0) f.pop_back();
  return f;
}

}  // namespace

int long_atan_tenth(long_fixed& dst, std::int32_t digits) {
  const std::int32_t want = static_cast<std::int32_t>(dst.size());
  if (long_atan_tenth_cache_digits < digits || long_atan_tenth_cache->blks < want) {
    long_atan_tenth_cache_digits = 0;
    const std::int32_t count = std::max((digits + 25) / long_block_digits + 1, want);
    long_fixed sum(static_cast<std::size_t>(count), 0), pow(static_cast<std::size_t>(count), 0),
        term(static_cast<std::size_t>(count), 0);
    int rc = long_blocks_arccot(sum.data(), pow.data(), term.data(), 10, count);
    if (rc < 0) return rc;
    rc = long_fixed_to_record(sum, 0, long_atan_tenth_cache);
    if (rc < 0) return rc;
    long_atan_tenth_cache_digits = digits;
  }
  std::memcpy(dst.data(), long_atan_tenth_cache->blocks, static_cast<std::size_t>(want) * long_block_bytes);
  return 0;
}

int long_atn_series(const long_fixed& f, long_fixed& sum, std::int32_t first, std::int32_t count) {
  const std::int32_t n_blocks = static_cast<std::int32_t>(sum.size());
  long_fixed piece(static_cast<std::size_t>(n_blocks), 0);
  for (std::int32_t k = first; k < first + count && k + 1 < n_blocks; ++k) {
    piece[static_cast<std::size_t>(k + 1)] = f[static_cast<std::size_t>(k)];
  }
  long_fixed x2(static_cast<std::size_t>(n_blocks), 0), product(static_cast<std::size_t>(n_blocks), 0),
      term(static_cast<std::size_t>(n_blocks), 0);
  if (int mrc = long_fixed_multiply(piece, piece, 0, x2); mrc < 0) return mrc;
  std::int32_t x2_from = 0;
  while (x2_from < n_blocks && x2[static_cast<std::size_t>(x2_from)] == 0) ++x2_from;
  long_debug_line("x2_start_block - %d, x2_num_blocks = %d\n", x2_from, n_blocks - x2_from);
  long_fixed pow = piece;
  sum = piece;
  long_debug_dump_fixed("trm", pow);
  long_debug_dump_fixed("sum", sum);
  bool subtract = true;
  std::uint32_t n = 1;
  for (int terms = 1;; ++terms) {
    n += 2;
    if (int mrc = long_fixed_multiply(pow, x2, x2_from, product); mrc < 0) return mrc;
    pow.swap(product);
    std::int32_t start = 0;
    while (start < n_blocks && pow[static_cast<std::size_t>(start)] == 0) ++start;
    if (start >= n_blocks) break;
    long_debug_line("n = %d, div_start = %d\n", static_cast<int>(n), start);
    long_debug_dump_fixed("powr", pow);
    std::fill(term.begin(), term.begin() + start, 0);
    std::copy(pow.begin() + start, pow.end(), term.begin() + start);
    std::int32_t term_start = start;
    long_fixed_div_small_tracked(term.data(), n, n_blocks, term_start);
    if (int rc = long_series_add_term(sum, term, start, n_blocks, subtract, terms); rc < 0) return rc;
  }
  return 0;
}

int long_atn_reduce(long_number* x, std::int32_t* k_out) {
  *k_out = 0;
  std::int32_t skip = long_tuning_int("atnskipadjust", 0);
  if (skip != 0 || x->exp < 0 || long_is_zero(x)) return 0;
  std::int32_t k = 7;
  while (k >= 1 && !(x->blocks[0] > atn_reductions[k].t)) --k;
  if (k < 1) return 0;
  long_precision_saver saver;
  long_precision += 18;
  // x := (q x - p) / (p x + q) = tan(atan x - k atan(1/10))
  long_work_record pk, qk, px, qx, num, den;
  int rc = set_int(&pk.n, atn_reductions[k].p);
  if (rc < 0) return rc;
  rc = set_int(&qk.n, atn_reductions[k].q);
  if (rc < 0) return rc;
  rc = long_multiply(x, &pk.n, &px.n);
  if (rc < 0) return rc;
  long_normalize(&px.n, 1);
  rc = long_multiply(x, &qk.n, &qx.n);
  if (rc < 0) return rc;
  long_normalize(&qx.n, 1);
  rc = combine(&px.n, &qk.n, &den.n, 0);
  if (rc < 0) return rc;
  rc = combine(&qx.n, &pk.n, &num.n, 1);
  if (rc < 0) return rc;
  rc = long_divide(&num.n, &den.n, x);
  if (rc < 0) return rc;
  long_normalize(x, 1);
  *k_out += k;
  return 0;
}

int long_atn_split(const long_number* x, long_number* r) {
  return long_catch_alloc([&]() -> int {
    long_precision_saver saver;
    long_work_record X;
    int rc = long_copy(x, &X.n);
    if (rc < 0) return rc;
    std::int32_t k = 0;
    rc = long_atn_reduce(&X.n, &k);
    if (rc < 0) return rc;
    if (X.n.exp < 0) long_precision += -X.n.exp;
    const std::int32_t P = long_precision;
    static const char* const names[5] = {"atncrossover1", "atncrossover2", "atncrossover3",
                                          "atncrossover4", "atncrossover5"};
    std::int32_t b[7];
    b[0] = 0;
    for (int i = 0; i < 4; ++i) b[i + 1] = long_tuning_int(names[i], atn_default_boundaries[i]);
    b[5] = long_tuning_int(names[4], P + 18);
    b[6] = P + 18;
    long_force_boundaries(b, 7);
    const std::int32_t n_blocks = (P + 18 + long_block_digits - 1) / long_block_digits;
    long_fixed f = fraction_of(&X.n, n_blocks);
    long_fixed acc(static_cast<std::size_t>(n_blocks), 0), sum(static_cast<std::size_t>(n_blocks), 0);
    for (int i = 0; i < 6; ++i) {
      const std::int32_t f_blocks = static_cast<std::int32_t>(f.size());
      const std::int32_t first = b[i] / long_block_digits;
      if (first >= f_blocks) break;
      const std::int32_t count =
          b[i + 1] < f_blocks * long_block_digits ? (b[i + 1] - b[i]) / long_block_digits : f_blocks - first;
      rc = long_atn_series(f, sum, first, count);
      if (rc < 0) return rc;
      long_blocks_add_from(acc.data(), sum.data(), 0, n_blocks);
      if (i == 5 || first + count >= f_blocks) break;
      // The rest: X := (F - h) / (1 + h F), h the blocks taken so far.
      long_fixed h(static_cast<std::size_t>(n_blocks), 0), rest(static_cast<std::size_t>(n_blocks), 0),
          whole(static_cast<std::size_t>(n_blocks), 0), hf(static_cast<std::size_t>(n_blocks), 0);
      for (std::int32_t j = 0; j < f_blocks && j + 1 < n_blocks; ++j) {
        (j < first + count ? h : rest)[static_cast<std::size_t>(j + 1)] = f[static_cast<std::size_t>(j)];
        whole[static_cast<std::size_t>(j + 1)] = f[static_cast<std::size_t>(j)];
      }
      if (int mrc = long_fixed_multiply(h, whole, 0, hf); mrc < 0) return mrc;
      hf[0] += 1;
      long_work_record num, den;
      rc = long_fixed_to_record(rest, 0, &num.n);
      if (rc < 0) return rc;
      rc = long_fixed_to_record(hf, 0, &den.n);
      if (rc < 0) return rc;
      long_normalize(&num.n, 1);
      long_normalize(&den.n, 1);
      rc = long_divide(&num.n, &den.n, &X.n);
      if (rc < 0) return rc;
      long_normalize(&X.n, 1);
      f = fraction_of(&X.n, n_blocks);
    }
    if (k > 0) {
      long_fixed tenth(static_cast<std::size_t>(n_blocks), 0);
      rc = long_atan_tenth(tenth, P);
      if (rc < 0) return rc;
      long_blocks_mul_small(tenth.data(), static_cast<std::uint64_t>(k), n_blocks);
      long_blocks_add_from(acc.data(), tenth.data(), 0, n_blocks);
    }
    rc = long_fixed_to_record(acc, 0, r);
    if (rc < 0) return rc;
    long_normalize(r, 1);
    return long_result;
  });
}

int long_atn_core(long_number* x, long_number* r, int acot) {
  long_precision += 8;
  const std::int32_t P = long_precision;
  long_host_set_tuning("atntotaltime", 0);
  long_normalize(x, 1);
  bool negative = false, complement = false;
  int rc;
  if (long_is_zero(x)) {
    long_set_zero(r);
  } else {
    if (x->sign != 0) {
      negative = true;
      x->sign = 0;
    }
    bool quarter = x->blks == 1 && x->exp == 1 && x->blocks[0] == 10000000;  // x = 1
    if (!quarter && x->exp >= 1) {
      // x := 1 / x, dividing a copy of the constant 1, which must stay intact.
      long_work_record one, q;
      rc = long_copy(long_one, &one.n);
      if (rc < 0) return rc;
      rc = long_divide(&one.n, x, &q.n);
      if (rc < 0) return rc;
      long_normalize(&q.n, 1);
      rc = long_move(&q.n, x);
      if (rc < 0) return rc;
      if (x->exp >= 1) {
        quarter = true;  // the quotient rounded up to 1
      } else {
        complement = true;
      }
    }
    if (quarter) {  // atan 1 = pi / 4: straight to the final assembly
      rc = long_pi(r, P);
      if (rc < 0) return rc;
      rc = long_half(r);
      if (rc < 0) return rc;
      rc = long_half(r);
      if (rc < 0) return rc;
    } else if (x->exp >= -P / 2) {
      long_temp_level_saver level;
      rc = long_atn_split(x, r);
      if (rc < 0) return rc;
    } else {  // x^2 lies below the precision
      rc = long_copy(x, r);
      if (rc < 0) return rc;
    }
  }
  long_normalize(r, 1);
  if (!acot) {
    if (complement) {
      long_work_record half_pi;
      rc = long_pi(&half_pi.n, P);
      if (rc < 0) return rc;
      rc = long_half(&half_pi.n);
      if (rc < 0) return rc;
      rc = combine(&half_pi.n, r, r, 1);
      if (rc < 0) return rc;
    }
    if (negative && !long_is_zero(r)) r->sign = r->sign ? 0 : -1;
    return 0;
  }
  if (complement && !negative) return 0;  // acot x = atan(1/x) for x > 1
  long_work_record pi;
  rc = long_pi(&pi.n, P);
  if (rc < 0) return rc;
  if (!complement) {
    rc = long_half(&pi.n);
    if (rc < 0) return rc;
    if (negative && !long_is_zero(r)) r->sign = -1;
  }
  return combine(&pi.n, r, r, 1);
}

int long_atn(long_number* x, long_number* r, int acot) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_ATN, stamp);
  long_precision_saver saver;
  long_temp_level_saver level;
  int rc = long_atn_core(x, r, acot);
  if (rc < 0) return rc;
  if (long_host_degrees_mode()) {  // r := r x 180 / pi
    long_precision += 8;
    long_work_record pi, d180, product;
    rc = long_pi(&pi.n, long_precision);
    if (rc < 0) return rc;
    rc = set_int(&d180.n, 180);
    if (rc < 0) return rc;
    rc = long_multiply(r, &d180.n, &product.n);
    if (rc < 0) return rc;
    long_normalize(&product.n, 1);
    rc = long_divide(&product.n, &pi.n, r);
    if (rc < 0) return rc;
  }
  long_normalize(r, 1);
  long_timer_end(LONG_TIMER_ATN, stamp);
  return 0;
}

int long_func_atn(long_number* x, int acot) {
  if (integer_mode) return long_host_report_error(162);
  int rc = long_atn(x, long_accumulator, acot);
  if (rc < 0) return rc;
  long_round_result(long_accumulator);
  return long_result;
}
