// Operand conversions. A number literal with fewer than 17 digits becomes a
// double when it fits one; every other literal becomes a long number, so
// literals are exact whatever their length.
#include "interpreter/conversions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "interpreter/errors.h"
#include "interpreter/long_bridge.h"
#include "interpreter/run_state.h"
#include "interpreter/timing.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

namespace {

constexpr int long_digit_threshold = 17;
constexpr int max_significant_digits = 32;
constexpr long max_exponent_value = 1000000;

int quiet_or_report(int code, int report) { return report ? report_error(code) : -code; }

// Reports code at column, then gives the caller its error column back.
int report_at_column(int code, std::uint32_t column) {
  int saved = error_column;
  error_column = static_cast<int>(column);
  int result = report_error(code);
  error_column = saved;
  return result;
}

bool is_text_type(std::uint32_t type) { return type == ITEM_STRING || type == ITEM_NUMERIC_TEXT; }

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "0x" and sixteen hex digits: the double's bit pattern, most significant
// byte first. Any other "0x" text is error 99, reported whatever report says.
int raw_bits_to_double(const char* text) {
  const char* digits = text + 2;
  if (std::strlen(digits) != 16) return report_error(err_could_not_convert_number);
  std::uint64_t bits = 0;
  for (int i = 0; i < 16; ++i) {
    int v = hex_value(digits[i]);
    if (v < 0) return report_error(err_could_not_convert_number);
    bits = (bits << 4) | static_cast<std::uint64_t>(v);
  }
  std::memcpy(&double_accumulator, &bits, sizeof bits);
  return ITEM_DOUBLE;
}

// Significant digits and decimal exponent of a decimal text: value =
// sign 0.d1d2... x 10^exponent. Returns 1 for a number, 0 for a zero, or a
// negative code (148, 149, 150, 151; reported only when report is set).
struct decimal_parts {
  char digits[max_significant_digits + 1] = {};
  int count = 0;
  long exponent = 0;
  bool negative = false;
};

int parse_decimal(const char* p, decimal_parts& parts, int report) {
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '+' || *p == '-') parts.negative = *p++ == '-';
  bool zero_seen = false;
  bool point_seen = false;
  long before_point = 0;     // significant digits (kept or dropped) before the point
  long zeros_after_point = 0;  // zeros between the point and the first significant digit
  for (;; ++p) {
    char c = *p;
    if (c >= '0' && c <= '9') {
      if (parts.count == 0 && c == '0') {
        zero_seen = true;
        if (point_seen) ++zeros_after_point;
        continue;
      }
      if (parts.count < max_significant_digits) parts.digits[parts.count++] = c;
      if (!point_seen) ++before_point;
    } else if (c == '.') {
      if (point_seen) return quiet_or_report(148, report);
      point_seen = true;
    } else if (c == 'e' || c == 'E' || c == '\0') {
      break;
    } else {
      return quiet_or_report(149, report);
    }
  }
  long exponent_value = 0;
  if (*p == 'e' || *p == 'E') {
    ++p;
    bool exponent_negative = false;
    if (*p == '+' || *p == '-') exponent_negative = *p++ == '-';
    for (; *p; ++p) {
      if (*p < '0' || *p > '9') return quiet_or_report(149, report);
      if (exponent_value <= max_exponent_value) exponent_value = exponent_value * 10 + (*p - '0');
    }
    if (exponent_value > max_exponent_value) return quiet_or_report(151, report);
    if (exponent_negative) exponent_value = -exponent_value;
  }
  if (parts.count == 0) return zero_seen ? 0 : quiet_or_report(150, report);
  // Trailing zeros carry no value.
  while (parts.count > 1 && parts.digits[parts.count - 1] == '0') --parts.count;
  parts.digits[parts.count] = '\0';
  parts.exponent = exponent_value + before_point - zeros_after_point;
  return 1;
}

// Block k (8 digits, zero-padded) of the significant digits; -1 when absent.
long digit_block(const decimal_parts& parts, int k) {
  if (parts.count <= k * 8) return -1;
  long value = 0;
  for (int i = k * 8; i < k * 8 + 8; ++i) value = value * 10 + (i < parts.count ? parts.digits[i] - '0' : 0);
  return value;
}

bool outside_double_range(const decimal_parts& parts) {
  long e = parts.exponent;
  long b0 = digit_block(parts, 0);
  long b1 = digit_block(parts, 1);
  if (e < -307 || e > 309) return true;
  if (e == -307) {
    if (b0 < 22250738) return true;
    if (b0 == 22250738 && (b1 < 0 || b1 < 58507201)) return true;
  }
  if (e == 309) {
    if (b0 > 17976931) return true;
    if (b0 == 17976931 && b1 > 34862315) return true;
  }
  return false;
}

// True when the long double x equals the decimal in parts exactly. Every
// finite long double has a finite decimal expansion; 800 digits hold all of
// it for the midpoints of doubles, so the printed digits are exact.
bool decimal_equals(long double x, const decimal_parts& parts) {
  static char printed[1024];
  std::snprintf(printed, sizeof printed, "%.800Le", x < 0 ? -x : x);
  const char* exponent_mark = std::strchr(printed, 'e');
  if (!exponent_mark) return false;
  std::string digits;
  for (const char* p = printed; p < exponent_mark; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  long exponent = std::strtol(exponent_mark + 1, nullptr, 10) + 1;  // d.ddd -> 0.dddd
  return digits == parts.digits && exponent == parts.exponent;
}

// The decimal parser on any text; result into double_accumulator.
int decimal_text_to_double(const char* text, int range_check, int report) {
  std::int64_t stamp = 0;
  bool timed = long_timer_flags[LONG_TIMER_CONVERT] != 0;
  if (timed) timer_read(stamp);
  decimal_parts parts;
  int parsed = parse_decimal(text, parts, report);
  if (parsed < 0) return parsed;
  if (parsed == 0) {
    double_accumulator = 0.0;
    return ITEM_DOUBLE;
  }
  if (timed) print_timing("Convert to RIZOZIRA time:  ", timer_elapsed_us(stamp));
  if (range_check && outside_double_range(parts)) return -1;
  // Up to 15 significant digits form an exact integer. Divided by an exactly
  // representable power of ten the quotient is never a halfway case, and a
  // product below 2^53 is exact, so one IEEE operation gives the same double
  // as the exact conversion below. Literals in loops take this road.
  if (parts.count <= 15) {
    static constexpr double powers_of_ten[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    long scale = parts.exponent - parts.count;
    if (scale >= -22 && scale <= 22) {
      std::int64_t mantissa = 0;
      for (int i = 0; i < parts.count; ++i) mantissa = mantissa * 10 + (parts.digits[i] - '0');
      double value = static_cast<double>(mantissa);
      value = scale >= 0 ? value * powers_of_ten[scale] : value / powers_of_ten[-scale];
      if (scale < 0 || value < 9007199254740992.0) {
        double_accumulator = parts.negative ? -value : value;
        return ITEM_DOUBLE;
      }
    }
  }
  // At most 32 significant digits and an exponent bounded by the parser:
  // strtod rounds to nearest with ties to even; the language rounds ties away
  // from zero, so an exact halfway value moves to the larger neighbour.
  char buffer[max_significant_digits + 32];
  std::snprintf(buffer, sizeof buffer, "%s0.%se%ld", parts.negative ? "-" : "", parts.digits,
                parts.exponent);
  double nearest = std::strtod(buffer, nullptr);
  double_accumulator = nearest;
  if (std::isfinite(nearest) && nearest != 0.0) {
    double away = std::nextafter(nearest, nearest > 0 ? HUGE_VAL : -HUGE_VAL);
    if (std::isfinite(away)) {
      // The midpoint of two neighbouring doubles needs one bit more than a
      // double: exact in long double, and printed exactly by the C library.
      long double midpoint = (static_cast<long double>(nearest) + static_cast<long double>(away)) / 2;
      if (decimal_equals(midpoint, parts)) double_accumulator = away;
    }
  }
  return ITEM_DOUBLE;
}

// A sign and at most 15 digits, nothing else: the integer is exact in a
// double, so value is what the decimal parser would give (a zero is +0).
// Literals in loops are mostly of this kind.
bool small_integer_text(const char* text, double& value) {
  const char* p = text;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  std::int64_t mantissa = 0;
  int digits = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (++digits > 15) return false;
    mantissa = mantissa * 10 + (*p - '0');
  }
  if (*p != '\0' || digits == 0) return false;
  value = mantissa == 0 ? 0.0 : negative ? -static_cast<double>(mantissa) : static_cast<double>(mantissa);
  return true;
}

int text_to_double(const char* text, int range_check, int report) {
  double_accumulator = HUGE_VAL;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return raw_bits_to_double(text);
  // A small integer (a literal argument such as the 3 of MID$(S$, 3)) is its
  // own exact value, the one the decimal parser gives, and always in range.
  double value = 0.0;
  if (!long_old_convert && !long_timer_flags[LONG_TIMER_CONVERT] && small_integer_text(text, value)) {
    double_accumulator = value;
    return ITEM_DOUBLE;
  }
  int result;
  if (long_old_convert) {
    std::int64_t stamp = 0;
    bool timed = long_timer_flags[LONG_TIMER_CONVERT] != 0;
    if (timed) timer_read(stamp);
    int scanned = std::sscanf(text, "%lf", &value);
    if (timed) print_timing("SSCANF Time:               ", timer_elapsed_us(stamp));
    if (scanned < 1) {
      result = -99;
    } else {
      double_accumulator = value == 0.0 ? 0.0 : value;  // minus zero loses its sign
      result = ITEM_DOUBLE;
    }
  } else {
    result = decimal_text_to_double(text, range_check, report);
  }
  if (result < 0) return report ? report_error(err_could_not_convert_number) : result;
  if (std::isinf(double_accumulator)) return quiet_or_report(164, report);
  return ITEM_DOUBLE;
}

bool is_raw_bits_text(const char* text) { return text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

// The 17-digit rule's first half. 1: the text is a double (its value in
// double_accumulator); 0: it has 17 digits or more, or does not fit a double
// (or LONG ALL is on), so it becomes a long number; negative: a malformed raw
// "0x" pattern (reported). A "0x" text is a bit pattern whatever its digits
// look like, so it is recognised before any digit is counted.
int text_fits_double(const char* text) {
  if (is_raw_bits_text(text)) return text_to_double(text, 0, 0) == ITEM_DOUBLE ? 1 : -99;
  if (long_all_mode) return 0;
  double value = 0.0;
  if (!long_old_convert && !long_timer_flags[LONG_TIMER_CONVERT] && small_integer_text(text, value)) {
    double_accumulator = value;
    return 1;
  }
  if (count_number_digits(text) >= long_digit_threshold) return 0;
  return text_to_double(text, 1, 0) == ITEM_DOUBLE ? 1 : 0;
}

const char* item_text(const expr_item& item) {
  return temp_string_text(static_cast<std::uint32_t>(item.value.bits));
}

// The item becomes the long number held in value (a temporary).
int long_item(expr_item& item, long_number* value) {
  item.type = ITEM_LONG;
  item.value.long_value = value;
  return ITEM_LONG;
}

// Text into long_accumulator: decimal text through the long converter, a raw
// "0x" pattern through the double it stands for.
int text_to_long_accumulator(const char* text, int report) {
  if (is_raw_bits_text(text)) {
    int result = text_to_double(text, 0, report);
    if (result >= 0) result = long_from_double(double_accumulator);  // NaN and infinities fail
    return result < 0 && report ? report_error(err_could_not_convert_number) : result;
  }
  // The converter may use string_accumulator: it gets a copy of the text.
  std::string copy(text, strnlen(text, max_string_length));
  int result = long_convert_text(copy.c_str(), copy.size(), long_accumulator, report);
  return result < 0 ? result : int{ITEM_LONG};
}

// Text into a new temporary long; the item takes it.
int item_text_to_long(expr_item& item, int report) {
  const char* text = item_text(item);
  long_number* target = long_temp_alloc();
  if (!target) return -1;
  int result;
  if (is_raw_bits_text(text)) {
    result = text_to_long_accumulator(text, report);
    if (result >= 0) result = long_move(long_accumulator, target);
  } else {
    result = long_convert_text(text, std::strlen(text), target, report);
  }
  if (result < 0) return result;
  return long_item(item, target);
}

}  // namespace

int count_number_digits(std::string_view text) {
  int digits = 0;
  for (char c : text) {
    if (c == 'e' || c == 'E') break;
    if (c >= '0' && c <= '9') ++digits;
  }
  return digits;
}

int string_to_double(int range_check, int report) {
  string_accumulator[string_accumulator_size - 1] = '\0';
  return text_to_double(string_accumulator, range_check, report);
}

int decimal_string_to_double(int range_check, int report) {
  string_accumulator[string_accumulator_size - 1] = '\0';
  return decimal_text_to_double(string_accumulator, range_check, report);
}

int result_to_double(int type, int report) {
  if (no_execute) {
    double_accumulator = 0.0;
    return ITEM_DOUBLE;
  }
  switch (type) {
    case ITEM_DOUBLE:
      return ITEM_DOUBLE;
    case ITEM_LONG:
      return long_to_double(long_accumulator, report);
    case ITEM_STRING:
    case ITEM_NUMERIC_TEXT:
      return string_to_double(0, report);
    default:
      return report_error(err_invalid_type_expecting_number);
  }
}

int result_to_long(int type, int report) {
  if (no_execute) {
    long_set_zero(long_accumulator);
    return ITEM_LONG;
  }
  switch (type) {
    case ITEM_DOUBLE:
      return long_from_double(double_accumulator);
    case ITEM_LONG:
      return ITEM_LONG;
    case ITEM_STRING:
    case ITEM_NUMERIC_TEXT: {
      std::string text(string_accumulator, strnlen(string_accumulator, max_string_length));
      return text_to_long_accumulator(text.c_str(), report);
    }
    default:
      return report_error(err_invalid_type_expecting_number);
  }
}

int result_to_number(int type) {
  if (no_execute) {
    double_accumulator = 0.0;
    return ITEM_DOUBLE;
  }
  switch (type) {
    case ITEM_DOUBLE:
      return long_all_mode ? result_to_long(ITEM_DOUBLE, 1) : int{ITEM_DOUBLE};
    case ITEM_LONG:
      return ITEM_LONG;
    case ITEM_STRING:
    case ITEM_NUMERIC_TEXT: {
      std::string text(string_accumulator, strnlen(string_accumulator, max_string_length));
      int fits = text_fits_double(text.c_str());
      if (fits < 0) return fits;
      if (fits > 0) return long_all_mode ? long_from_double(double_accumulator) : int{ITEM_DOUBLE};
      return text_to_long_accumulator(text.c_str(), 1);
    }
    default:
      return report_error(err_invalid_type_expecting_number);
  }
}

int item_to_number(expr_item& item) {
  if (no_execute) {
    item.type = ITEM_DOUBLE;
    item.value.number = 0.0;
    return ITEM_DOUBLE;
  }
  switch (item.type) {
    case ITEM_DOUBLE:
      return long_all_mode ? item_to_long(item) : int{ITEM_DOUBLE};
    case ITEM_LONG:
      return ITEM_LONG;
    case ITEM_STRING:
    case ITEM_NUMERIC_TEXT: {
      int fits = text_fits_double(item_text(item));
      if (fits < 0) return fits;
      if (fits > 0) {
        item.type = ITEM_DOUBLE;
        item.value.number = double_accumulator;
        return long_all_mode ? item_to_long(item) : int{ITEM_DOUBLE};
      }
      int result = item_text_to_long(item, 0);
      if (result == -1) return result;  // no temporary left, already reported
      return result < 0 ? report_at_column(99, item.column) : result;
    }
    default:
      return report_at_column(144, item.column);
  }
}

int item_to_long(expr_item& item) {
  if (no_execute) {
    long_number* zero = long_temp_alloc();
    if (!zero) return -1;
    long_set_zero(zero);
    return long_item(item, zero);
  }
  switch (item.type) {
    case ITEM_LONG:
      return ITEM_LONG;
    case ITEM_DOUBLE: {
      int result = long_from_double(item.value.number);
      if (result < 0) return result;
      long_number* target = long_temp_alloc();
      if (!target) return -1;
      result = long_move(long_accumulator, target);
      if (result < 0) return result;
      return long_item(item, target);
    }
    case ITEM_STRING:
    case ITEM_NUMERIC_TEXT:
      return item_text_to_long(item, 1);
    default:
      return report_at_column(144, item.column);
  }
}

int item_to_double(expr_item& item) {
  if (no_execute) {
    item.type = ITEM_DOUBLE;
    item.value.number = 0.0;
    return ITEM_DOUBLE;
  }
  int result;
  switch (item.type) {
    case ITEM_DOUBLE:
      return ITEM_DOUBLE;
    case ITEM_LONG:
      result = long_to_double(item.value.long_value, 1);
      break;
    case ITEM_STRING:
    case ITEM_NUMERIC_TEXT:
      result = text_to_double(item_text(item), 0, 1);
      break;
    default:
      return report_at_column(144, item.column);
  }
  if (result < 0) return result;
  item.type = ITEM_DOUBLE;
  item.value.number = double_accumulator;
  return ITEM_DOUBLE;
}

int unify_numeric_pair(expr_item& left, expr_item& right) {
  if (no_execute) return ITEM_DOUBLE;
  // The common case, two doubles outside LONG ALL, as the general road gives it.
  if (left.type == ITEM_DOUBLE && right.type == ITEM_DOUBLE && !long_all_mode) return ITEM_DOUBLE;
  if (long_all_mode) {
    int result = item_to_long(left);
    if (result < 0) return result;
    result = item_to_long(right);
    return result < 0 ? result : int{ITEM_LONG};
  }
  // One side already numeric: the other follows it, and a long on either
  // side makes the pair long.
  auto follow = [](expr_item& numeric, expr_item& other) -> int {
    int result = item_to_number(other);
    if (result < 0) return result;
    if (result == ITEM_LONG && numeric.type == ITEM_DOUBLE) {
      if (item_to_long(numeric) < 0) return report_error(err_unable_to_convert_to_numeric);
      return ITEM_LONG;
    }
    if (numeric.type == ITEM_LONG && result == ITEM_DOUBLE) {
      if (item_to_long(other) < 0) return report_error(err_unable_to_convert_to_numeric);
    }
    return numeric.type == ITEM_LONG ? int{ITEM_LONG} : result;
  };

  if (left.type == ITEM_DOUBLE) return follow(left, right);
  if (left.type == ITEM_LONG) {
    if (item_to_long(right) < 0) return report_error(err_unable_to_convert_to_numeric);
    return ITEM_LONG;
  }
  if (!is_text_type(left.type)) return report_at_column(144, left.column);
  if (right.type == ITEM_DOUBLE) {
    int result = item_to_number(left);
    if (result < 0) return report_error(err_invalid_type_expecting_number);
    if (result == ITEM_LONG) {
      if (item_to_long(right) < 0) return report_error(err_unable_to_convert_to_numeric);
      return ITEM_LONG;
    }
    return ITEM_DOUBLE;
  }
  if (right.type == ITEM_LONG) {
    if (item_to_long(left) < 0) return report_error(err_unable_to_convert_to_numeric);
    return ITEM_LONG;
  }
  if (!is_text_type(right.type)) return report_at_column(144, right.column);

  // Two texts.
  int left_fits = text_fits_double(item_text(left));
  if (left_fits < 0) return report_error(err_unable_to_convert_to_numeric);
  if (left_fits > 0) {
    int result = item_to_number(right);
    if (result < 0) return report_error(err_unable_to_convert_to_numeric);
    if (result == ITEM_DOUBLE) {
      if (item_to_number(left) < 0) return report_error(err_unable_to_convert_to_numeric);
      return ITEM_DOUBLE;
    }
    if (item_to_long(left) < 0) return report_error(err_unable_to_convert_to_numeric);
    return ITEM_LONG;
  }
  if (item_to_long(left) < 0) return report_error(err_unable_to_convert_to_numeric);
  if (item_to_long(right) < 0) return report_error(err_unable_to_convert_to_numeric);
  return ITEM_LONG;
}
