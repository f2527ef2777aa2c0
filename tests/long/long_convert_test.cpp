// Conversion of long numbers from and to decimal text and doubles.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "long_test_support.h"

namespace {

class LongConvertTest : public LongFixture {
 protected:
  double value = 0.0;  // what long_to_double gives
};

int scan(const std::string& text, std::int32_t& exp, std::int32_t& sign, char& next, int report = 0) {
  const char* cursor = text.data();
  const char *last = nullptr, *first = nullptr, *point = nullptr;
  std::int32_t zeros = 0;
  return long_scan_number_text(&cursor, text.data() + text.size(), &exp, &last, &first, &point, &sign, &zeros,
                               &next, report);
}

TEST_F(LongConvertTest, ScanTable) {
  struct Case {
    const char* text;
    int result;  // digit count or negative code
    std::int32_t exp, sign;
  };
  const Case cases[] = {
      {"  -12.50E+3", 3, 5, -1},
      {"+7", 1, 1, 0},
      {"0.00123", 3, -2, 0},
      {"000.000", 1, 0, 0},
      {"100", 1, 3, 0},
      {"1e-1000000", 1, -999999, 0},
      {"1.2.3", -148, 0, 0},
      {"12a", -149, 0, 0},
      {"12 ", -149, 0, 0},
      {"1e5x", -149, 0, 0},
      {".", -150, 0, 0},
      {"E5", -150, 0, 0},
      {"", -150, 0, 0},
      {"-", -150, 0, 0},
      {"1e1000001", -151, 0, 0},
      {"1e1000000", 1, 1000001, 0},
  };
  for (const Case& c : cases) {
    std::int32_t exp = 0, sign = 0;
    char next = '0';
    int r = scan(c.text, exp, sign, next);
    EXPECT_EQ(r, c.result) << '"' << c.text << '"';
    if (r >= 0) {
      EXPECT_EQ(exp, c.exp) << c.text;
      EXPECT_EQ(sign, c.sign) << c.text;
    }
  }
  // Reported only when asked.
  EXPECT_EQ(host.output.find("ERROR"), std::string::npos);
  std::int32_t exp = 0, sign = 0;
  char next = '0';
  EXPECT_EQ(scan("1.2.3", exp, sign, next, 1), -148);
  EXPECT_GT(host.reported(148), 0);
}

TEST_F(LongConvertTest, TextIsCutToThePrecisionWithARoundingDigit) {
  const std::string d50 = "12345678901234567890123456789012345678901234567890";
  const std::string d51 = "1" + d50.substr(0, 49) + "7";
  struct Case {
    std::string text;
    int round;
    std::string expect;
  };
  const Case cases[] = {
      {"0." + d50 + "6123456789", 1, "." + d50.substr(0, 49) + "1"},
      {"0." + d50 + "4999", 1, "." + d50.substr(0, 49)},
      {"0." + d50 + "6123456789", 0, "." + d50.substr(0, 49)},
      {"0." + d51, 1, "." + d51},  // exactly p + 1 digits: all kept
      {"1." + std::string(60, '0') + "1", 1, "1."},
      {"0." + std::string(52, '9'), 1, "1."},
      {"0." + std::string(52, '9'), 0, "." + std::string(50, '9')},
  };
  for (const Case& c : cases) {
    long_round_mode = c.round;
    long_number* n = make(c.text);
    EXPECT_EQ(long_text(n), c.expect) << c.text;
  }
  long_number* one = make("1." + std::string(60, '0') + "1");
  EXPECT_EQ(one->blks, 1);
}

TEST_F(LongConvertTest, IntegerModeDropsTheFraction) {
  integer_mode = 1;
  struct Case {
    const char* text;
    const char* expect;
  };
  const Case cases[] = {
      {"123.9", "123"}, {"0.7", "0"}, {"-0.7", "0"}, {"-45.5", "-45"}, {"12e3", "12000"},
      {"1.5e1", "15"}, {"123456789012345678901234567890.9", "123456789012345678901234567890"},
  };
  for (const Case& c : cases) {
    long_number* n = make(c.text);
    EXPECT_EQ(long_text(n), c.expect) << c.text;
  }
}

TEST_F(LongConvertTest, TextOutputForms) {
  struct Case {
    const char* text;
    const char* expect;
  };
  const Case cases[] = {
      {"0.5", ".5"},       {"0.005", ".005"},       {"1.5e-60", "1.5e-60"},   {"1e100", "1.e+100"},
      {"1000", "1000."},   {"12.5", "12.5"},        {"1", "1."},              {"-2.5", "-2.5"},
      {"0", "0."},         {"-1e-5", "-.00001"},    {"123456789e-3", "123456.789"},
  };
  for (const Case& c : cases) {
    long_number* n = make(c.text);
    EXPECT_EQ(long_text(n), c.expect) << c.text;
  }
  // Unnormalised exponent 0: a zero prints its one digit, other digits follow the point.
  EXPECT_EQ(long_text(raw({0}, 1, 0)), "0");
  EXPECT_EQ(long_text(raw({50000000}, 1, 0)), ".5");
}

TEST_F(LongConvertTest, TextBuffersAreSizedFromTheNumber) {
  // A number with more digits than p (a product in integer mode, say), a
  // padded integer near the precision and a small fraction all fit exactly.
  long_number* wide = long_temp_alloc();
  ASSERT_EQ(long_reserve(wide, 149), 0);
  for (int i = 0; i < 18; ++i) wide->blocks[i] = 77777777;
  wide->blocks[18] = 77777000;
  wide->blks = 19;
  wide->len = 149;
  wide->exp = 149;
  wide->norm = 1;
  char* text = nullptr;
  std::int64_t length = long_to_text_alloc(wide, &text);
  ASSERT_EQ(length, 155);
  EXPECT_EQ(std::string(text), "7." + std::string(148, '7') + "e+148");
  std::free(text);

  long_number* padded = make("1e49");  // 50 integer digits and a point
  length = long_to_text_alloc(padded, &text);
  ASSERT_EQ(length, 51);
  EXPECT_EQ(std::string(text), "1" + std::string(49, '0') + ".");
  std::free(text);
  EXPECT_EQ(padded->blks, 1);  // cleared

  integer_mode = 1;
  long_number* fraction = raw({50000000}, 1, -3, -1, 1);  // a fraction under INTEGER
  length = long_to_text_alloc(fraction, &text);
  ASSERT_EQ(length, 1);
  EXPECT_STREQ(text, "0");
  std::free(text);

  // long_to_text itself refuses a buffer one byte short.
  integer_mode = 0;
  long_number* n = make("-12.5");
  char small[6];
  std::int32_t size = sizeof small;
  EXPECT_EQ(long_to_text(n, small, &size), 0);
  EXPECT_STREQ(small, "-12.5");
  size = 5;
  EXPECT_EQ(long_to_text(n, small, &size), -147);
}

TEST_F(LongConvertTest, FromDoubleTakesTwentyFourDigits) {
  ASSERT_EQ(long_from_double(0.5), 14);
  EXPECT_EQ(long_blocks(long_accumulator), (std::vector<std::uint32_t>{50000000}));
  EXPECT_EQ(long_accumulator->exp, 0);

  ASSERT_EQ(long_from_double(1.0 / 3.0), 14);
  std::string digits = long_digits(long_accumulator);
  EXPECT_EQ(digits.size(), 24u);
  EXPECT_EQ(digits.substr(0, 16), std::string(16, '3'));
  EXPECT_NE(digits[16], '3');

  ASSERT_EQ(long_from_double(std::ldexp(1.0, -1074)), 14);
  EXPECT_EQ(long_accumulator->exp, -323);

  ASSERT_EQ(long_from_double(-0.0), 14);
  EXPECT_EQ(long_accumulator->sign, 0);
  EXPECT_EQ(long_accumulator->blocks[0], 0u);

  long_precision = 11;
  ASSERT_EQ(long_from_double(2.0 / 3.0), 14);
  EXPECT_EQ(long_text(long_accumulator), ".66666666667");

  EXPECT_EQ(long_from_double(INFINITY), -99);
  EXPECT_EQ(long_from_double(NAN), -99);
  EXPECT_GT(host.reported(99), 0);
}

TEST_F(LongConvertTest, ToDoubleIsCorrectlyRoundedFromThirtyTwoDigits) {
  std::mt19937_64 rng(42);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> exponent(-300, 308);
  for (int iter = 0; iter < 3000; ++iter) {
    std::string text = "0.";
    text += static_cast<char>('1' + digit(rng) % 9);
    for (int i = 1; i < 32; ++i) text += static_cast<char>('0' + digit(rng));
    int e = exponent(rng);
    text += "e" + std::to_string(e);
    long_precision = 40;
    long_number* n = make(text);
    ASSERT_EQ(long_to_double(n, 1, &value), 2) << text;
    double expect = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(value, expect) << text;
    long_temp_release_to(0);
  }
  // Every double survives the road through 24 digits and back.
  for (int iter = 0; iter < 3000; ++iter) {
    std::uint64_t bits = rng() & 0x7FFFFFFFFFFFFFFFull;
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    ASSERT_EQ(long_from_double(x), 14);
    long_number* n = long_temp_alloc();
    ASSERT_EQ(long_move(long_accumulator, n), 14);
    ASSERT_EQ(long_to_double(n, 1, &value), 2);
    EXPECT_EQ(value, x) << bits;
    long_temp_release_to(0);
  }
}

// A double through its 24 digits and back is the same double, bit for bit:
// the extremes, subnormals (where the conversion rounds twice) and random
// subnormal patterns, in both signs.
TEST_F(LongConvertTest, DoublesRoundTripBitExact) {
  std::vector<double> values = {
      DBL_MIN, DBL_TRUE_MIN, DBL_MAX, std::nextafter(DBL_MIN, 0.0), std::nextafter(DBL_MAX, 0.0),
      std::ldexp(1.0, -1060), std::ldexp(3.0, -1074), 0.1, 1.0 / 3.0, 9007199254740991.0,
      9007199254740994.0, 1e23, 123456789012345678.0, std::nextafter(1.0, 2.0), std::nextafter(1.0, 0.0),
  };
  std::mt19937_64 rng(1074);
  for (int i = 0; i < 500; ++i) {
    std::uint64_t bits = rng() & 0x000FFFFFFFFFFFFFull;  // exponent field 0: subnormal
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (x != 0.0) values.push_back(x);
  }
  for (double v : values) {
    for (double x : {v, -v}) {
      ASSERT_EQ(long_from_double(x), 14);
      long_number* n = long_temp_alloc();
      ASSERT_EQ(long_move(long_accumulator, n), 14);
      ASSERT_EQ(long_to_double(n, 1, &value), 2);
      std::uint64_t want, got;
      std::memcpy(&want, &x, sizeof want);
      std::memcpy(&got, &value, sizeof got);
      EXPECT_EQ(got, want) << x;
      long_temp_release_to(0);
    }
  }
}

TEST_F(LongConvertTest, ToDoubleEdges) {
  struct Case {
    const char* text;
    double expect;
  };
  const Case cases[] = {
      {"9007199254740993", 9007199254740994.0},  // a tie rounds away from zero
      {"-9007199254740993", -9007199254740994.0},
      {"1e-400", 0.0},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"1.79769313486231570814527423731704e308", DBL_MAX},
      // Just below the midpoint between the largest double and 2^1024.
      {"1.7976931348623158079372897140530e308", DBL_MAX},
      {"0", 0.0},
      {"2.2250738585072014e-308", 2.2250738585072014e-308},
      // Only the first 32 digits count: just above the tie 1 + 2^-53 in
      // digit 55, yet below it in the first 32.
      {"1.00000000000000011102230246251565404236316680908203126", 1.0},
  };
  long_precision = 60;
  for (const Case& c : cases) {
    long_number* n = make(c.text);
    ASSERT_EQ(long_to_double(n, 1, &value), 2) << c.text;
    EXPECT_EQ(value, c.expect) << c.text;
  }
  // A negative long too small for a subnormal gives +0.0.
  long_number* tiny = make("-1e-400");
  ASSERT_EQ(long_to_double(tiny, 1, &value), 2);
  EXPECT_FALSE(std::signbit(value));

  // Just above that midpoint: too large.
  EXPECT_EQ(long_to_double(make("1.7976931348623158079372897140531e308"), 0, &value), -164);
  long_number* big = make("1.8e308");
  EXPECT_EQ(long_to_double(big, 0, &value), -164);
  EXPECT_EQ(host.reported(164), 0);
  EXPECT_EQ(long_to_double(big, 1, &value), -164);
  EXPECT_EQ(host.reported(164), 1);
  math_error_ok = 1;
  math_error_flag = 0;
  long_number* neg = make("-1.8e308");
  EXPECT_EQ(long_to_double(neg, 1, &value), 2);
  EXPECT_EQ(value, -INFINITY);
  EXPECT_EQ(math_error_flag, 1);
}

TEST_F(LongConvertTest, OldConvertGoesThroughText) {
  long_old_convert = 1;
  long_number* n = make("0.1");
  ASSERT_EQ(long_to_double(n, 1, &value), 2);
  EXPECT_EQ(value, 0.1);
  EXPECT_EQ(n->blks, 1);  // cleared
  long_number* big = make("1e400");
  EXPECT_EQ(long_to_double(big, 0, &value), -164);
}

}  // namespace
