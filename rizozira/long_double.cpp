// Conversion between long numbers and doubles: 24 digits in, an exact binary
// scaling of the leading 32 digits out (with 53-bit rounding).
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rizozira/long_number.h"

namespace {

// 10^k = m / 2^32 x 2^b exactly, k = 0..13.
struct binary_power {
  std::uint32_t m;
  std::int32_t b;
};
constexpr binary_power long_pow10_binary[14] = {
    {0x80000000u, 1},  {0xA0000000u, 4},  {0xC8000000u, 7},  {0xFA000000u, 10}, {0x9C400000u, 14},
    {0xC3500000u, 17}, {0xF4240000u, 20}, {0x98968000u, 24}, {0xBEBC2000u, 27}, {0xEE6B2800u, 30},
    {0x9502F900u, 34}, {0xBA43B740u, 37}, {0xE8D4A510u, 40}, {0x9184E72Au, 44},
};
// 10^100 and 10^-100 as 128-bit mantissas (least significant word first,
// truncated) with their binary exponents.
constexpr std::uint32_t long_pow10_100_binary[4] = {0x705F9C56u, 0x593C2626u, 0xA61BE758u, 0x924D692Cu};
constexpr std::int32_t pow10_100_exponent = 333;
constexpr std::uint32_t long_pow10_minus100_binary[4] = {0x93BC56F7u, 0x59787E2Bu, 0x70297EBDu, 0xDFF97724u};
constexpr std::int32_t pow10_minus100_exponent = -332;

constexpr int words = 4;

// Adds 2^31 to word 1 with the carry into words 2 and 3 (round half up at the
// bit below word 2).
void round_at_word1(std::uint32_t* w) {
  std::uint64_t v = static_cast<std::uint64_t>(w[1]) + 0x80000000u;
  w[1] = static_cast<std::uint32_t>(v);
  std::uint64_t carry = v >> 32;
  for (int i = 2; i < words && carry != 0; ++i) {
    v = static_cast<std::uint64_t>(w[i]) + carry;
    w[i] = static_cast<std::uint32_t>(v);
    carry = v >> 32;
  }
}

int too_large(long_number* n, int report, double* out) {
  if (math_error_ok) {
    *out = n->sign < 0 ? -HUGE_VAL : HUGE_VAL;
    math_error_flag = 1;
    long_clear(n);
    return long_double_result;
  }
  return report ? long_host_report_error(164) : -164;
}

// The first k blocks of n, zeros beyond blks.
std::uint32_t block_or_zero(const long_number* n, int k) { return k < n->blks ? n->blocks[k] : 0; }

}  // namespace

void long_bin_mul_small(std::uint32_t* w, std::uint32_t m, int n) {
  std::uint64_t carry = 0;
  for (int i = 0; i < n; ++i) {
    std::uint64_t v = static_cast<std::uint64_t>(w[i]) * m + carry;
    w[i] = static_cast<std::uint32_t>(v);
    carry = v >> 32;
  }
}

namespace {
// Shifts w left one bit when its top bit is clear; -1 then, else 0.
int renormalise(std::uint32_t* w, int n) {
  if (w[n - 1] & 0x80000000u) return 0;
  for (int i = n - 1; i > 0; --i) w[i] = (w[i] << 1) | (w[i - 1] >> 31);
  w[0] <<= 1;
  return -1;
}
}  // namespace

int long_bin_mul_small_norm(std::uint32_t* w, std::uint32_t c, int n) {
  std::uint64_t carry = 0;
  // Product of n + 1 words; the lowest is dropped.
  std::uint64_t v = static_cast<std::uint64_t>(w[0]) * c;
  carry = v >> 32;
  for (int i = 1; i < n; ++i) {
    v = static_cast<std::uint64_t>(w[i]) * c + carry;
    w[i - 1] = static_cast<std::uint32_t>(v);
    carry = v >> 32;
  }
  w[n - 1] = static_cast<std::uint32_t>(carry);
  return renormalise(w, n);
}

int long_bin_multiply_norm(std::uint32_t* w, const std::uint32_t* f, int n) {
  std::uint32_t product[2 * 8] = {};
  if (n > 8) n = 8;  // the conversion never needs more than four words
  for (int i = 0; i < n; ++i) {
    std::uint64_t carry = 0;
    for (int j = 0; j < n; ++j) {
      std::uint64_t v = static_cast<std::uint64_t>(w[i]) * f[j] + product[i + j] + carry;
      product[i + j] = static_cast<std::uint32_t>(v);
      carry = v >> 32;
    }
    product[i + n] = static_cast<std::uint32_t>(carry);
  }
  for (int i = 0; i < n; ++i) w[i] = product[n + i];
  return renormalise(w, n);
}

int long_bin_div_small_norm(std::uint32_t* w, std::uint32_t d, int n) {
  if (d == 0) return 0;
  int halved = 0;
  if (w[n - 1] >= d) {
    long_bin_shift_right(w, 1, n);
    halved = 1;
  }
  std::uint64_t rem = 0;
  std::uint32_t q[9] = {};
  if (n > 8) n = 8;
  for (int i = n - 1; i >= 0; --i) {
    std::uint64_t cur = (rem << 32) | w[i];
    q[i + 1] = static_cast<std::uint32_t>(cur / d);
    rem = cur % d;
  }
  q[0] = static_cast<std::uint32_t>((rem << 32) / d);
  for (int i = 0; i < n; ++i) w[i] = q[i];  // q[n] is 0: the top word was below d
  return halved;
}

void long_bin_shift_right(std::uint32_t* w, int s, int n) {
  if (s <= 0) return;
  if (s > 31) s = 31;
  for (int i = 0; i < n - 1; ++i) w[i] = (w[i] >> s) | (w[i + 1] << (32 - s));
  w[n - 1] >>= s;
}

int long_from_double(double x) {
  long_clear(long_accumulator);
  if (!std::isfinite(x)) return long_host_report_error(99);
  char text[64];
  int written = std::snprintf(text, sizeof text, "%.23e", std::fabs(x));
  if (written <= 0 || static_cast<std::size_t>(written) >= sizeof text) return long_host_report_error(99);
  // text is d.ddddddddddddddddddddddde[+-]xx: 24 digits and a decimal exponent.
  char digits[24];
  int count = 0;
  const char* p = text;
  for (; *p != '\0' && *p != 'e' && count < 24; ++p) {
    if (*p >= '0' && *p <= '9') digits[count++] = *p;
  }
  while (*p != '\0' && *p != 'e') ++p;
  if (*p != 'e' || count != 24) return long_host_report_error(99);
  long decimal_exponent = std::strtol(p + 1, nullptr, 10);
  long_number* acc = long_accumulator;
  int r = long_reserve(acc, 24);
  if (r < 0) return r;
  for (int b = 0; b < 3; ++b) {
    std::uint32_t v = 0;
    for (int k = 0; k < long_block_digits; ++k)
      v = v * 10 + static_cast<std::uint32_t>(digits[b * long_block_digits + k] - '0');
    acc->blocks[b] = v;
  }
  acc->len = 24;
  acc->blks = 3;
  acc->exp = static_cast<std::int32_t>(decimal_exponent + 1);  // d.ddd x 10^e = 0.dddd x 10^(e+1)
  acc->sign = std::signbit(x) ? -1 : 0;
  acc->norm = 0;
  long_normalize(acc, 1);
  return long_result;
}

int long_to_double(long_number* n, int report, double* out) {
  long_normalize(n, 0);  // the digits below are read from a normalised number
  if (n->blocks[0] == 0) {
    *out = 0.0;
    return long_double_result;
  }
  // Overflow: 10^309 and above here; below that, a value is too large
  // exactly when it rounds to 2^1024 (checked after the rounding below). A
  // cut at the decimal 1.7976931348623157e308 instead would refuse the
  // largest double itself (1.797693134862315708...e308), which enters with
  // its 24 digits and must come back unchanged.
  if (n->exp >= 310) return too_large(n, report, out);
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_CONVERT, stamp);
  const bool negative = n->sign < 0;

  if (long_old_convert) {
    // The leading 24 digits as text, read back by the library's decimal
    // scanner (std::from_chars: the same reading as "%lf", but in every locale).
    char text[64];
    int w = std::snprintf(text, sizeof text, ".%08u%08u%08ue%d", block_or_zero(n, 0), block_or_zero(n, 1),
                          block_or_zero(n, 2), n->exp);
    double value = 0.0;
    if (w > 0) std::from_chars(text, text + w, value);
    if (negative && value != 0.0) value = -value;  // a zero keeps no sign
    long_clear(n);
    if (std::isinf(value)) {
      if (!math_error_ok) return long_host_report_error(164);
      math_error_flag = 1;
    }
    *out = value;
    long_timer_end(LONG_TIMER_CONVERT, stamp, "old long-to-double Calc. Time: ");
    return long_double_result;
  }

  // Far below the smallest subnormal: zero (the scaling below would only
  // shift every bit out).
  if (n->exp < -400) {
    *out = 0.0;
    long_timer_end(LONG_TIMER_CONVERT, stamp, "long-to-double Calc. Time: ");
    return long_double_result;
  }

  // The leading 32 digits as a 128-bit integer W; value = W x 10^E.
  std::uint32_t w[words] = {block_or_zero(n, 0), 0, 0, 0};
  for (int k = 1; k < 4; ++k) {
    long_bin_mul_small(w, long_base, words);
    std::uint64_t v = static_cast<std::uint64_t>(w[0]) + block_or_zero(n, k);
    w[0] = static_cast<std::uint32_t>(v);
    for (int i = 1; i < words && (v >> 32) != 0; ++i) {
      v = static_cast<std::uint64_t>(w[i]) + 1;
      w[i] = static_cast<std::uint32_t>(v);
    }
  }
  std::int32_t E = n->exp - 32;

  // Top bit set: value = W / 2^128 x 2^e x 10^E.
  std::int32_t e;
  std::uint32_t t = w[3];
  int shift;
  if (t >= 1024) {
    shift = 21, e = 107;
  } else if (t >= 512) {
    shift = 22, e = 106;
  } else if (t >= 256) {
    shift = 23, e = 105;
  } else if (t >= 128) {
    shift = 24, e = 104;
  } else {
    shift = 25, e = 103;
  }
  long_bin_mul_small(w, 1u << shift, words);

  if (E < 0) {
    while (E <= -100) {
      e += pow10_minus100_exponent + long_bin_multiply_norm(w, long_pow10_minus100_binary, words);
      E += 100;
    }
    while (E <= -13) {
      e -= long_pow10_binary[13].b;
      e += long_bin_div_small_norm(w, long_pow10_binary[13].m, words);
      E += 13;
    }
    if (E < 0) {
      e -= long_pow10_binary[-E].b;
      e += long_bin_div_small_norm(w, long_pow10_binary[-E].m, words);
    }
  } else {
    while (E >= 100) {
      e += pow10_100_exponent + long_bin_multiply_norm(w, long_pow10_100_binary, words);
      E -= 100;
    }
    while (E >= 13) {
      e += long_pow10_binary[13].b + long_bin_mul_small_norm(w, long_pow10_binary[13].m, words);
      E -= 13;
    }
    if (E > 0) e += long_pow10_binary[E].b + long_bin_mul_small_norm(w, long_pow10_binary[E].m, words);
  }

  // 53-bit mantissa in word 3 (leading 1 at bit 20) and word 2.
  long_bin_shift_right(w, 11, words);
  e -= 1;
  round_at_word1(w);
  if (w[3] == (1u << 21)) {
    w[3] = 1u << 20;
    e += 1;
  }
  if (e > 1023) return too_large(n, report, out);
  if (e < -1022) {
    std::int32_t s = -1022 - e;
    e = -1023;
    if (s >= 53) {
      w[3] = w[2] = 0;
    } else {
      while (s > 0) {
        int step = s > 31 ? 31 : s;
        long_bin_shift_right(w, step, words);
        s -= step;
      }
      if (long_tuning_int("dont_round", 0) != 1) {
        round_at_word1(w);
        if (w[3] >= (1u << 20)) e += 1;
      }
    }
  }
  std::uint64_t high = (w[3] & 0xFFFFFu) | (static_cast<std::uint64_t>(e + 1023) << 20);
  std::uint64_t bits = (high << 32) | w[2];
  if (negative && bits != 0) bits |= 0x8000000000000000ull;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  *out = value;
  long_timer_end(LONG_TIMER_CONVERT, stamp, "long-to-double Calc. Time: ");
  return long_double_result;
}
