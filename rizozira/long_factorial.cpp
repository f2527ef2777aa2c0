// The factorial of an integer up to 205,021 (about a million digits), one
// pass over the blocks in use per factor, and the FACTORIAL entry point.
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "rizozira/long_functions.h"

namespace {

constexpr std::int32_t factorial_max = 205021;
constexpr std::int64_t factorial_poll_units = 50000;
// Two neighbouring factors are multiplied in one pass while their product
// stays below this: a block (< 10^8) times it, plus the carry, fits 64 bits.
constexpr std::uint64_t factorial_group_limit = 100000000000ULL;

}  // namespace

int long_factorial(std::int32_t k) {
  if (k < 1 || k > factorial_max) return long_host_report_error(186);
  // k! has fewer than 5k digits for every k in range.
  const std::int32_t nb = static_cast<std::int32_t>((5LL * k + long_block_digits - 1) / long_block_digits);
  std::vector<std::uint32_t> blocks;
  try {
    blocks.assign(static_cast<std::size_t>(nb), 0);
  } catch (const std::bad_alloc&) {
    return long_host_report_error(159);
  }
  blocks[static_cast<std::size_t>(nb - 1)] = 1;
  std::int32_t start = nb - 1;  // first block in use
  std::int64_t work = 0;
  for (std::int64_t j = 2; j <= k;) {
    std::uint64_t m = static_cast<std::uint64_t>(j);
    ++j;
    if (j <= k && m * static_cast<std::uint64_t>(j) < factorial_group_limit) {
      m *= static_cast<std::uint64_t>(j);
      ++j;
    }
    std::uint64_t carry = 0;
    std::uint32_t* b = blocks.data();
    for (std::int32_t i = nb - 1; i >= start; --i) {
      std::uint64_t t = b[i] * m + carry;
      b[i] = static_cast<std::uint32_t>(t % long_base);
      carry = t / long_base;
    }
    while (carry != 0) {
      if (start == 0) return long_host_report_error(187);
      --start;
      b[start] = static_cast<std::uint32_t>(carry % long_base);
      carry /= long_base;
    }
    work += nb - start;
    if (work > factorial_poll_units) {
      work = 0;
      int rc = long_host_poll_interrupt();
      if (rc < 0) return rc;
    }
  }
  // The product is an integer right-aligned in the array: exp 8 x nb.
  long_clear(long_accumulator);
  int rc = long_reserve(long_accumulator, std::int64_t{long_block_digits} * nb);
  if (rc < 0) return rc;
  std::memcpy(long_accumulator->blocks, blocks.data(), static_cast<std::size_t>(nb) * long_block_bytes);
  long_accumulator->blks = nb;
  long_accumulator->len = long_block_digits * nb;
  long_accumulator->exp = long_block_digits * nb;
  long_accumulator->sign = 0;
  long_accumulator->norm = 0;
  long_normalize(long_accumulator, -1);  // outside integer mode: cut, not rounded
  return long_result;
}

int long_func_factorial(long_number* x) {
  double value = 0.0;
  int rc = long_to_double(x, 1, &value);
  if (rc < 0) return rc;
  double v = std::trunc(value);
  if (!(v >= 1 && v <= factorial_max)) return long_host_report_error(186);  // also NaN
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_FACTORIAL, stamp);
  rc = long_factorial(static_cast<std::int32_t>(v));
  if (rc < 0) return rc;
  long_timer_end(LONG_TIMER_FACTORIAL, stamp);
  return long_result;
}
