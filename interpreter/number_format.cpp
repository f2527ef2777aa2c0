// Number formatting: format_number (printf, engineering and picture forms)
// and format_long_number (the W.D[C] form for long numbers).
#include "interpreter/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "interpreter/errors.h"
#include "interpreter/run_state.h"
#include "rizozira/long_number.h"

namespace {

constexpr int invalid_format_code = 73;  // "Invalid Format string for PRINT USING."
constexpr int printf_field_max = 255;    // largest width or precision accepted

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The format of every snprintf here is built by this file from checked
// pieces, never taken from the program as it stands.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
// snprintf of one double into a std::string of exactly the needed size. The
// format is always built by this file (never the program's own text).
std::string print_double(const char* format, double value) {
  char small[128];
  int needed = std::snprintf(small, sizeof small, format, value);
  if (needed < 0) return std::string();
  if (static_cast<std::size_t>(needed) < sizeof small) return std::string(small, static_cast<std::size_t>(needed));
  std::string big(static_cast<std::size_t>(needed) + 1, '\0');
  std::snprintf(big.data(), big.size(), format, value);
  big.resize(static_cast<std::size_t>(needed));
  return big;
}
#pragma GCC diagnostic pop

// Reads up to three decimal digits as a field value; false when larger than
// printf_field_max.
bool read_field_number(std::string_view text, std::size_t& i, int& value) {
  value = 0;
  while (i < text.size() && is_digit(text[i])) {
    value = value * 10 + (text[i] - '0');
    if (value > printf_field_max) return false;
    ++i;
  }
  return true;
}

// Literal text of a printf format: "%%" stands for "%", a lone "%" is refused.
bool append_literal(std::string_view text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%') {
      if (i + 1 >= text.size() || text[i + 1] != '%') return false;
      ++i;
    }
    out += text[i];
  }
  return true;
}

void set_accumulator(std::string_view text) {
  std::size_t n = std::min(text.size(), string_accumulator_size - 1);
  std::memcpy(string_accumulator, text.data(), n);
  string_accumulator[n] = '\0';
  string_accumulator_length = static_cast<std::int32_t>(n);
}

bool starts_with_eng(std::string_view format) {
  if (format.size() < 3) return false;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  return lower(format[0]) == 'e' && lower(format[1]) == 'n' && lower(format[2]) == 'g';
}

}  // namespace

// printf form. The program's format is never handed to the C library: it is
// parsed here, and only a rebuilt "%[flags][width][.precision]<conv>" with one
// double argument reaches snprintf. Literal text may stand before and after
// the conversion ("%%" for a percent sign). Anything else is refused.
bool format_printf_double(std::string_view format, double value, std::string& out) {
  out.clear();
  std::size_t i = 0;
  // Literal text up to the conversion.
  std::string prefix;
  while (i < format.size()) {
    if (format[i] == '%') {
      if (i + 1 < format.size() && format[i + 1] == '%') {
        prefix += '%';
        i += 2;
        continue;
      }
      break;
    }
    prefix += format[i++];
  }
  if (i >= format.size()) return false;  // no conversion at all
  ++i;                                   // the "%"
  std::string spec = "%";
  while (i < format.size() && std::strchr("-+ #0", format[i]) != nullptr) spec += format[i++];
  int width = 0;
  int precision = -1;
  if (!read_field_number(format, i, width)) return false;
  if (width > 0) spec += std::to_string(width);
  if (i < format.size() && format[i] == '.') {
    ++i;
    if (!read_field_number(format, i, precision)) return false;
    spec += '.';
    spec += std::to_string(precision);
  }
  if (i < format.size() && format[i] == 'l') ++i;  // "%lf" names a double as well
  if (i >= format.size() || std::strchr("eEfFgGaA", format[i]) == nullptr) return false;
  spec += format[i++];
  std::string result = prefix;
  result += print_double(spec.c_str(), value);
  if (!append_literal(format.substr(i), result)) return false;
  if (result.size() > static_cast<std::size_t>(format_result_max)) return false;
  out = std::move(result);
  return true;
}

// Engineering form: three significant digits, the decimal point in the fifth
// column, an SI prefix letter and the unit.
std::string format_engineering(std::string_view unit, double value) {
  std::string unit_text(unit.substr(0, 10));
  if (unit_text.size() < 3) unit_text.resize(3, ' ');

  std::string text = print_double("% 4.2e", value);
  // Out of the prefix range (and infinities and NaN, which have no exponent):
  // the exponential text and the unit.
  if (!std::isfinite(value) || text.size() < 7) return text + unit_text;
  int exponent = std::atoi(text.c_str() + 6);
  if (exponent < -12 || exponent >= 15) return text + unit_text;

  static const char prefixes[] = {'p', 'n', '\xB5', 'm', ' ', 'K', 'M', 'G', 'T'};
  int extra = (exponent + 15) % 3;  // digits before the point beyond the first
  char prefix = prefixes[(exponent + 12) / 3];
  char sign = text[0];
  const char digits[3] = {text[1], text[3], text[4]};

  std::string out(static_cast<std::size_t>(2 - extra), ' ');
  out += sign;
  out.append(digits, static_cast<std::size_t>(1 + extra));
  out += '.';
  out.append(digits + 1 + extra, static_cast<std::size_t>(2 - extra));
  out += ' ';
  out.append(static_cast<std::size_t>(extra), ' ');
  out += prefix;
  out += prefix == ' ' ? ' ' : '-';
  out += unit_text;
  return out;
}

// Picture form: "#" takes a digit, sign or blank of the number; other
// characters (commas, currency signs) stay between digits and turn into blanks
// left of the number; "cc" after the point makes a cents picture.
std::string format_picture(std::string_view picture_text, double value) {
  std::string picture(picture_text);
  bool explicit_sign = false;
  if (!picture.empty() && picture[0] == '+') {
    picture[0] = '#';
    explicit_sign = true;
  }
  const int n = static_cast<int>(picture.size());
  const std::size_t point = picture.find('.');
  const bool has_point = point != std::string::npos;
  const int k = has_point ? n - static_cast<int>(point) - 1 : 0;
  const bool cents = has_point && picture.compare(point + 1, std::string::npos, "cc") == 0;

  // The number does not fit: exponential form instead.
  auto exponential_form = [&] {
    int w = std::max(n, 7);
    int q = std::max(n - 8, 0);
    std::string fallback = explicit_sign ? "%+" : "%";
    fallback += std::to_string(w) + "." + std::to_string(q) + "e";
    return print_double(fallback.c_str(), cents ? value / 100.0 : value);
  };
  // An infinity or NaN has no digits for the picture to take (its letters
  // would otherwise be shuffled into the cents and separators).
  if (!std::isfinite(value)) return exponential_form();

  std::string spec = explicit_sign ? "%+" : "%";
  // A picture ending in its point ("###.") shows the point with no decimals:
  // "#" makes printf keep it, where ".0f" alone would drop it and shift the
  // digits into the point's place.
  if (has_point && !cents && k == 0) spec += '#';
  spec += std::to_string(n);
  spec += (has_point && !cents) ? "." + std::to_string(k) + "f" : std::string(".0f");
  std::string number = print_double(spec.c_str(), value);

  int j;  // the number's character left of its decimals
  if (has_point && !cents) {
    // The picture's part from the point on becomes the printed point and decimals.
    const std::size_t tail = static_cast<std::size_t>(k) + 1;
    if (number.size() >= tail) picture.replace(point, tail, number, number.size() - tail, tail);
    j = static_cast<int>(number.size()) - k - 2;
  } else if (cents) {
    // Two cent digits and one digit before them: a blank or sign among the
    // last three characters moves one place left and leaves a "0".
    while (number.size() < 3) number.insert(number.begin(), ' ');
    for (std::size_t from_end = 1; from_end <= 3; ++from_end) {
      std::size_t i = number.size() - from_end;
      if (is_digit(number[i])) continue;
      if (i == 0) {
        number.insert(number.begin(), ' ');
        i = 1;
      }
      number[i - 1] = number[i];
      number[i] = '0';
    }
    picture[point + 1] = number[number.size() - 2];
    picture[point + 2] = number[number.size() - 1];
    j = static_cast<int>(number.size()) - 3;
  } else {
    j = static_cast<int>(number.size()) - 1;
  }

  for (int i = (has_point ? static_cast<int>(point) : n) - 1; i >= 0; --i) {
    if (j < 0) {
      picture[static_cast<std::size_t>(i)] = ' ';
      continue;
    }
    char c = number[static_cast<std::size_t>(j)];
    if (picture[static_cast<std::size_t>(i)] == '#') {
      if (is_digit(c) || c == '-' || c == ' ' || c == '+') {
        picture[static_cast<std::size_t>(i)] = c;
        --j;
      }
    } else if (!is_digit(c)) {
      picture[static_cast<std::size_t>(i)] = c;
      --j;
    }
  }

  bool overflow = false;
  for (int i = 0; i <= j; ++i)
    if (number[static_cast<std::size_t>(i)] != ' ') overflow = true;
  if (!overflow) return picture;
  return exponential_form();
}

int format_number(std::string_view format, double value) {
  std::string text;
  if (starts_with_eng(format)) {
    text = format_engineering(format.substr(3), value);
  } else if (!format.empty() && format[0] == '%') {
    if (!format_printf_double(format, value, text)) {
      set_accumulator("");
      return report_error(invalid_format_code);
    }
  } else {
    if (format.size() > static_cast<std::size_t>(format_result_max)) {
      set_accumulator("");
      return report_error(invalid_format_code);
    }
    text = format_picture(format, value);
  }
  if (text.size() > static_cast<std::size_t>(format_result_max)) {
    set_accumulator("");
    return report_error(invalid_format_code);
  }
  set_accumulator(text);
  return 3;
}

// ---- long numbers -------------------------------------------------------

bool parse_long_format(std::string_view format, long_format& parsed) {
  parsed = long_format{};
  std::size_t i = 0;
  int width = 0;
  while (i < format.size() && is_digit(format[i])) {
    width = width * 10 + (format[i] - '0');
    if (width > 255) return false;
    ++i;
  }
  if (i == 0) return false;
  int decimals = 0;
  if (i < format.size() && format[i] == '.') {
    parsed.has_point = true;
    std::size_t start = ++i;
    while (i < format.size() && is_digit(format[i])) {
      decimals = decimals * 10 + (format[i] - '0');
      if (decimals > 255) return false;
      ++i;
    }
    if (i == start) return false;
  }
  if (i < format.size() && (format[i] == 'C' || format[i] == 'c')) {
    parsed.commas = true;
    ++i;
  }
  if (i != format.size()) return false;
  if (width < 12 || width > 255) return false;
  if (decimals > width - 3) return false;
  parsed.width = width;
  parsed.decimals = decimals;
  return true;
}

bool format_long_layout(const long_format& fmt, bool negative, std::string_view digits,
                        std::int64_t exponent, std::string& out) {
  const int integer_field = fmt.has_point ? fmt.width - fmt.decimals - 2 : fmt.width - 1;
  const std::int64_t length = static_cast<std::int64_t>(digits.size());
  const bool zero = digits.empty() || digits.find_first_not_of('0') == std::string_view::npos;

  std::string integer_digits;
  std::string decimals;
  if (zero) {
    integer_digits = "0";
    negative = false;
  } else if (exponent < 1) {
    integer_digits = "0";
    // -exponent zeros, then the digits, but never more than the decimals shown.
    std::int64_t zeros = std::min<std::int64_t>(-exponent, fmt.decimals);
    decimals.assign(static_cast<std::size_t>(zeros), '0');
    decimals.append(digits.substr(0, static_cast<std::size_t>(fmt.decimals) - decimals.size()));
  } else if (exponent > length) {
    if (exponent > integer_field) return false;  // cannot fit, whatever the commas
    integer_digits.assign(digits);
    integer_digits.append(static_cast<std::size_t>(exponent - length), '0');
  } else {
    if (exponent > integer_field) return false;
    integer_digits.assign(digits.substr(0, static_cast<std::size_t>(exponent)));
    decimals.assign(digits.substr(static_cast<std::size_t>(exponent)));
  }
  if (decimals.size() > static_cast<std::size_t>(fmt.decimals)) decimals.resize(static_cast<std::size_t>(fmt.decimals));
  decimals.resize(static_cast<std::size_t>(fmt.decimals), '0');

  if (fmt.commas) {
    std::string grouped;
    int count = 0;
    for (auto it = integer_digits.rbegin(); it != integer_digits.rend(); ++it) {
      if (count > 0 && count % 3 == 0) grouped.insert(grouped.begin(), ',');
      grouped.insert(grouped.begin(), *it);
      ++count;
    }
    integer_digits = std::move(grouped);
  }
  if (static_cast<int>(integer_digits.size()) > integer_field) return false;

  out.assign(static_cast<std::size_t>(integer_field) - integer_digits.size(), ' ');
  out += negative ? '-' : ' ';
  out += integer_digits;
  if (fmt.has_point) {
    out += '.';
    out += decimals;
  }
  return true;
}

std::string format_long_exponent(const long_format& fmt, bool negative, std::string_view digits,
                                 std::int64_t exponent, int significant) {
  std::string out(1, negative ? '-' : ' ');
  out += digits.empty() ? '0' : digits[0];
  out += '.';
  std::string rest(digits.size() > 1 ? digits.substr(1) : std::string_view());
  if (significant > 1) rest.resize(static_cast<std::size_t>(significant - 1), '0');
  out += rest;
  char exponent_text[32];
  std::snprintf(exponent_text, sizeof exponent_text, "e%+lld", static_cast<long long>(exponent - 1));
  out += exponent_text;
  if (out.size() < static_cast<std::size_t>(fmt.width)) out.resize(static_cast<std::size_t>(fmt.width), ' ');
  return out;
}

namespace {

// The significant digits of a long number as text (len digits from block 0).
std::string long_digit_text(const long_number* n) {
  std::string digits;
  if (n->len <= 0) return digits;
  digits.reserve(static_cast<std::size_t>(n->len));
  for (std::int32_t i = 0; i < n->len; ++i) {
    std::int32_t block = i / long_block_digits;
    if (block >= n->blks) break;
    std::uint32_t value = n->blocks[block];
    std::uint32_t divisor = long_pow10[long_block_digits - 1 - i % long_block_digits];
    digits += static_cast<char>('0' + (value / divisor) % 10);
  }
  return digits;
}

// t rounded to `decimals` places after the point: the digits and exponent of
// the result. A value whose first digit lies just right of the last place
// shown rounds up to one unit of that place (0.006 under two decimals gives
// 0.01) instead of vanishing; anything smaller is zero.
void round_to_decimals(long_number* t, int decimals, std::string& digits, std::int64_t& exponent) {
  std::int64_t places = static_cast<std::int64_t>(decimals) + t->exp;
  exponent = t->exp;
  if (long_is_zero(t)) {
    digits.clear();
    return;
  }
  if (places < 1) {
    digits = long_digit_text(t);
    bool round_up = places == 0 && long_round_mode == 1 && !integer_mode && !digits.empty() && digits[0] >= '5';
    if (round_up) {
      digits = "1";
      exponent = t->exp + 1;
    } else {
      digits.clear();
    }
    return;
  }
  if (t->len > places) {
    std::int32_t saved = long_precision;
    long_precision = static_cast<std::int32_t>(places);
    t->norm = 0;
    long_normalize(t, 1);
    long_precision = saved;
  }
  digits = long_digit_text(t);
  exponent = t->exp;
}

}  // namespace

int format_long_number(const long_number* number, std::string_view format) {
  long_format fmt;
  set_accumulator("");
  if (!parse_long_format(format, fmt)) return report_error(invalid_format_code);
  const int integer_field = fmt.has_point ? fmt.width - fmt.decimals - 2 : fmt.width - 1;
  const bool negative = number != nullptr && number->sign != 0 && !long_is_zero(number);

  const std::int32_t level = long_temp_used;
  long_number* t = long_temp_alloc();
  if (t == nullptr) return -172;  // reported by the pool
  int result = long_round_copy(number, t, integer_field + fmt.decimals + 1);
  if (result < 0) {
    long_temp_release_to(level);
    return result;
  }
  std::string digits;
  std::int64_t exponent = 0;
  round_to_decimals(t, fmt.decimals, digits, exponent);

  std::string text;
  if (!format_long_layout(fmt, negative, digits, exponent, text)) {
    const int significant = integer_field + fmt.decimals - 9;
    result = long_round_copy(number, t, significant);
    if (result < 0) {
      long_temp_release_to(level);
      return result;
    }
    text = format_long_exponent(fmt, negative, long_digit_text(t), t->exp, significant);
  }
  long_temp_release_to(level);
  if (text.size() > static_cast<std::size_t>(format_result_max)) return report_error(invalid_format_code);
  set_accumulator(text);
  return 0;
}
