// Long-number functions: square root, half, factorial, pi and e, the
// exponential, logarithms, trigonometric and inverse functions, and the
// hexadecimal conversion, with their cached constants and tuning variables.
//
// Conventions (as in long_number.h): results are non-negative values or
// negative error codes, each failure reported once with report_error where it
// happens. Routines that change long_precision or the temporary level restore
// them on every exit. p is long_precision as the caller set it.
#pragma once
#include <array>
#include <cstdint>
#include <new>
#include <vector>

#include "rizozira/long_number.h"

// A work record of a routine's own: a long_number bound to a 256-byte inline
// buffer, cleared (its heap array freed) when the routine leaves.
struct long_work_record {
  long_number n;
  std::uint32_t buffer[long_slot_inline_blocks];
  long_work_record() { long_init(&n, buffer, long_slot_inline_bytes); }
  ~long_work_record() { long_clear(&n); }
  long_work_record(const long_work_record&) = delete;
  long_work_record& operator=(const long_work_record&) = delete;
  long_number* operator->() { return &n; }
};

// Restores long_precision when it goes out of scope.
struct long_precision_saver {
  std::int32_t saved = long_precision;
  ~long_precision_saver() { long_precision = saved; }
};

// Restores the temporary-slot level when it goes out of scope.
struct long_temp_level_saver {
  std::int32_t saved = long_temp_used;
  ~long_temp_level_saver() { long_temp_release_to(saved); }
};

// Runs body (a routine of this area that keeps its work arrays in vectors)
// and turns a refused heap allocation into error 159, so that no exception
// leaves the area.
template <class Body>
int long_catch_alloc(Body&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return long_host_report_error(159);
  }
}

// Rounds n at long_precision, also when it is normalised at a higher one.
inline void long_round_result(long_number* n) {
  n->norm = 0;
  long_normalize(n, 1);
}

// ================================================================ interpreter entry points
// Each entry below is the whole long path of a built-in function, special
// name or operator: the integer-mode refusal (162) where the function has one,
// the computation, the final rounding at long_precision and the timing report.
// Unless said otherwise they return long_result with the value in *long_accumulator,
// or a negative code. Their operand records are consumed (left cleared or
// changed); pass temporaries.

int long_func_sqr(long_number* x);                  // SQR
int long_func_exp(long_number* x, int base10);      // EXP (0), EXP10 (1)
int long_func_log(long_number* x, int base10);      // LOG (0), LOG10 (1)
int long_func_trig(long_number* x, int mode);       // 1 SIN, 2 COS, 3 TAN, 4 COT
int long_func_atn(long_number* x, int acot);        // ATN (0), ACOT (1)
int long_func_root(long_number* x, long_number* n); // ROOT(x, n)
int long_func_half(long_number* x);                 // HALF
int long_func_fix(long_number* x);                  // FIX
// FACTORIAL of a long: converted to a double, truncated, then long_factorial.
int long_func_factorial(long_number* x);
// HEXCONVERT of a number: its hexadecimal text, cut to long_hex_result_max
// characters, into out (room for long_hex_result_max + 1 bytes) and
// *length_out; returns long_text_result. 269 when the integer part is too
// long, 159.
constexpr std::int32_t long_hex_result_max = 255;
int long_hexconvert_number(long_number* x, char* out, std::int32_t* length_out);
// The power operator on long operands: result := base ^ exponent. Returns 0
// with the value (rounded at p) in *result, or a negative code (162, 20, ...).
int long_power(long_number* base, long_number* exponent, long_number* result);
// Special names: longpi, longe, remainder, cossame.
int long_special_longpi();
int long_special_longe();
int long_special_remainder();
int long_special_cossame();

// ================================================================ square root, half, factorial (long_sqrt.cpp, long_factorial.cpp)

// r := sqrt(x) rounded to p digits (x is cut and padded in place). 0 or
// negative: 199 for a negative x, 159, interrupt codes.
int long_sqrt(long_number* x, long_number* r);
// One Newton correction r := r + (q - r) / 2 (q = x / r, normalised).
// 1 go on, 0 converged, negative code.
int long_sqrt_step(long_number* q, long_number* r, std::int32_t digits);
// n := n / 2 in place, normalised with mode 1. 0 or -159.
int long_half(long_number* n);
// 1 when the units digit of the integral n (exp >= 1) is odd, else 0.
int long_is_odd(const long_number* n);
// k! into long_accumulator (cut, not rounded, to p outside integer mode).
// long_result, or 186 for k outside 1..205,021, 187, 159, interrupt codes.
int long_factorial(std::int32_t k);

// ================================================================ pi, e and fixed-point block arrays (long_constants.cpp)

// Fixed-point block arrays: block 0 the integer part, block i the weight
// 10^(-8i). All arrays of one computation have the same block count, which
// the routines take as a parameter.
// The block count for `digits` digits: floor(max(digits + 18, 20) / 8).
std::int32_t long_fixed_count_for(std::int64_t digits);

// a := v over n blocks (v in block 0, the rest zero).
void long_blocks_set_int(std::uint32_t* a, std::uint32_t v, std::int32_t n);
// a := a + b over blocks [0, n); a carry out of block 0 is dropped.
void long_blocks_add(std::uint32_t* a, const std::uint32_t* b, std::int32_t n);
// a := a + b or a - b over blocks [from, n), the carry or borrow running on
// towards block 0 (blocks of b before `from` are zero).
void long_blocks_add_from(std::uint32_t* a, const std::uint32_t* b, std::int32_t from,
                          std::int32_t n);
void long_blocks_sub_from(std::uint32_t* a, const std::uint32_t* b, std::int32_t from,
                          std::int32_t n);
int long_blocks_compare(const std::uint32_t* a, const std::uint32_t* b, std::int32_t n);
// a := a x m over n blocks (64-bit products); a carry out of block 0 is dropped.
void long_blocks_mul_small(std::uint32_t* a, std::uint64_t m, std::int32_t n);
// As long_blocks_div_small_tracked (zero blocks skipped from start on, start
// moved past them, the remainder returned), dividing by the reciprocal of d;
// d below 1.8e11.
std::uint32_t long_fixed_div_small_tracked(std::uint32_t* blocks, std::uint64_t d, std::int32_t n,
                                           std::int32_t& start);
// a := a / d over n blocks; the last remainder is dropped.
void long_blocks_div_small(std::uint32_t* a, std::uint32_t d, std::int32_t n);
// sum := atan(1/n) for n > 1 over count blocks (pow and term are work
// arrays of as many). Number of terms, or a negative interrupt code.
int long_blocks_arccot(std::uint32_t* sum, std::uint32_t* pow, std::uint32_t* term, std::uint32_t n,
                       std::int32_t count);

// sum := 1/n -+ 1/(3 n^3) + 1/(5 n^5) -+ ... over count blocks: atan(1/n)
// with alternating signs (alternate 1), atanh(1/n) without. pow and term are
// work arrays of count blocks. Number of terms, or a negative interrupt code.
int long_blocks_inverse_series(std::uint32_t* sum, std::uint32_t* pow, std::uint32_t* term,
                               std::uint32_t n, int alternate, std::int32_t count);

// pi / e rounded to `digits` digits into dst (null dst only fills the cache).
int long_pi(long_number* dst, std::int32_t digits);
int long_e(long_number* dst, std::int32_t digits);
int long_pi_compute(std::int32_t digits, long_number* r);
// Shared by the constant caches (pi, e, ln 10): when the cache holds fewer
// than `digits` digits it is recomputed (its count 0 meanwhile, so a failure
// leaves it empty) and normalised at `digits`; then dst := the cache rounded
// to `digits` (null dst only fills the cache). 0 or negative.
int long_cached_constant(long_number* cache, std::int32_t* cache_digits,
                         int (*compute)(std::int32_t, long_number*), long_number* dst,
                         std::int32_t digits);
int long_e_compute(std::int32_t digits, long_number* r);

// ---- fixed-point helpers shared by the series routines
// A fixed-point value: blocks in base 10^8, block 0 the integer part.
using long_fixed = std::vector<std::uint32_t>;
// f (count blocks) := |x| in fixed-point form (digits beyond the array are
// cut). |x| must be below 10^8.
void long_fixed_from_record(const long_number* x, long_fixed& f, std::int32_t count);
// r := (sign) f, written with exp 8 (block 0 the integer part), norm 0.
int long_fixed_to_record(const long_fixed& f, std::int32_t sign, long_number* r);
// dst := a x b truncated to dst's block count (a, b, dst of any lengths;
// dst may not alias a or b). Blocks of b before b_from are taken as zero.
// 0, or the negative code of an interrupt (Kill) from the poll it makes
// during long products.
int long_fixed_multiply(const long_fixed& a, const long_fixed& b, std::int32_t b_from,
                        long_fixed& dst);

// Prints a DEBUG LONG line (format with up to two int values) while
// long_debug_dump_on is set.
void long_debug_line(const char* format, int a, int b = 0);

// DEBUG LONG dump of a fixed-point value (as a record with exp 8); nothing
// unless long_debug_dump_on.
void long_debug_dump_fixed(const char* label, const long_fixed& f, std::int32_t sign = 0);

// One step of an alternating series: sum := sum - term or sum + term over
// blocks [start, n_blocks) by `subtract`, which then flips; dumps both under
// DEBUG LONG and polls for Kill every few terms. 0, or the negative code of
// the interrupt.
int long_series_add_term(long_fixed& sum, const long_fixed& term, std::int32_t start,
                         std::int32_t n_blocks, bool& subtract, long terms);

// ================================================================ exponential (long_exp.cpp)

// result := e^x (base10 0) or 10^x (base10 1), unnormalised. x unchanged.
int long_exp(const long_number* x, long_number* result, int base10);
int long_exp_core(std::int32_t p, long_number* x, long_number* result, int base10);
// result := e^x for |x| <= 3.5 in fixed-point form (exp 8) at long_precision.
// 168 otherwise.
int long_exp_staged(const long_number* x, long_number* result);
// sum := e^y for y the blocks [first, first + count) of the fraction f
// (f[0] is the first fraction block); sum has the work length.
int long_exp_series(const long_fixed& f, long_fixed& sum, std::int32_t first, std::int32_t count,
                    std::int32_t negative);
// Stage boundaries B0..B5 of the exponential for the work precision P.
void long_exp_boundaries(std::int32_t P, std::int32_t b[6]);
// Forces the boundaries b[1..count-1] to multiples of 8 of at least 8, each
// above the previous one.
void long_force_boundaries(std::int32_t* b, int count);

// ================================================================ logarithms (long_log.cpp)

// r := ln x (base10 0) or log10 x (base10 1), normalised at p + 8. x's
// exponent is changed in place. 210 for zero, 209 for negative x.
int long_log(long_number* x, long_number* r, int base10);
int long_ln(long_number* x, long_number* r, int base10);
// r := ln(num / den) for 1 <= num, den < 10^8 at P + 34 digits. 156 otherwise.
int long_ln_rational(std::int32_t P, std::uint32_t num, std::uint32_t den, long_number* r);
// r := ln m by the Newton iteration (m in [0.31, 3.1)).
int long_ln_newton(const long_number* m, long_number* r);
// r := ln q for q near 1 by the atanh series, at long_precision + 18 digits.
int long_ln_series(const long_number* q, long_number* r);
// dst := ln 10 rounded to `digits` digits, from the cache.
int long_ln10(long_number* dst, std::int32_t digits);
int long_ln10_compute(std::int32_t digits, long_number* r);

// ================================================================ sine, cosine, tangent, cotangent (long_trig.cpp)

// mode 1 SIN, 2 COS, 3 TAN, 4 COT; result unnormalised at the raised precision.
int long_trig(std::int32_t p, const long_number* x, long_number* result, int mode);
int long_trig_core(std::int32_t p, const long_number* x, long_number* result, int mode);
// s := sin y, c := cos y for 0 <= y < pi/4.
int long_sin_cos(std::int32_t p, const long_number* y, long_number* s, long_number* c);
// sum := sin z (mode 0) or cos z (mode 1), z the blocks [first, first+count)
// of the fraction f; x2 holds z^2 (computed when empty).
int long_sin_cos_series(const long_fixed& f, long_fixed& sum, long_fixed& x2, std::int32_t first,
                        std::int32_t count, int mode);

// ================================================================ arctangent (long_atan.cpp)

// r := atan x (acot 0) or acot x (acot 1), in degrees while long_host_degrees_mode() is on.
int long_atn(long_number* x, long_number* r, int acot);
int long_atn_core(long_number* x, long_number* r, int acot);
// r := atan x for 0 <= x < 1 (normalised record).
int long_atn_split(const long_number* x, long_number* r);
// x := tan(atan x - k atan(1/10)); k added to *k_out.
int long_atn_reduce(long_number* x, std::int32_t* k_out);
// sum := atan z, z the blocks [first, first + count) of the fraction f.
int long_atn_series(const long_fixed& f, long_fixed& sum, std::int32_t first, std::int32_t count);
// dst := atan(1/10) in fixed-point form (long_fixed_count_for(digits) blocks).
int long_atan_tenth(long_fixed& dst, std::int32_t digits);

// ================================================================ hexadecimal (long_hex.cpp)

extern const std::array<std::uint8_t, 256> hex_digit_values;  // 17: not a hex digit
extern const char hex_digit_chars[17];

// dst := the value of the hexadecimal text [text, text + length). long_result or negative.
int long_from_hex_text(const char* text, std::int64_t length, long_number* dst);
// Hexadecimal text of n into buffer (*size_inout bytes on entry, the text
// length on return); *int_len_out the length of sign and integer part.
// long_text_result or negative.
int long_to_hex(const long_number* n, char* buffer, std::int32_t* size_inout,
                std::int32_t* int_len_out);
int long_integer_to_hex(const long_number* n, char* buffer, std::int32_t* size_inout);
int long_fraction_to_hex(const long_number* n, char* buffer, std::int32_t* size_inout);
// blocks[0..n) := blocks x m + c, from block n-1 up to one above start, which
// then follows the value's first nonzero block.
void long_blocks_mul_add(std::uint32_t* blocks, std::uint32_t m, std::int32_t n, std::uint32_t c,
                         std::int32_t& start);
