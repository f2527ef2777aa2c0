// Conversion between long numbers and decimal text: scanning with a rounding
// digit, positional and scientific output, and storing long text results.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rizozira/long_number.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int scan_error(int code, int report) { return report ? long_host_report_error(code) : -code; }

// The position of the k-th digit (k >= 1) counted from `first`, points skipped.
const char* nth_digit(const char* first, std::int64_t k) {
  const char* s = first;
  for (;;) {
    if (*s != '.' && --k == 0) return s;
    ++s;
  }
}

// The digit after `pos` (a point skipped), or '0' when the digits end there.
char digit_after(const char* pos, const char* end) {
  const char* s = pos + 1;
  if (s < end && *s == '.') ++s;
  return (s < end && is_digit(*s)) ? *s : '0';
}

// Digit number k (0-based) of n; positions beyond the stored blocks are 0.
char digit_at(const long_number* n, std::int64_t k) {
  std::int64_t b = k / long_block_digits;
  if (b >= n->blks) return '0';
  return static_cast<char>('0' +
                           n->blocks[b] / long_pow10[long_block_digits - 1 - k % long_block_digits] % 10);
}

// Writes digits [from, from + count) of n.
char* put_digits(const long_number* n, std::int64_t from, std::int64_t count, char* out) {
  for (std::int64_t k = from; k < from + count; ++k) *out++ = digit_at(n, k);
  return out;
}

char* put_zeros(std::int64_t count, char* out) {
  if (count > 0) {
    std::memset(out, '0', static_cast<std::size_t>(count));
    out += count;
  }
  return out;
}

bool is_zero_value(const long_number* n) { return n->blocks[0] == 0 && n->blks <= 1; }

// Which form a floating-mode number takes.
enum text_form { FORM_ZERO, FORM_FRACTION, FORM_SMALL, FORM_SCIENTIFIC, FORM_PADDED, FORM_SPLIT };

text_form float_form(const long_number* n) {
  const std::int64_t p = long_working_precision();
  if (n->exp == 0) return is_zero_value(n) ? FORM_ZERO : FORM_FRACTION;
  if (n->exp < 0) return -static_cast<std::int64_t>(n->exp) <= p - n->len ? FORM_SMALL : FORM_SCIENTIFIC;
  if (n->exp > p) return FORM_SCIENTIFIC;
  return n->exp > n->len ? FORM_PADDED : FORM_SPLIT;
}

int exponent_text(const long_number* n, char* out, std::size_t size) {
  return std::snprintf(out, size, "e%+d", n->exp - 1);
}

}  // namespace

int long_scan_number_text(const char** text_inout, const char* end, std::int32_t* exp_out,
                          const char** last_out, const char** first_out, const char** point_out,
                          std::int32_t* sign_out, std::int32_t* zeros_out, char* next_digit_out,
                          int report) {
  const char* s = *text_inout;
  while (s < end && *s == ' ') ++s;
  std::int32_t sign = 0;
  if (s < end && *s == '-') {
    sign = -1;
    ++s;
  } else if (s < end && *s == '+') {
    ++s;
  }
  const char* first = nullptr;
  const char* last = nullptr;
  const char* point = nullptr;
  std::int64_t digits = 0;
  for (; s < end; ++s) {
    if (is_digit(*s)) {
      if (first == nullptr) first = s;
      last = s;
      ++digits;
    } else if (*s == '.') {
      if (point != nullptr) return scan_error(148, report);
      point = s;
    } else {
      break;
    }
  }
  std::int64_t exponent = 0;
  if (s < end) {
    if (*s != 'e' && *s != 'E') return scan_error(149, report);
    if (digits == 0) return scan_error(150, report);
    ++s;
    bool negative = false;
    if (s < end && (*s == '+' || *s == '-')) negative = *s++ == '-';
    for (; s < end; ++s) {
      if (!is_digit(*s)) return scan_error(149, report);
      exponent = exponent * 10 + (*s - '0');
      if (exponent >= 1000001) return scan_error(151, report);
    }
    if (negative) exponent = -exponent;
  }
  if (digits == 0) return scan_error(150, report);
  *text_inout = s;

  std::int64_t count = digits;
  std::int64_t fraction = (point != nullptr && point < last) ? last - point : 0;
  std::int64_t exp = exponent - fraction;
  while (count > 1 && (*first == '0' || *first == '.')) {  // leading zeros
    if (*first == '0') --count;
    ++first;
  }
  while (*first == '.') ++first;
  exp += count;
  while (count > 1 && (*last == '0' || *last == '.')) {  // trailing zeros
    if (*last == '0') --count;
    --last;
  }
  while (*last == '.') --last;
  if (count == 1 && *first == '0') exp = 0;
  if (exp > long_exp_limit || exp < -long_exp_limit) return scan_error(151, report);

  char next = '0';
  std::int32_t zeros = 0;
  const std::int64_t p = long_working_precision();
  if (!integer_mode) {
    if (count > p + 1) {
      last = nth_digit(first, p);
      next = digit_after(last, end);
      count = p;
    }
  } else if (exp < count) {
    if (exp > 0) {
      last = nth_digit(first, exp);
      next = digit_after(last, end);
      count = exp;
    } else {
      next = *first;
      exp = 0;
      count = 0;
    }
  } else {
    zeros = static_cast<std::int32_t>(exp - count);
  }
  *exp_out = static_cast<std::int32_t>(exp);
  *last_out = last;
  *first_out = first;
  *point_out = point;
  *sign_out = sign;
  *zeros_out = zeros;
  *next_digit_out = next;
  return static_cast<std::int32_t>(count);
}

int long_convert_text(const char* text, std::size_t length, long_number* dst, int report) {
  std::int64_t stamp = 0;
  long_timer_begin(LONG_TIMER_CONVERT, stamp);
  const char* cursor = text;
  const char* end = text + length;
  std::int32_t exp = 0, sign = 0, zeros = 0;
  const char *last = nullptr, *first = nullptr, *point = nullptr;
  char next = '0';
  int count = long_scan_number_text(&cursor, end, &exp, &last, &first, &point, &sign, &zeros, &next, report);
  if (count < 0) return count;
  const bool round_up = !integer_mode && long_round_mode == 1 && next >= '5';
  if (round_up) ++count;  // read the rounding digit itself
  if (!integer_mode && count > long_working_precision() + 2) count = long_working_precision() + 2;
  if (count == 0) {
    int r = long_reserve(dst, long_block_digits);
    if (r < 0) return r;
    long_set_zero(dst);
    long_timer_end(LONG_TIMER_CONVERT, stamp);
    return 0;
  }
  int r = long_reserve(dst, count);
  if (r < 0) return r;
  std::uint32_t* b = dst->blocks;
  const std::int32_t nb = long_blocks_for_digits(count);
  const char* s = first;
  for (std::int32_t i = 0, taken = 0; i < nb; ++i) {
    std::uint32_t v = 0;
    for (int k = 0; k < long_block_digits; ++k) {
      std::uint32_t d = 0;
      if (taken < count) {
        while (*s == '.') ++s;
        d = static_cast<std::uint32_t>(*s++ - '0');
        ++taken;
      }
      v = v * 10 + d;
    }
    b[i] = v;
  }
  dst->blks = nb;
  dst->len = count;
  dst->exp = exp;
  dst->sign = sign;
  dst->norm = 0;
  long_normalize(dst, round_up ? 1 : 0);
  long_timer_end(LONG_TIMER_CONVERT, stamp);
  return 0;
}

std::int64_t long_text_size(const long_number* n) {
  const bool negative = n->sign < 0 && !is_zero_value(n);
  std::int64_t len = n->len;
  std::int64_t exp = n->exp;
  std::int64_t body;
  if (integer_mode) {
    std::int64_t whole = exp >= 1 ? (len < exp ? len : exp) : 0;
    std::int64_t pad = exp > len ? exp - len : 0;
    if (whole == 0) return 2;  // "0" for an empty integer part, no sign
    body = whole + pad;
  } else {
    char e[16];
    switch (float_form(n)) {
      case FORM_ZERO: body = 1; break;
      case FORM_FRACTION: body = 1 + len; break;
      case FORM_SMALL: body = 1 - exp + len; break;
      case FORM_SCIENTIFIC: body = 2 + (len - 1) + exponent_text(n, e, sizeof e); break;
      case FORM_PADDED: body = exp + 1; break;
      case FORM_SPLIT: default: body = len + 1; break;
    }
  }
  return body + (negative ? 1 : 0) + 1;
}

int long_to_text(const long_number* n, char* buffer, std::int32_t* size_inout) {
  std::int64_t need = long_text_size(n);
  if (buffer == nullptr || need > *size_inout) return long_host_report_error(147);
  char* out = buffer;
  const bool negative = n->sign < 0 && !is_zero_value(n);
  const std::int64_t len = n->len;
  const std::int64_t exp = n->exp;
  if (integer_mode) {
    std::int64_t whole = exp >= 1 ? (len < exp ? len : exp) : 0;
    if (whole == 0) {
      *out++ = '0';
    } else {
      if (negative) *out++ = '-';
      out = put_digits(n, 0, whole, out);
      out = put_zeros(exp - whole, out);
    }
  } else {
    if (negative) *out++ = '-';
    switch (float_form(n)) {
      case FORM_ZERO: *out++ = '0'; break;
      case FORM_FRACTION:
        *out++ = '.';
        out = put_digits(n, 0, len, out);
        break;
      case FORM_SMALL:
        *out++ = '.';
        out = put_zeros(-exp, out);
        out = put_digits(n, 0, len, out);
        break;
      case FORM_SCIENTIFIC: {
        out = put_digits(n, 0, 1, out);
        *out++ = '.';
        out = put_digits(n, 1, len - 1, out);
        char e[16];
        int w = exponent_text(n, e, sizeof e);
        std::memcpy(out, e, static_cast<std::size_t>(w));
        out += w;
        break;
      }
      case FORM_PADDED:
        out = put_digits(n, 0, len, out);
        out = put_zeros(exp - len, out);
        *out++ = '.';
        break;
      case FORM_SPLIT:
        out = put_digits(n, 0, exp, out);
        *out++ = '.';
        out = put_digits(n, exp, len - exp, out);
        break;
    }
  }
  *out = '\0';
  *size_inout = static_cast<std::int32_t>(out - buffer);
  return 0;
}

std::int64_t long_to_text_alloc(long_number* n, char** text_out) {
  *text_out = nullptr;
  std::int64_t size = long_text_size(n);
  if (size > INT32_MAX) {
    long_clear(n);
    return long_host_report_error(159);
  }
  char* buffer = static_cast<char*>(std::malloc(static_cast<std::size_t>(size)));
  if (buffer == nullptr) {
    long_clear(n);
    return long_host_report_error(159);
  }
  std::int32_t length = static_cast<std::int32_t>(size);
  int r = long_to_text(n, buffer, &length);
  long_clear(n);
  if (r < 0) {
    std::free(buffer);
    return r;
  }
  *text_out = buffer;
  return length;
}
