// Expression evaluation: precedence, operators, comparisons, logic, strings,
// the item limit, skip mode and parameter lists.
#include <cmath>
#include <string>

#include "core_test_support.h"
#include "interpreter/long_bridge.h"
#include "interpreter/scanner.h"
#include "rizozira/long_number.h"

namespace {

class CoreExpressionTest : public StartedCoreTest {};

struct numeric_case {
  const char* text;
  double value;
};

TEST_F(CoreExpressionTest, NumericResults) {
  const numeric_case cases[] = {
      {"2^3^2", 64},          {"-2^2", 4},           {"2*-3", -6},         {"1 - - 1", 2},
      {"5 % 3", 2},           {"-5 % 3", -2},        {"2+3*4", 14},        {"(2+3)*4", 20},
      {"1 < 2 = 1", 1},       {"\"abc\" < \"abd\"", 1}, {"\"a\" = \"A\"", 0}, {"1 = \"1\"", 1},
      {"not 0", 1},           {"1 and 0 or 1", 1},   {"1 xor 1", 0},       {"1 eor 0", 1},
      {"3 > 2 and 2 > 3", 0}, {"not 1 = 2", 1},      {"1 <> 2", 1},        {"2 >= 2", 1},
      {"1 < 2 < 3", 1},       {"10 / 4", 2.5},       {"2 ^ -1", 0.5},      {"--3 * 1", 3},
      {"+5 * 1", 5},              {"7 - 2 - 1", 4},      {"1.5e3 + .5", 1500.5}, {"pi", 3.141592653589793},
      // Strings compare byte by byte, as unsigned bytes, case kept.
      {"chr$(233) > \"z\"", 1}, {"\"ab\" < \"abc\"", 1}, {"\"B\" < \"a\"", 1}, {"\"\" < \"a\"", 1},
  };
  for (const numeric_case& c : cases) {
    port.output.clear();
    EXPECT_DOUBLE_EQ(eval_double(c.text), c.value) << c.text;
  }
}

TEST_F(CoreExpressionTest, LoneLiteralStaysNumericText) {
  EXPECT_EQ(eval("--3"), 16);
  EXPECT_STREQ(string_accumulator, "3");
  EXPECT_EQ(eval("-3"), 16);
  EXPECT_STREQ(string_accumulator, "-3");
  EXPECT_EQ(eval("-(-3)"), 16);  // a parenthesised literal is still numeric text
  EXPECT_STREQ(string_accumulator, "3");
}

TEST_F(CoreExpressionTest, StringJoinIsCappedAt255) {
  EXPECT_EQ(eval_string("\"ab\" + \"cd\""), "abcd");
  std::string a(200, 'a');
  std::string b(100, 'b');
  std::string joined = eval_string("\"" + a + "\" + \"" + b + "\"");
  EXPECT_EQ(joined, a + std::string(55, 'b'));
}

struct error_case {
  const char* text;
  int code;
};

TEST_F(CoreExpressionTest, ErrorsAreReportedWithTheirCodes) {
  const error_case cases[] = {
      {"\"ab\" + 1", 40},  {"\"1\" = 1", 146}, {"1 = \"abc\"", 40}, {"1/0", 78},       {"1 % 0", 78},
      {"(-8)^(1/3)", 20}, {"2 *", 206},       {"* 2", 77},         {"2 * * 3", 223},  {"-", 15},
      {"+", 17},          {"+ \"a\"", 18},    {"- \"a\"", 71},     {"not", 36},       {"and 1", 38},
      {"= 1", 80},        {"1 =", 71},        {"1 2", 71},         {"2 + * 3", 16},   {"1e308 * 10", 79},
      {"(1", 82},         {"(print)", 222},   {"x(1)", 94},
  };
  for (const error_case& c : cases) {
    port.output.clear();
    EXPECT_LT(eval(c.text), 0) << c.text;
    EXPECT_TRUE(reported_code(c.code)) << c.text << " expected " << c.code << " got:\n" << port.output;
  }
}

TEST_F(CoreExpressionTest, ConversionFailureIsReportedBeforeTheTypeMismatch) {
  EXPECT_LT(eval("1 = \"abc\""), 0);
  std::size_t conversion = port.output.find("ERROR - Could not convert number.");
  std::size_t mismatch = port.output.find("ERROR - Type mismatch.");
  ASSERT_NE(conversion, std::string::npos) << port.output;
  ASSERT_NE(mismatch, std::string::npos) << port.output;
  EXPECT_LT(conversion, mismatch);
}

TEST_F(CoreExpressionTest, ItemLimitIs49) {
  std::string text = "1";
  for (int i = 0; i < 24; ++i) text += "+1";  // 49 items
  EXPECT_DOUBLE_EQ(eval_double(text), 25);
  EXPECT_LT(eval("-" + text), 0);  // 50 items
  EXPECT_TRUE(reported_code(13));
}

TEST_F(CoreExpressionTest, DivideByZeroUnderMathErrorOkSetsTheFlag) {
  math_error_ok = 1;
  math_error_flag = 0;
  EXPECT_EQ(eval("1/0"), 2);
  EXPECT_TRUE(std::isinf(double_accumulator));
  EXPECT_EQ(math_error_flag, 1);
  EXPECT_LT(eval("1 % 0"), 0);  // modulo by zero stays an error
  math_error_ok = 0;
  math_error_flag = 0;
}

TEST_F(CoreExpressionTest, SkippedExpressionGivesZeroOrEmptyString) {
  no_execute = 1;
  EXPECT_EQ(eval("\"a\" + 1"), 3);
  EXPECT_STREQ(string_accumulator, "");
  EXPECT_EQ(eval("5 * 5 + \"x\""), 2);
  EXPECT_EQ(double_accumulator, 0.0);
  no_execute = 0;
  EXPECT_EQ(port.output, "");
}

TEST_F(CoreExpressionTest, StatementKeywordEndsTheExpression) {
  point_at("1 = 1 then print");
  EXPECT_EQ(evaluate_expression_release_temps(0), 2);
  EXPECT_EQ(double_accumulator, 1.0);
  EXPECT_EQ(rest(), " then print");
}

TEST_F(CoreExpressionTest, TemporaryStringsAreReleasedAfterEachExpression) {
  std::uint32_t before = temp_strings_used;
  EXPECT_EQ(eval_string("\"abc\" + \"def\""), "abcdef");
  EXPECT_EQ(temp_strings_used, before);
  EXPECT_GT(temp_strings_peak, before);
}

// Parameter lists read at the start of a text.
class CoreParameterListTest : public CoreExpressionTest {
 protected:
  int read(const std::string& list, int* count, expr_item* items) {
    point_at(list);
    return get_parameter_list(count, items);
  }
};

TEST_F(CoreParameterListTest, CountsSeparatorsAndLimits) {
  expr_item items[max_parameters];
  int count = -1;
  EXPECT_EQ(read("()", &count, items), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(read("(1, \"b\"; 2+1)", &count, items), 0);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(items[0].type, 16u);
  EXPECT_EQ(items[1].type, 3u);
  EXPECT_STREQ(temp_string_text(static_cast<std::uint32_t>(items[1].value.bits)), "b");
  EXPECT_EQ(items[2].type, 2u);
  EXPECT_EQ(items[2].value.number, 3.0);
  EXPECT_EQ(read("(1,2,3,4,5,6,7)", &count, items), 0);
  EXPECT_EQ(count, 7);

  const error_case cases[] = {
      {"(1,2,3,4,5,6,7,8)", 63}, {"(1,,2)", 326}, {"(1,2", 82}, {"1,2)", 69},
  };
  for (const error_case& c : cases) {
    port.output.clear();
    EXPECT_LT(read(c.text, &count, items), 0) << c.text;
    EXPECT_TRUE(reported_code(c.code)) << c.text << "\n" << port.output;
  }
}

TEST_F(CoreExpressionTest, LiteralDigitCountChoosesDoubleOrLong) {
  EXPECT_EQ(eval("1234567890123456 * 1"), 2);
  EXPECT_EQ(double_accumulator, 1234567890123456.0);
  EXPECT_EQ(eval("12345678901234567 * 1"), 14) << port.output;
  EXPECT_EQ(eval("1e400"), 16);  // a lone literal stays numeric text
  EXPECT_EQ(eval("1e400 * 1"), 14) << port.output;
}

TEST_F(CoreExpressionTest, LongAllMakesArithmeticLong) {
  long_all_mode = 1;
  EXPECT_EQ(eval("2 + 3"), 14) << port.output;
  long_all_mode = 0;
}

struct long_power_case {
  const char* text;
  int code;      // 0: a value
  double value;
};

// Long powers of a zero base follow the double path: 0^0 = 1, 0^n = 0 for
// n > 0, and a negative power has no value (error 20, never a silent 0).
TEST_F(CoreExpressionTest, LongPowersOfZeroAndNegativeBases) {
  const long_power_case cases[] = {
      {"0 ^ 0", 0, 1},      {"0 ^ 2", 0, 0},    {"0 ^ -1", 20, 0},  {"0 ^ -0.5", 20, 0},
      {"(-2) ^ 3", 0, -8},  {"(-2) ^ 2", 0, 4}, {"(-8) ^ 0.5", 20, 0}, {"2 ^ 10", 0, 1024},
  };
  long_all_mode = 1;
  for (const long_power_case& c : cases) {
    port.output.clear();
    int result = eval(c.text);
    if (c.code == 0) {
      ASSERT_EQ(result, 14) << c.text << "\n" << port.output;
      ASSERT_EQ(long_to_double(long_accumulator, 1), 2);
      EXPECT_NEAR(double_accumulator, c.value, 1e-12) << c.text;
    } else {
      EXPECT_LT(result, 0) << c.text;
      EXPECT_TRUE(reported_code(c.code)) << c.text << "\n" << port.output;
    }
  }
  long_all_mode = 0;
}

// A numeric text of 255 characters has no room for a sign: unary minus must
// still give exactly its negation, not a text cut short by a digit.
TEST_F(CoreExpressionTest, UnaryMinusOnTheLongestNumericText) {
  std::string digits(254, '1');
  digits += '7';
  ASSERT_EQ(eval("-" + digits), 14) << port.output;
  ASSERT_EQ(long_to_double(long_accumulator, 1), 2);
  double negated = double_accumulator;
  ASSERT_EQ(eval(digits + " * 1"), 14) << port.output;
  ASSERT_EQ(long_to_double(long_accumulator, 1), 2);
  EXPECT_EQ(negated, -double_accumulator);
  EXPECT_LT(negated, -1e254);
  EXPECT_EQ(eval("-" + std::string(255, '2') + " + 2"), 14) << port.output;  // in a longer expression too
}

}  // namespace
