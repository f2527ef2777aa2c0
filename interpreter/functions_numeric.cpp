// The double kernels of the numeric built-in functions: rounding, HEX$,
// EXPONENT, ROOT and FACTORIAL. No cast here sees a value it has not bounded.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "interpreter/functions.h"

double cint_double(double x) {
  // std::round rounds halves away from zero exactly; adding 0.5 first would
  // round 0.49999999999999994 up and push odd values above 2^52 one too high.
  return std::round(x);
}

int hex_text(double n, double fill, char* out, std::size_t size) {
  if (size == 0) return 68;
  out[0] = '\0';
  if (!(fill == -1.0 || fill == 0.0 || fill == 1.0 || fill == 2.0)) return 207;
  if (fill == 2.0) {  // the 64 bits of the double as stored
    std::uint64_t bits;
    std::memcpy(&bits, &n, sizeof bits);
    std::snprintf(out, size, "%016llX", static_cast<unsigned long long>(bits));
    return 0;
  }
  if (!(n >= -2147483648.0 && n <= 4294967295.0)) return 180;  // also refuses NaN
  double whole = std::trunc(n);
  if (whole < 0) whole += 4294967296.0;  // 32-bit two's complement
  auto value = static_cast<std::uint32_t>(whole);
  if (fill == -1.0)
    std::snprintf(out, size, "%X", static_cast<unsigned>(value));
  else if (fill == 0.0)
    std::snprintf(out, size, "%08X", static_cast<unsigned>(value));
  else
    std::snprintf(out, size, "%8X", static_cast<unsigned>(value));
  return 0;
}

int exponent_of_double(double x, double& exponent) {
  if (!std::isfinite(x)) return 68;
  char text[32];
  std::snprintf(text, sizeof text, "% 4.2e", x);
  const char* e = std::strchr(text, 'e');
  if (!e) return 68;
  exponent = static_cast<double>(std::strtol(e + 1, nullptr, 10));
  return 0;
}

int root_double(double x, double n, double& result) {
  if (n == 0.0) {
    if (x == 0.0) {
      result = 1.0;
      return 0;
    }
    return 20;
  }
  if (x == 0.0) {
    result = 0.0;
    return 0;
  }
  bool negative = x < 0;
  if (negative) {
    // Only an integral, odd root of a negative number is real.
    if (!std::isfinite(n) || std::trunc(n) != n || std::fmod(n, 2.0) == 0.0) return 20;
    x = -x;
  }
  double r = std::pow(x, 1.0 / n);
  if (std::isinf(r)) return 165;
  if (std::isnan(r)) return 20;
  result = negative ? -r : r;
  return 0;
}

int factorial_double(double n, double& result) {
  if (!(n >= 1.0 && n < 171.0)) return 186;  // also refuses NaN
  int count = static_cast<int>(std::trunc(n));
  double product = 1.0;
  for (int i = 2; i <= count; ++i) product *= i;
  result = product;
  return 0;
}

double instr_position(double start, const char* s, std::size_t s_length, const char* t,
                      std::size_t t_length) {
  if (!(start >= 1.0) || s_length == 0 || start > static_cast<double>(s_length)) return 0.0;
  auto from = static_cast<std::size_t>(start) - 1;  // start is 1 .. s_length here
  if (t_length == 0) return std::trunc(start);
  if (t_length > s_length - from) return 0.0;
  for (std::size_t i = from; i + t_length <= s_length; ++i) {
    if (std::memcmp(s + i, t, t_length) == 0) return static_cast<double>(i + 1);
  }
  return 0.0;
}
