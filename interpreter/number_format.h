// Number formatting: doubles under printf, engineering and picture formats,
// and long numbers under the W[.D][C] format of PRINT USING and STR$.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

struct long_number;

constexpr int format_result_max = 255;  // longest text a format may produce

// Formats value under format and leaves the text in string_accumulator.
// The format picks the form by its first characters: "eng" (any case)
// engineering notation, "%" one printf conversion for a double, anything else
// a picture (#, point, commas, cents "cc", leading "+").
// Returns 3, or -73 (reported) for a printf format that is not exactly one
// floating conversion, or for a result longer than 255 characters.
int format_number(std::string_view format, double value);

// Formats a long number under "W", "W.D", "WC" or "W.DC" (W 12..255 total
// width, D 0..W-3 decimals, C thousands commas) into string_accumulator.
// The number is not changed. Returns 0, or -73 (reported) for an invalid
// format or a result of 256 characters or more; errors of the long-number
// routines pass up.
int format_long_number(const long_number* number, std::string_view format);

// The pieces of format_number, exposed for the long-number writer and tests.
// Each returns false when the format or the result is not acceptable.
bool format_printf_double(std::string_view format, double value, std::string& out);
std::string format_engineering(std::string_view unit, double value);
std::string format_picture(std::string_view picture, double value);

// A parsed long-number format.
struct long_format {
  int width = 0;      // W
  int decimals = 0;   // D
  bool has_point = false;
  bool commas = false;
};
// Parses W, W.D, WC or W.DC; false for anything else or values out of range.
bool parse_long_format(std::string_view format, long_format& parsed);

// Lays out a long number given as its significant digits (d1 d2 ..., value
// 0.d1d2... x 10^exponent, already rounded to the format's decimals) under a
// parsed format. Returns false when the integer digits do not fit the field;
// the caller then uses format_long_exponent.
bool format_long_layout(const long_format& fmt, bool negative, std::string_view digits,
                        std::int64_t exponent, std::string& out);
// The exponential form: one digit, ".", the rest of digits padded with zeros
// to significant-1 decimals, "e%+d" of exponent-1, padded with blanks to W.
std::string format_long_exponent(const long_format& fmt, bool negative, std::string_view digits,
                                 std::int64_t exponent, int significant);
