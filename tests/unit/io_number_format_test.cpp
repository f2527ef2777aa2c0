// Number formatting: printf, engineering and picture forms of format_number,
// and the long-number format parser and layout.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "interpreter/errors.h"
#include "interpreter/number_format.h"
#include "interpreter/run_state.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"
#include "rizozira/long_number.h"
#include "core_test_support.h"

namespace {

class IoNumberFormatTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  void SetUp() override {
    install_frontend_port(&port);
    line_start = nullptr;
    debug_mode = 0;
  }
  void TearDown() override { install_frontend_port(nullptr); }

  std::string formatted(const std::string& format, double value) {
    EXPECT_EQ(format_number(format, value), 3) << format;
    return std::string(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  }
};

struct format_case {
  const char* format;
  double value;
  const char* expected;
};

TEST_F(IoNumberFormatTest, IoFormatPrintfForm) {
  const format_case cases[] = {
      {"%13.6g", 5, "            5"},
      {"%23.18g", 0.1, "   0.100000000000000006"},
      {"%22.16g", 1.0 / 3, "    0.3333333333333333"},
      {"%-8.2f|", 3.14159, "3.14    |"},
      {"%+.1e", 12345, "+1.2e+04"},
      {"%lf", 2.5, "2.500000"},
      {"%5.1f%% done", 12.34, " 12.3% done"},
      {"%%%.0f", 7, "%7"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatted(c.format, c.value), c.expected) << c.format;
}

// A program's format never reaches the C library unchecked: string, pointer,
// integer and store conversions, several conversions, "*" and oversized
// fields are refused with error 73.
TEST_F(IoNumberFormatTest, IoFormatPrintfRefusesUnsafeFormats) {
  const char* refused[] = {"%s", "%n", "%d", "%p", "%x", "%5.2f %5.2f", "%*f", "%.*f",
                           "%999999f", "%.300f", "%", "%5.2", "%Lf", "%f %"};
  for (const char* format : refused) {
    port.output.clear();
    EXPECT_EQ(format_number(format, 1.5), -73) << format;
    EXPECT_EQ(string_accumulator_length, 0) << format;
    EXPECT_NE(port.output.find("ERROR - Invalid Format string for PRINT USING."), std::string::npos)
        << format;
  }
}

// The result is bounded at 255 characters even when the accepted fields
// would print more.
TEST_F(IoNumberFormatTest, IoFormatPrintfResultBounded) {
  EXPECT_EQ(formatted("%255.1f", 1), std::string(252, ' ') + "1.0");
  EXPECT_EQ(format_number("%.200f", 1e100), -73);
  EXPECT_EQ(format_number("%f", 1e300), -73);
}

TEST_F(IoNumberFormatTest, IoFormatEngineeringForm) {
  const format_case cases[] = {
      {"engV", 1234, "   1.23 K-V  "},
      {"engV", 0.5, " 500.   m-V  "},
      {"eng", 0, "   0.00      "},
      {"ENGA", -0.0123, " -12.3  m-A  "},
      {"engF", 4.7e-12, "   4.70 p-F  "},
      {"engHz", 999.9e12, " 1.00e+15Hz "},
      {"engOhm", 1e-13, " 1.00e-13Ohm"},
      {"engW", 2.2e6, "   2.20 M-W  "},
      {"engs", 1.5e-6, "   1.50 \xB5-s  "},
      {"engABCDEFGHIJKLMN", 1, "   1.00   ABCDEFGHIJ"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatted(c.format, c.value), c.expected) << c.format << " " << c.value;
}

TEST_F(IoNumberFormatTest, IoFormatEngineeringNonFinite) {
  EXPECT_EQ(formatted("engV", std::numeric_limits<double>::infinity()), " infV  ");
  EXPECT_EQ(formatted("engV", std::nan("")).find("nan"), 1u);
}

TEST_F(IoNumberFormatTest, IoFormatPictureForm) {
  const format_case cases[] = {
      {"###.##", 3.14159, "  3.14"},
      {"#,###", 1234, "1,234"},
      {"#,###", 5, "    5"},
      {"#,###", 12345, "  1e+04"},
      {"+###", 5, "  +5"},
      {"+###", -5, "  -5"},
      {"##.cc", 5, " 0.05"},
      {"##.cc", 123, " 1.23"},
      {"##.cc", -5, "-0.05"},
      {"##.cc", 123456, "  1e+03"},
      {"$#,###.##", 1234.5, " 1,234.50"},
      {"$#,###.##", 12.5, "    12.50"},
      {"$#,###.##", -12.5, "   -12.50"},
      {"###", 0.4, "  0"},
      {"###.", 12, " 12."},  // a point without decimals stays a point
      {"+##.", 5, " +5."},
      {"##.", 123, "  1e+02"},
      {"#.##", 123.456, "  1e+02"},
      {"##", std::numeric_limits<double>::infinity(), "    inf"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatted(c.format, c.value), c.expected) << c.format << " " << c.value;
}

TEST_F(IoNumberFormatTest, IoFormatPictureTooLongIsRefused) {
  EXPECT_EQ(format_number(std::string(256, '#'), 1), -73);
  EXPECT_EQ(formatted(std::string(255, '#'), 1).size(), 255u);
}

TEST_F(IoNumberFormatTest, IoFormatLongFormatParsing) {
  struct parse_case {
    const char* text;
    bool ok;
    int width, decimals;
    bool point, commas;
  };
  const parse_case cases[] = {
      {"12", true, 12, 0, false, false},   {"12.2", true, 12, 2, true, false},
      {"15.2C", true, 15, 2, true, true},  {"20c", true, 20, 0, false, true},
      {"255.252", true, 255, 252, true, false},
      {"11", false, 0, 0, false, false},   {"12.10", false, 0, 0, false, false},
      {"256", false, 0, 0, false, false},  {"12.", false, 0, 0, false, false},
      {"12.2x", false, 0, 0, false, false}, {"", false, 0, 0, false, false},
      {"-12", false, 0, 0, false, false},  {"99999999999999", false, 0, 0, false, false},
  };
  for (const auto& c : cases) {
    long_format f;
    ASSERT_EQ(parse_long_format(c.text, f), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(f.width, c.width) << c.text;
    EXPECT_EQ(f.decimals, c.decimals) << c.text;
    EXPECT_EQ(f.has_point, c.point) << c.text;
    EXPECT_EQ(f.commas, c.commas) << c.text;
  }
}

TEST_F(IoNumberFormatTest, IoFormatLongLayout) {
  struct layout_case {
    const char* format;
    bool negative;
    const char* digits;
    int exponent;
    const char* expected;  // null: does not fit
  };
  const layout_case cases[] = {
      {"12.2", false, "123457", 4, "     1234.57"},
      {"15.2C", false, "123457", 4, "       1,234.57"},
      {"12.2", true, "5", 0, "       -0.50"},
      {"12.3", false, "5", -1, "       0.050"},
      {"12", false, "", 1, "           0"},
      {"12", false, "12", 5, "       12000"},
      {"12", true, "12345678901", 11, "-12345678901"},
      {"12", false, "123456789012", 12, nullptr},
      {"13C", false, "1234567890", 10, nullptr},
      {"14C", false, "1234567890", 10, " 1,234,567,890"},
  };
  for (const auto& c : cases) {
    long_format f;
    ASSERT_TRUE(parse_long_format(c.format, f));
    std::string out;
    bool fits = format_long_layout(f, c.negative, c.digits, c.exponent, out);
    if (!c.expected) {
      EXPECT_FALSE(fits) << c.format << " " << c.digits;
      continue;
    }
    ASSERT_TRUE(fits) << c.format << " " << c.digits;
    EXPECT_EQ(out, c.expected) << c.format << " " << c.digits;
    EXPECT_EQ(out.size(), static_cast<std::size_t>(f.width));
  }
}

TEST_F(IoNumberFormatTest, IoFormatLongExponentForm) {
  long_format f;
  ASSERT_TRUE(parse_long_format("12", f));
  EXPECT_EQ(format_long_exponent(f, false, "12", 20, 2), " 1.2e+19    ");
  ASSERT_TRUE(parse_long_format("14.1", f));
  EXPECT_EQ(format_long_exponent(f, true, "1", -3, 3), "-1.00e-4      ");
}

// format_long_number over real long numbers (the number itself unchanged).
class IoLongFormatTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
  }
  long_number* long_from_text(const std::string& text) {
    long_number* n = long_temp_alloc();
    EXPECT_NE(n, nullptr);
    EXPECT_GE(long_convert_text(text.c_str(), text.size(), n, 1), 0) << text;
    long_normalize(n, 1);
    return n;
  }
};

TEST_F(IoLongFormatTest, IoFormatLongNumbers) {
  const struct {
    const char* number;
    const char* format;
    const char* expected;
  } cases[] = {
      {"1234.567", "12.2", "     1234.57"},
      {"1234.567", "15.2C", "       1,234.57"},
      {"-1234.567", "15.2c", "      -1,234.57"},
      {"12345678901234567890", "12", " 1.2e+19    "},
      {"-0.5", "12.3", "      -0.500"},
      {"0", "12.2", "        0.00"},
      {"0.006", "12.2", "        0.01"},  // rounds up to the last place shown
      {"0.004", "12.2", "        0.00"},
      {"0.0004", "12.2", "        0.00"},
      {"999.996", "12.2", "     1000.00"},
      {"1234567", "12", "     1234567"},
      {"1234567890123", "20.2C", " 1.23456789e+12     "},  // the commas do not fit
      {"1234567890123", "21.2C", " 1,234,567,890,123.00"},
  };
  for (const auto& c : cases) {
    const std::int32_t level = long_temp_used;
    long_number* n = long_from_text(c.number);
    const std::int32_t digits_before = n->len;
    port.output.clear();
    ASSERT_EQ(format_long_number(n, c.format), 0) << c.number << " " << c.format << "\n" << port.output;
    EXPECT_EQ(std::string(string_accumulator, static_cast<std::size_t>(string_accumulator_length)), c.expected)
        << c.number << " " << c.format;
    EXPECT_EQ(n->len, digits_before);
    EXPECT_EQ(long_temp_used, level + long_slot_bytes);  // the working copy was released
    long_temp_release_to(level);
  }
}

TEST_F(IoLongFormatTest, IoFormatLongInvalidFormats) {
  long_number* n = long_from_text("1234.567");
  for (const char* format : {"11", "12.10", "256", "12.2D", "abc", ""}) {
    port.output.clear();
    EXPECT_EQ(format_long_number(n, format), -73) << format;
    EXPECT_TRUE(reported_code(73)) << format;
  }
}

}  // namespace
