// Conversion between long numbers and decimal text: scanning with a rounding
// digit, positional and scientific output, and storing long text results.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "interpreter/assignment.h"
#include "interpreter/errors.h"
#include "interpreter/run_state.h"
#include "interpreter/timing.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int scan_error(int code, int report) { return report ? report_error(code) : -code; }

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
  std::int64_t b = k / 8;
  if (b >= n->blks) return '0';
  return static_cast<char>('0' + n->blocks[b] / long_pow10[7 - k % 8] % 10);
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
    int r = long_reserve(dst, 8);
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
    for (int k = 0; k < 8; ++k) {
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

int long_operand_text(expr_item* item, char** alloc_out, const char** text_out) {
  *alloc_out = nullptr;
  *text_out = "";
  switch (item->type) {
    case ITEM_NUMERIC_TEXT:
      item->type = ITEM_STRING;
      [[fallthrough]];
    case ITEM_STRING:
      *text_out = temp_string_text(static_cast<std::uint32_t>(item->value.bits));
      return 0;
    case ITEM_STRING_ARRAY: {
      const array_entry* array = item->array;
      if (array == nullptr || array->dimension_count != 1) {
        error_column = static_cast<int>(item->column);
        return report_error(176);
      }
      std::uint32_t count = array->dimension_sizes[0];
      while (count > 1 && string_space_text(array->data[count - 1].string_offset)[0] == '\0') --count;
      if (count == 0) count = 1;
      std::size_t bytes = static_cast<std::size_t>(max_string_length) * count + 1;
      char* joined = static_cast<char*>(std::malloc(bytes));
      if (joined == nullptr) return report_error(159);
      std::size_t used = 0;
      for (std::uint32_t i = 0; i < count && i < array->dimension_sizes[0]; ++i) {
        const char* piece = string_space_text(array->data[i].string_offset);
        std::size_t n = std::strlen(piece);
        if (n > max_string_length) n = max_string_length;  // an element holds at most 255
        std::memcpy(joined + used, piece, n);
        used += n;
      }
      joined[used] = '\0';
      *alloc_out = joined;
      *text_out = joined;
      return 0;
    }
    default:
      error_column = static_cast<int>(item->column);
      return report_error(160);
  }
}

int long_convert_in(expr_item* item, long_number* dst, int report) {
  error_column = static_cast<int>(item->column);
  if (item->type == ITEM_LONG) return long_move(item->value.long_value, dst);
  if (item->type == ITEM_DOUBLE) {
    int r = long_from_double(item->value.number);
    if (r < 0) return r;
    return dst == long_accumulator ? 14 : long_move(long_accumulator, dst);
  }
  char* joined = nullptr;
  const char* text = nullptr;
  int r = long_operand_text(item, &joined, &text);
  if (r < 0) return r;
  r = long_convert_text(text, std::strlen(text), dst, report);
  std::free(joined);
  return r < 0 ? r : 0;
}

int long_from_work_string(int report) {
  std::int32_t length = string_accumulator_length;
  if (length < 0) length = 0;
  if (static_cast<std::size_t>(length) >= string_accumulator_size) length = string_accumulator_size - 1;
  int r = long_convert_text(string_accumulator, static_cast<std::size_t>(length), long_accumulator, report);
  return r < 0 ? r : 14;
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
  if (buffer == nullptr || need > *size_inout) return report_error(147);
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
    return report_error(159);
  }
  char* buffer = static_cast<char*>(std::malloc(static_cast<std::size_t>(size)));
  if (buffer == nullptr) {
    long_clear(n);
    return report_error(159);
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

int long_store_text(expr_item* destination, const char* text, int length, int mode) {
  if (no_execute) return 0;
  if (length < 0) length = 0;
  switch (destination->type) {
    case ITEM_STRING: {
      if (length > static_cast<int>(max_string_length)) return report_error(157);
      if (current_value_slot == nullptr) {
        error_column = static_cast<int>(destination->column);
        return report_error(155);
      }
      std::memcpy(string_accumulator, text, static_cast<std::size_t>(length));
      string_accumulator[length] = '\0';
      string_accumulator_length = length;
      return assign_string_variable(current_value_slot, mode);
    }
    case ITEM_FIELD: {
      if (length > static_cast<int>(max_string_length)) return report_error(157);
      std::memcpy(string_accumulator, text, static_cast<std::size_t>(length));
      string_accumulator[length] = '\0';
      string_accumulator_length = length;
      int r = assign_field_variable(mode);  // the FIELD target the caller's scan left
      return r < 0 ? r : 3;
    }
    case ITEM_STRING_ARRAY: {
      const array_entry* array = destination->array;
      if (array == nullptr || array->dimension_count != 1) {
        error_column = static_cast<int>(destination->column);
        return report_error(176);
      }
      const std::int64_t elements = array->dimension_sizes[0];
      if (static_cast<std::int64_t>(max_string_length) * elements < static_cast<std::int64_t>(length) + 1) {
        return report_error(158);
      }
      if (length > static_cast<int>(max_string_length) && mode != 0) return report_error(157);
      int first_error = 0;
      std::int64_t offset = 0;
      for (std::int64_t i = 0; i < elements; ++i) {
        std::int64_t piece = length - offset;
        if (piece > static_cast<std::int64_t>(max_string_length)) piece = max_string_length;
        if (piece < 0) piece = 0;
        std::memcpy(string_accumulator, text + offset, static_cast<std::size_t>(piece));
        string_accumulator[piece] = '\0';
        string_accumulator_length = static_cast<std::int32_t>(piece);
        bool last_piece = piece > 0 && offset + piece >= length;
        int r = assign_string_variable(&array->data[i], last_piece ? mode : 0);
        if (r < 0 && first_error == 0) first_error = r;
        offset += piece;
      }
      return first_error;
    }
    default:
      error_column = static_cast<int>(destination->column);
      return report_error(155);
  }
}
