// Normalisation, rounding at the precision, comparison, fixed-point
// alignment and truncation to an integer.
#include <string>

#include "long_test_support.h"

namespace {

using LongNormalizeTest = LongFixture;

TEST_F(LongNormalizeTest, ShapesLeadingZerosTrailingZerosAndZero) {
  // {0, 0, 00012300}, len 24, exp 10 is 0.123 x 10^-9.
  long_number* a = raw({0, 0, 12300}, 24, 10);
  long_normalize(a, 1);
  EXPECT_EQ(long_blocks(a), (std::vector<std::uint32_t>{12300000}));
  EXPECT_EQ(a->len, 3);
  EXPECT_EQ(a->exp, -9);
  EXPECT_EQ(a->norm, 1);

  // Non-zero digits only beyond len: zero.
  long_number* b = raw({0, 12}, 8, 5, -1);
  long_normalize(b, 1);
  EXPECT_EQ(long_blocks(b), (std::vector<std::uint32_t>{0}));
  EXPECT_EQ(b->sign, 0);
  EXPECT_EQ(b->exp, 1);

  // 1 written as {00000001}, len 8, exp 8.
  long_number* c = raw({1}, 8, 8);
  long_normalize(c, 0);
  EXPECT_EQ(long_blocks(c), (std::vector<std::uint32_t>{10000000}));
  EXPECT_EQ(c->len, 1);
  EXPECT_EQ(c->exp, 1);

  // A leading-digit shift that carries digits across blocks.
  long_number* d = raw({123, 45678901, 20000000}, 24, 0);
  long_normalize(d, 1);
  EXPECT_EQ(long_digits(d), "123456789012");
  EXPECT_EQ(d->exp, -5);
  EXPECT_EQ(d->blks, 2);

  // norm 1 means nothing is done.
  long_number* e = raw({5}, 8, 8, 0, 1);
  long_normalize(e, 1);
  EXPECT_EQ(e->blocks[0], 5u);
}

TEST_F(LongNormalizeTest, RoundsAtDigitPPlusOneOrCuts) {
  struct Case {
    const char* digits;  // value 0.<digits>
    int precision;
    int round_mode;
    const char* expect_digits;
    int expect_exp;
  };
  const std::string d50 = "12345678901234567890123456789012345678901234567891";
  const Case cases[] = {
      {"999990", 4, 1, "1", 1},
      {"99999", 4, 0, "9999", 0},
      {"123456789", 5, 1, "12346", 0},
      {"123454999", 5, 1, "12345", 0},
      {"123456789", 5, 0, "12345", 0},
      {"1000000059", 9, 1, "100000006", 0},
      {"1299999999", 9, 1, "13", 0},
  };
  for (const Case& c : cases) {
    long_precision = c.precision;
    long_round_mode = c.round_mode;
    std::string text = std::string("0.") + c.digits;
    long_precision = 1000;  // read every digit
    long_number* n = make(text);
    long_precision = c.precision;
    n->norm = 0;
    long_normalize(n, 1);
    EXPECT_EQ(long_digits(n), c.expect_digits) << text << " p=" << c.precision;
    EXPECT_EQ(n->exp, c.expect_exp) << text;
  }
  // p = 50: a 51st digit 5 rounds up, 4 cuts; truncate mode cuts both.
  long_precision = 50;
  for (int mode : {1, 0}) {
    long_round_mode = mode;
    for (char last : {'5', '4'}) {
      long_number* n = raw({0}, 1, 1);
      std::string digits = d50 + last;
      ASSERT_EQ(long_reserve(n, 51), 0);
      for (int k = 0; k < 7; ++k) n->blocks[k] = 0;
      for (int k = 0; k < 51; ++k) n->blocks[k / 8] += static_cast<std::uint32_t>(digits[k] - '0') * long_pow10[7 - k % 8];
      n->blks = 7;
      n->len = 51;
      n->exp = 0;
      n->norm = 0;
      long_normalize(n, 1);
      std::string expect = (mode == 1 && last == '5') ? "12345678901234567890123456789012345678901234567892" : d50;
      EXPECT_EQ(long_digits(n), expect) << "mode " << mode << " last " << last;
    }
  }
}

TEST_F(LongNormalizeTest, APrecisionBelowOneKeepsOneDigit) {
  for (int p : {0, -5}) {
    long_number* a = make("0.96");
    long_number* b = make("123.4");
    long_number* c = long_temp_alloc();
    long_precision = p;
    a->norm = 0;
    long_normalize(a, 1);
    EXPECT_EQ(long_text(a), "1.") << p;
    ASSERT_EQ(long_multiply(b, b, c), 0);
    long_normalize(c, 1);
    EXPECT_EQ(c->len, 1) << p;
    EXPECT_GE(long_add(b, b, c), 0);
    long_precision = 50;
  }
}

TEST_F(LongNormalizeTest, IntegerModeNeverRoundsOrCuts) {
  long_number* n = raw({0}, 1, 1);
  ASSERT_EQ(long_reserve(n, 200), 0);
  for (int k = 0; k < 25; ++k) n->blocks[k] = 99999999;
  n->blks = 25;
  n->len = 200;
  n->exp = 200;
  n->norm = 0;
  integer_mode = 1;
  long_normalize(n, 1);
  EXPECT_EQ(n->len, 200);
  EXPECT_EQ(long_digits(n), std::string(200, '9'));
}

TEST_F(LongNormalizeTest, CompareTable) {
  struct Case {
    const char* a;
    const char* b;
    int expect;
  };
  const Case cases[] = {
      {"-0.5", "0", -1},      {"0", "-0.5", 1},         {"-2", "-3", 1},
      {"0.001", "0.0009", 1}, {"123456789", "123456780", 1},
      {"0", "0", 0},          {"1.5", "1.50", 0},       {"12345678.1", "12345678", 1},
      {"-12345678.1", "-12345678", -1}, {"7", "7e1", -1},
  };
  for (const Case& c : cases) {
    long_number* a = make(c.a);
    long_number* b = make(c.b);
    EXPECT_EQ(long_compare(a, b), c.expect) << c.a << " vs " << c.b;
  }
}

TEST_F(LongNormalizeTest, AlignFractionShiftsToExponentZero) {
  struct Case {
    const char* text;
    std::vector<std::uint32_t> blocks;
    int len;
  };
  const Case cases[] = {
      {"0.00123", {123000}, 5},
      {"0.5", {50000000}, 1},
      {"-0.000000001234567891", {0, 12345678, 91000000}, 18},
  };
  for (const Case& c : cases) {
    long_number* src = make(c.text);
    long_number* dst = long_temp_alloc();
    ASSERT_EQ(long_align_fraction(src, dst), 0);
    EXPECT_EQ(long_blocks(dst), c.blocks) << c.text;
    EXPECT_EQ(dst->len, c.len) << c.text;
    EXPECT_EQ(dst->exp, 0);
    EXPECT_EQ(dst->sign, src->sign);
    EXPECT_EQ(dst->norm, 0);
  }
  // Digits beyond p + 10 positions are dropped; a source entirely beyond them is zero.
  long_precision = 11;
  long_number* far = make("1e-30");
  long_number* dst = long_temp_alloc();
  ASSERT_EQ(long_align_fraction(far, dst), 0);
  EXPECT_EQ(dst->len, 21);
  for (std::uint32_t b : long_blocks(dst)) EXPECT_EQ(b, 0u);
}

TEST_F(LongNormalizeTest, FixTruncatesTowardZero) {
  struct Case {
    const char* text;
    const char* expect;
  };
  const Case cases[] = {
      {"12.9", "12."}, {"-12.9", "-12."}, {"0.7", "0."}, {"-0.7", "0."},
      {"123456789.123", "123456789."}, {"5e20", "500000000000000000000."}, {"1000", "1000."},
  };
  for (const Case& c : cases) {
    long_number* n = make(c.text);
    long_fix(n);
    EXPECT_EQ(long_text(n), c.expect) << c.text;
    EXPECT_EQ(n->norm, 1);
  }
}

}  // namespace
