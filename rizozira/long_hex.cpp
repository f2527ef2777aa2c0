// HEXCONVERT: hexadecimal text with a fraction to long numbers and back.
// Integer parts go exactly through block arrays multiplied or divided by
// powers of 16; fractions through a binary fraction of 32-bit words.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "rizozira/long_functions.h"

namespace {

constexpr std::uint8_t hex_invalid = 17;
constexpr std::int64_t hex_poll_units = 50000;
constexpr std::uint64_t log16_minus_one = 0x3441350A;  // (log10 16 - 1) x 2^32
// An integer of more than this many decimal digits has 256 or more
// hexadecimal digits: 10^309 > 16^256.
constexpr std::int32_t hex_integer_digits_max = 309;

constexpr std::array<std::uint8_t, 256> make_hex_values() {
  std::array<std::uint8_t, 256> t{};
  for (auto& v : t) v = hex_invalid;
  for (int c = '0'; c <= '9'; ++c) t[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) t[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) t[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - 'a' + 10);
  return t;
}

// Decimal digits for h hexadecimal digits, rounded up to whole blocks.
std::int64_t decimal_digits_for(std::int64_t h) {
  std::int64_t d = static_cast<std::int64_t>((static_cast<std::uint64_t>(h) * log16_minus_one) >> 32) + h + 1;
  return (d + long_block_digits - 1) / long_block_digits * long_block_digits;
}

// Counts work and polls for Kill every hex_poll_units.
struct poll_counter {
  std::int64_t work = 0;
  int add(std::int64_t units) {
    work += units;
    if (work <= hex_poll_units) return 0;
    work = 0;
    return long_host_poll_interrupt();
  }
};

// The decimal digits of |n|'s fraction (after the point), most significant first.
std::string fraction_digits(const long_number* n) {
  std::string all;
  for (std::int32_t i = 0; i < n->blks; ++i) {
    char text[12];
    std::snprintf(text, sizeof text, "%08u", n->blocks[i]);
    all += text;
  }
  if (static_cast<std::int64_t>(all.size()) > n->len) all.resize(static_cast<std::size_t>(std::max(n->len, 0)));
  if (n->exp >= 0) return n->exp >= static_cast<std::int32_t>(all.size()) ? std::string() : all.substr(static_cast<std::size_t>(n->exp));
  return std::string(static_cast<std::size_t>(-static_cast<std::int64_t>(n->exp)), '0') + all;
}

}  // namespace

const std::array<std::uint8_t, 256> hex_digit_values = make_hex_values();
const char hex_digit_chars[17] = "0123456789ABCDEF";

void long_blocks_mul_add(std::uint32_t* blocks, std::uint32_t m, std::int32_t n, std::uint32_t c,
                         std::int32_t& start) {
  std::uint64_t carry = c;
  std::int32_t stop = start > 0 ? start - 1 : 0;
  for (std::int32_t i = n - 1; i >= stop; --i) {
    std::uint64_t t = static_cast<std::uint64_t>(blocks[i]) * m + carry;
    blocks[i] = static_cast<std::uint32_t>(t % long_base);
    carry = t / long_base;
  }
  if (start > 0) --start;
  if (start < n - 1 && blocks[start] == 0) ++start;
}

int long_from_hex_text(const char* text, std::int64_t length, long_number* dst) {
  return long_catch_alloc([&]() -> int {
    std::int64_t pos = 0;
    std::int32_t sign = 0;
    if (pos < length && text[pos] == '+') {
      ++pos;
    } else if (pos < length && text[pos] == '-') {
      sign = -1;
      ++pos;
    }
    std::int64_t point = pos;
    while (point < length && text[point] != '.') ++point;
    const std::int64_t int_digits = point - pos;
    std::int64_t frac_from = point < length ? point + 1 : length;
    std::int64_t frac_digits = integer_mode ? 0 : length - frac_from;
    const std::int64_t read_end = integer_mode ? point : length;
    if (read_end == pos) return long_host_report_error(271);  // nothing to read
    for (std::int64_t i = pos; i < read_end; ++i) {
      if (i == point) continue;
      if (hex_digit_values[static_cast<unsigned char>(text[i])] == hex_invalid)
        return long_host_report_error(271);
    }
    int rc = long_host_poll_interrupt();
    if (rc < 0) return rc;
    std::int64_t int_dec = decimal_digits_for(int_digits);
    std::int64_t frac_dec = frac_digits > 0 ? decimal_digits_for(frac_digits) : 0;
    if (!integer_mode && int_dec + frac_dec < long_precision) {
      frac_dec = (static_cast<std::int64_t>(long_precision) + long_block_digits - 1) / long_block_digits *
                     long_block_digits +
                 long_block_digits - int_dec;
    }
    if (!integer_mode && frac_digits > 0) {
      // Leading zero digits of a fraction carry no significant digits: room
      // for them comes on top, so that a small fraction keeps p digits too.
      bool integer_zero = true;
      for (std::int64_t i = pos; i < point; ++i) integer_zero = integer_zero && text[i] == '0';
      std::int64_t zeros = 0;
      while (integer_zero && zeros < frac_digits && text[frac_from + zeros] == '0') ++zeros;
      if (zeros > 0) frac_dec += decimal_digits_for(zeros);
    }
    const std::int32_t int_blocks = static_cast<std::int32_t>(int_dec / long_block_digits);
    const std::int32_t frac_blocks = static_cast<std::int32_t>(frac_dec / long_block_digits);
    std::vector<std::uint32_t> blocks(static_cast<std::size_t>(int_blocks + frac_blocks), 0);
    poll_counter poll;
    // Integer part, Horner's scheme in groups of up to six hexadecimal digits.
    std::int32_t mul_start = int_blocks;  // first block the integer part reaches
    for (std::int64_t i = pos; i < point;) {
      std::uint32_t v = 0, m = 1;
      for (int k = 0; k < 6 && i < point; ++k, ++i) {
        v = v * 16 + hex_digit_values[static_cast<unsigned char>(text[i])];
        m *= 16;
      }
      long_blocks_mul_add(blocks.data(), m, int_blocks, v, mul_start);
      rc = poll.add(mul_start);
      if (rc < 0) return rc;
    }
    // Fraction: packed eight digits to a 32-bit word, then multiplied by
    // 10^8 repeatedly, each carry out of word 0 the next decimal block.
    if (frac_digits > 0) {
      std::vector<std::uint32_t> words(static_cast<std::size_t>((frac_digits + 7) / 8), 0);
      for (std::int64_t k = 0; k < frac_digits; ++k) {
        std::uint32_t v = hex_digit_values[static_cast<unsigned char>(text[frac_from + k])];
        words[static_cast<std::size_t>(k / 8)] |= v << (28 - 4 * (k % 8));
      }
      std::int64_t last = static_cast<std::int64_t>(words.size()) - 1;
      for (std::int32_t b = 0; b < frac_blocks; ++b) {
        while (last >= 0 && words[static_cast<std::size_t>(last)] == 0) --last;
        if (last < 0) break;  // the fraction is used up
        std::uint64_t carry = 0;
        for (std::int64_t w = last; w >= 0; --w) {
          std::uint64_t t = static_cast<std::uint64_t>(words[static_cast<std::size_t>(w)]) * long_base + carry;
          words[static_cast<std::size_t>(w)] = static_cast<std::uint32_t>(t & 0xFFFFFFFFu);
          carry = t >> 32;
        }
        blocks[static_cast<std::size_t>(int_blocks + b)] = static_cast<std::uint32_t>(carry);
        rc = poll.add(last + 1);
        if (rc < 0) return rc;
      }
    }
    rc = long_reserve(dst, (static_cast<std::int64_t>(int_blocks) + frac_blocks) * long_block_digits);
    if (rc < 0) return rc;
    std::memcpy(dst->blocks, blocks.data(), blocks.size() * long_block_bytes);
    dst->blks = int_blocks + frac_blocks;
    dst->len = dst->blks * long_block_digits;
    dst->exp = static_cast<std::int32_t>(int_dec);
    dst->sign = sign;
    dst->norm = 0;
    long_normalize(dst, 1);
    if (long_is_zero(dst)) dst->sign = 0;
    return long_result;
  });
}

int long_integer_to_hex(const long_number* n, char* buffer, std::int32_t* size_inout) {
  return long_catch_alloc([&]() -> int {
    const std::int32_t size = *size_inout;
    std::string digits;
    if (n->exp >= 1 && !long_is_zero(n)) {
      // The integer right-aligned in whole blocks.
      const std::int32_t nb = (n->exp + long_block_digits - 1) / long_block_digits;
      const std::int32_t pad = nb * long_block_digits - n->exp;
      std::vector<std::uint32_t> blocks(static_cast<std::size_t>(nb), 0);
      for (std::int32_t j = 0; j < n->exp && j < n->len; ++j) {  // digit j of n
        const std::uint32_t d =
            (n->blocks[j / long_block_digits] / long_pow10[long_block_digits - 1 - j % long_block_digits]) %
            10;
        const std::int32_t at = j + pad;
        blocks[static_cast<std::size_t>(at / long_block_digits)] +=
            d * long_pow10[long_block_digits - 1 - at % long_block_digits];
      }
      poll_counter poll;
      std::int32_t start = 0;
      std::vector<std::uint32_t> groups;  // 16-bit groups, least significant first
      while (true) {
        while (start < nb && blocks[static_cast<std::size_t>(start)] == 0) ++start;
        if (start >= nb) break;
        groups.push_back(long_fixed_div_small_tracked(blocks.data(), 65536, nb, start));
        int rc = poll.add(nb - start);
        if (rc < 0) return rc;
      }
      for (std::size_t g = groups.size(); g-- > 0;) {
        for (int shift = 12; shift >= 0; shift -= 4) {
          char c = hex_digit_chars[(groups[g] >> shift) & 15];
          if (digits.empty() && c == '0') continue;  // no leading zeros
          digits += c;
        }
      }
    }
    if (digits.empty()) digits = "0";
    if (static_cast<std::int64_t>(digits.size()) + 1 > size) return long_host_report_error(158);
    std::memcpy(buffer, digits.data(), digits.size());
    buffer[digits.size()] = '\0';
    *size_inout = static_cast<std::int32_t>(digits.size());
    return long_text_result;
  });
}

int long_fraction_to_hex(const long_number* n, char* buffer, std::int32_t* size_inout) {
  return long_catch_alloc([&]() -> int {
    const std::int32_t size = *size_inout;
    if (size < 2) return long_host_report_error(158);
    std::string frac = fraction_digits(n);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string out;
    if (frac.empty()) {
      out = "0";
    } else {
      const std::size_t word_count = (static_cast<std::size_t>(size) + 7) / 8;
      std::vector<std::uint32_t> words(word_count, 0);
      const std::size_t nb = (frac.size() + long_block_digits - 1) / long_block_digits;
      frac.resize(nb * long_block_digits, '0');
      poll_counter poll;
      for (std::size_t b = nb; b-- > 0;) {  // from the least significant block up
        std::uint64_t r =
            std::strtoul(frac.substr(b * long_block_digits, long_block_digits).c_str(), nullptr, 10);
        for (std::size_t w = 0; w < word_count; ++w) {
          std::uint64_t t = (r << 32) + words[w];
          words[w] = static_cast<std::uint32_t>(t / long_base);
          r = t % long_base;
        }
        int rc = poll.add(static_cast<std::int64_t>(word_count));
        if (rc < 0) return rc;
      }
      const std::size_t digits = static_cast<std::size_t>(size) - 1;  // up to the buffer's last byte
      for (std::size_t k = 0; k < digits && k / 8 < word_count; ++k) {
        out += hex_digit_chars[(words[k / 8] >> (28 - 4 * (k % 8))) & 15];
      }
      if (out.size() > 1) out.pop_back();  // the last digit is not exact
      while (out.size() > 1 && out.back() == '0') out.pop_back();
    }
    std::memcpy(buffer, out.data(), out.size());
    buffer[out.size()] = '\0';
    *size_inout = static_cast<std::int32_t>(out.size());
    return 0;
  });
}

int long_to_hex(const long_number* n, char* buffer, std::int32_t* size_inout,
                std::int32_t* int_len_out) {
  const std::int32_t size = *size_inout;
  std::int32_t used = 0;
  if (n->sign != 0 && !long_is_zero(n)) {
    if (size < 2) return long_host_report_error(158);
    buffer[used++] = '-';
  }
  long_work_record whole;
  int rc = long_copy(n, &whole.n);
  if (rc < 0) return rc;
  long_fix(&whole.n);
  std::int32_t part = size - used;
  rc = long_integer_to_hex(&whole.n, buffer + used, &part);
  if (rc < 0) return rc;
  used += part;
  *int_len_out = used;
  if (!integer_mode && size - used >= 3) {
    buffer[used++] = '.';
    part = size - used;
    rc = long_fraction_to_hex(n, buffer + used, &part);
    if (rc < 0) return rc;
    used += part;
  }
  buffer[used] = '\0';
  *size_inout = used;
  return long_text_result;
}

int long_hexconvert_number(long_number* x, char* out, std::int32_t* length_out) {
  long_normalize(x, 1);
  if (!long_is_zero(x) && x->exp > hex_integer_digits_max) return long_host_report_error(269);
  std::int32_t size = std::max<std::int32_t>(x->exp + 3, 8);
  if (!integer_mode) size = std::max<std::int32_t>(size, long_precision + 4);
  std::vector<char> buffer;
  try {
    buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
  } catch (const std::bad_alloc&) {
    return long_host_report_error(159);
  }
  std::int32_t int_len = 0;
  int rc = long_to_hex(x, buffer.data(), &size, &int_len);
  if (rc < 0) return rc;
  if (int_len >= (integer_mode ? 256 : 255)) return long_host_report_error(269);
  const std::size_t copy = std::min<std::size_t>(static_cast<std::size_t>(size), long_hex_result_max);
  std::memcpy(out, buffer.data(), copy);
  out[copy] = '\0';
  *length_out = static_cast<std::int32_t>(copy);
  return long_text_result;
}
