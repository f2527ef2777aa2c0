// Built-in functions: the double kernels, results and errors through the
// expression evaluator, the random generator, and skip mode.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core_test_support.h"
#include "interpreter/functions.h"
#include "interpreter/keywords.h"
#include "interpreter/output_channels.h"
#include "interpreter/random.h"

namespace {

class FnTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
    random_reset();
    degrees_mode = 0;
  }
  void TearDown() override {
    degrees_mode = 0;
    CoreTest::TearDown();
  }
};

TEST(FnKernels, CintRoundsHalvesAwayFromZeroExactly) {
  const double two52 = 4503599627370496.0;
  const struct { double x, expected; } cases[] = {
      {2.5, 3}, {-2.5, -3}, {0.49999999999999994, 0}, {-0.49999999999999994, -0},
      {1.4, 1}, {-1.6, -2}, {two52 + 1, two52 + 1}, {-(two52 + 3), -(two52 + 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(cint_double(c.x), c.expected) << c.x;
}

TEST_F(FnTest, RoundingNeverGivesNegativeZero) {
  for (const char* text : {"fix(-0.5)", "int(-0)", "cint(-0.4)", "fix(-0.999)"}) {
    double v = eval_double(text);
    EXPECT_EQ(v, 0.0) << text;
    EXPECT_FALSE(std::signbit(v)) << text;
  }
}

TEST(FnKernels, HexText) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct { double n, fill; int code; const char* text; } cases[] = {
      {255, -1, 0, "FF"},        {255, 0, 0, "000000FF"},     {255, 1, 0, "      FF"},
      {-1, -1, 0, "FFFFFFFF"},   {1, 2, 0, "3FF0000000000000"}, {255.9, -1, 0, "FF"},
      {-2147483648.0, -1, 0, "80000000"}, {4294967295.0, 0, 0, "FFFFFFFF"},
      {1, 0.5, 207, ""},         {1, 3, 207, ""},             {4294967296.0, -1, 180, ""},
      {-2147483649.0, -1, 180, ""}, {nan, -1, 180, ""},       {1e300, 0, 180, ""},
  };
  for (const auto& c : cases) {
    char text[32];
    EXPECT_EQ(hex_text(c.n, c.fill, text, sizeof text), c.code) << c.n << " " << c.fill;
    if (c.code == 0) {
      EXPECT_STREQ(text, c.text) << c.n;
    }
  }
}

TEST(FnKernels, RootFactorialExponent) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct { double x, n; int code; double r; } roots[] = {
      {-8, 3, 0, -2}, {-8, 2, 20, 0}, {0, 0, 0, 1}, {5, 0, 20, 0}, {0, 5, 0, 0},
      {27, 3, 0, 3},  {-8, 2.5, 20, 0}, {16, 0.5, 0, 256}, {-8, nan, 20, 0},
  };
  for (const auto& c : roots) {
    double r = 0;
    EXPECT_EQ(root_double(c.x, c.n, r), c.code) << c.x << " " << c.n;
    if (c.code == 0) {
      EXPECT_NEAR(r, c.r, 1e-12) << c.x << " " << c.n;
    }
  }
  const struct { double n; int code; double r; } factorials[] = {
      {0, 186, 0}, {171, 186, 0}, {nan, 186, 0}, {-1, 186, 0}, {5, 0, 120}, {5.9, 0, 120}, {1, 0, 1},
  };
  for (const auto& c : factorials) {
    double r = 0;
    EXPECT_EQ(factorial_double(c.n, r), c.code) << c.n;
    if (c.code == 0) {
      EXPECT_EQ(r, c.r);
    }
  }
  const struct { double x; int code; double e; } exponents[] = {
      {12345, 0, 4}, {0.001, 0, -3}, {9.999, 0, 1}, {0, 0, 0}, {-250, 0, 2},
      {std::numeric_limits<double>::infinity(), 68, 0}, {nan, 68, 0},
  };
  for (const auto& c : exponents) {
    double e = 0;
    EXPECT_EQ(exponent_of_double(c.x, e), c.code) << c.x;
    if (c.code == 0) {
      EXPECT_EQ(e, c.e) << c.x;
    }
  }
}

TEST_F(FnTest, NumericResults) {
  const struct { const char* text; double value; } cases[] = {
      {"abs(-3 * 1)", 3},     {"int(-2.5)", -3},        {"fix(-2.5)", -2},
      {"cint(2.5)", 3},        {"cint(-2.5)", -3},       {"sgn(-4)", -1},
      {"sgn(0)", 0},           {"len(\"abc\")", 3},      {"asc(\"A\")", 65},
      {"asc(\"\")", 0},        {"mod(-5, 3)", -2},       {"mod(7, 2.5)", 2},
      {"setcolor(1, 2, 3)", 1 + 512 + 196608},          {"exponent(12345)", 4},
      {"root(-8, 3)", -2},     {"half(5)", 2.5},         {"factorial(5)", 120},
      {"exp(0)", 1},           {"exp10(2)", 100},        {"log(1)", 0},
      {"log10(1000)", 3},      {"sqr(16)", 4},           {"atn(0)", 0},
      {"short(2.5)", 2.5},     {"instr(\"abcabc\", \"c\")", 3},
      {"instr(4, \"abcabc\", \"c\")", 6},               {"instr(7, \"abcabc\", \"\")", 0},
      {"instr(2, \"abcabc\", \"\")", 2},                {"instr(0, \"abc\", \"a\")", 0},
      {"instr(\"abc\", \"d\")", 0},                     {"instr(\"\", \"\")", 0},
      {"val(\"12abc\") + 1", 13},                       {"val(\"  -5\") * 2", -10},
      {"acot(0)", 3.141592653589793 / 2},
  };
  for (const auto& c : cases) {
    port.output.clear();
    EXPECT_NEAR(eval_double(c.text), c.value, 1e-12) << c.text;
  }
}

TEST_F(FnTest, AbsKeepsNumericTextAsText) {
  EXPECT_EQ(eval("abs(-3)"), 16);
  EXPECT_STREQ(string_accumulator, "3");
}

TEST_F(FnTest, DegreesMode) {
  degrees_mode = 1;
  EXPECT_NEAR(eval_double("sin(30)"), 0.5, 1e-15);
  EXPECT_NEAR(eval_double("atn(1)"), 45, 1e-12);
  EXPECT_NEAR(eval_double("acot(1)"), 45, 1e-12);
  degrees_mode = 0;
  EXPECT_NEAR(eval_double("atn(1)"), 3.141592653589793 / 4, 1e-15);
}

TEST_F(FnTest, StringResults) {
  const struct { const char* text; const char* value; } cases[] = {
      {"left$(\"hello\", 2)", "he"},     {"right$(\"hello\", 2)", "lo"},
      {"right$(\"hi\", 9)", "hi"},       {"left$(\"hi\", 0)", ""},
      {"mid$(\"hello\", 2)", "ello"},    {"mid$(\"hello\", 6, 1)", ""},
      {"mid$(\"hello\", 2, 2)", "el"},   {"mid$(\"hello\", 2, 0)", ""},
      {"chr$(65)", "A"},                 {"chr$(0)", ""},
      {"string$(3, \"xy\")", "xxx"},     {"string$(2, 66)", "BB"},
      {"space$(2)", "  "},               {"hex$(255)", "FF"},
      {"hex$(255, 1)", "      FF"},      {"toupper$(\"aB1z\")", "AB1Z"},
      {"tolower$(\"aB1Z\")", "ab1z"},    {"str$(1/3)", "0.3333333333333333"},
      {"str$(5, \"%8.3f\")", "   5.000"},  {"str$(-2)", "-2"},
      // Huge counts are bounded, never cast blindly.
      {"left$(\"ab\", 1e300)", "ab"},    {"mid$(\"hello\", 2, 1e300)", "ello"},
      {"mid$(\"hello\", 1e300)", ""},    {"right$(\"ab\", 1e300)", "ab"},
  };
  for (const auto& c : cases) {
    port.output.clear();
    EXPECT_EQ(eval_string(c.text), c.value) << c.text << "\n" << port.output;
  }
}

TEST_F(FnTest, ValGivesNumericText) {
  const struct { const char* text; const char* digits; } cases[] = {
      {"val(\"12abc\")", "12"}, {"val(\"abc\")", "0"}, {"val(\".\")", "0"},
      {"val(\" \t1.5e3\")", "1.5e3"}, {"val(\"\")", "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(eval(c.text), 16) << c.text << "\n" << port.output;
    EXPECT_STREQ(string_accumulator, c.digits) << c.text;
  }
  EXPECT_LT(eval("val(\"1e\")"), 0);
  EXPECT_TRUE(reported_code(205)) << port.output;
}

TEST_F(FnTest, Errors) {
  const struct { const char* text; int code; } cases[] = {
      {"mid$(\"hello\", 0)", 65},   {"mid$(\"hello\", 2, -1)", 66}, {"left$(\"a\", -1)", 181},
      {"right$(\"a\", -0.5)", 181}, {"chr$(256)", 68},              {"chr$(-1)", 68},
      {"string$(256, 65)", 68},     {"string$(2, 300)", 68},        {"space$(-1)", 68},
      {"hex$(1, 0.5)", 207},        {"hex$(2^32)", 180},            {"hex$(1e300)", 180},
      {"factorial(0)", 186},        {"factorial(171)", 186},        {"root(-8, 2)", 20},
      {"log(0)", 210},              {"log(-1)", 209},               {"sqr(-1)", 199},
      {"mod(1, 0)", 78},            {"rnd(-0.5)", 194},             {"rnd(-4294967296)", 194},
      {"len(5)", 146},              {"left$(5, 1)", 146},           {"instr(1, 2, \"a\")", 146},
      {"setcolor(256, 0, 0)", 252}, {"setcolor(1, 2)", 145},        {"mid$(\"a\")", 145},
      {"tab(3)", 130},              {"expanddatetime(0)", 295},      {"exp(1000)", 165},
      {"cot(0)", 165},              {"exp10(400)", 165},            {"asc(1)", 146},
      {"len()", 193},               {"chr$()", 193},                {"rnd()", 193},
  };
  for (const auto& c : cases) {
    port.output.clear();
    EXPECT_LT(eval(c.text), 0) << c.text;
    EXPECT_TRUE(reported_code(c.code)) << c.text << "\n" << port.output;
  }
}

TEST_F(FnTest, RndFollowsTheLanguageGenerator) {
  EXPECT_EQ(eval_double("rnd(0)"), 0.0);
  // Seed 1 draws 41, 18467, 6334 first.
  double first = (6334.0 + (18467.0 + 41.0 / 32768.0) / 32768.0) / 32768.0;
  EXPECT_EQ(eval_double("rnd(1)"), first);
  EXPECT_EQ(eval_double("rnd(0)"), first);
  double second = eval_double("rnd(1)");
  EXPECT_NE(second, first);
  EXPECT_GE(second, 0.0);
  EXPECT_LT(second, 1.0);

  double reseeded = eval_double("rnd(-5)");
  double next = eval_double("rnd(1)");
  EXPECT_EQ(eval_double("rnd(-5)"), reseeded);
  EXPECT_EQ(eval_double("rnd(1)"), next);
  EXPECT_EQ(eval_double("rnd(-4294967295)"), eval_double("rnd(-4294967295)"));
}

TEST_F(FnTest, StrLeavesThePrintStateAlone) {
  std::snprintf(print_format, print_format_size, "%s", "##.##");
  print_using_active = 1;
  print_format_is_default = 0;
  EXPECT_EQ(eval_string("str$(2, \"%5.1f\")"), "  2.0");
  EXPECT_STREQ(print_format, "##.##");
  EXPECT_EQ(print_using_active, 1);
  EXPECT_EQ(print_format_is_default, 0);
}

TEST_F(FnTest, SkipModeEvaluatesNothingButNeedsTheList) {
  expr_item bogus[1]{};
  bogus[0].type = ITEM_OPERATOR;
  no_execute = 1;
  EXPECT_EQ(do_function(FUNC_MID_STR, bogus, 1), ITEM_DOUBLE);
  EXPECT_EQ(double_accumulator, 0.0);
  EXPECT_STREQ(string_accumulator, "");
  EXPECT_LT(do_function(FUNC_ABS, nullptr, FUNCTION_NO_ARGUMENT_LIST), 0);
  EXPECT_TRUE(reported_code(193)) << port.output;
  port.output.clear();
  EXPECT_EQ(do_function(FUNC_LEFT_STR, nullptr, 0), -193);  // an empty "()" too
  EXPECT_TRUE(reported_code(193)) << port.output;
  no_execute = 0;
}

}  // namespace
