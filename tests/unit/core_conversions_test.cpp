// Text-to-double conversion, the raw "0x" form, the range check and the
// 17-digit rule.
#include <cmath>
#include <cstring>
#include <string>

#include "core_test_support.h"
#include "interpreter/conversions.h"
#include "interpreter/long_bridge.h"
#include "rizozira/long_number.h"

namespace {

class CoreConversionsTest : public StartedCoreTest {
 protected:
  int convert(const char* text, int range_check, int report) {
    std::snprintf(string_accumulator, string_accumulator_size, "%s", text);
    return string_to_double(range_check, report);
  }
};

struct text_case {
  const char* text;
  int result;  // 2, or the negative code returned
  double value;
};

TEST_F(CoreConversionsTest, DecimalTextToDouble) {
  const text_case cases[] = {
      {"  -1.5e3", 2, -1500},   {"0.05", 2, 0.05},    {"000", 2, 0},       {"-0", 2, 0},
      {"1.5.3", -148, 0},       {"12a", -149, 0},     {"", -150, 0},       {"-", -150, 0},
      {"1e1000001", -151, 0},   {"1e1000000", -164, 0}, {".5", 2, 0.5},    {"123456789012345678901234567890123456789", 2, 1.2345678901234568e38},
      {"0.000000000000000000001", 2, 1e-21}, {"1e-5", 2, 1e-5}, {"+7", 2, 7},
  };
  for (const text_case& c : cases) {
    int result = convert(c.text, 0, 0);
    EXPECT_EQ(result, c.result) << c.text;
    if (result == 2) {
      EXPECT_DOUBLE_EQ(double_accumulator, c.value) << c.text;
    }
  }
  EXPECT_EQ(port.output, "");  // nothing reported without `report`
}

TEST_F(CoreConversionsTest, ReportingPrintsTheParserErrorAndThenCouldNotConvert) {
  EXPECT_EQ(convert("12a", 0, 1), -99);
  EXPECT_LT(port.output.find("Invalid character in number string."),
            port.output.find("Could not convert number."));
}

TEST_F(CoreConversionsTest, RawBitPattern) {
  double pi = 3.141592653589793;
  std::uint64_t bits;
  std::memcpy(&bits, &pi, sizeof bits);
  char text[32];
  std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(bits));
  EXPECT_EQ(convert(text, 1, 1), 2);
  EXPECT_EQ(double_accumulator, pi);
  std::snprintf(text, sizeof text, "0X%016llx", static_cast<unsigned long long>(bits));
  EXPECT_EQ(convert(text, 1, 1), 2);
  EXPECT_EQ(double_accumulator, pi);
  EXPECT_EQ(convert("0x4009", 0, 0), -99);  // reported even without `report`
  EXPECT_TRUE(reported_code(99));
  port.output.clear();
  EXPECT_EQ(convert("0x400921FB54442D1G", 0, 0), -99);
  EXPECT_TRUE(reported_code(99));
}

// A "0x" text is a bit pattern whatever its digits look like: sixteen
// decimal-looking digits (17 with the leading 0) must not send it to the
// long-number converter, and a malformed one stops at error 99.
TEST_F(CoreConversionsTest, RawPatternIsRecognisedBeforeDigitsAreCounted) {
  const std::uint64_t bits = 0x4009211154442118ull;
  double expected;
  std::memcpy(&expected, &bits, sizeof expected);
  EXPECT_EQ(eval("\"0x4009211154442118\" * 1"), 2) << port.output;
  EXPECT_EQ(double_accumulator, expected);
  EXPECT_EQ(eval("\"0x4009211154442118\" * 12345678901234567"), 14) << port.output;
  port.output.clear();
  EXPECT_LT(eval("\"0x1234\" * 1"), 0);
  EXPECT_TRUE(reported_code(99)) << port.output;
  EXPECT_FALSE(reported_code(149)) << port.output;  // no decimal or long parse of the pattern
  long_all_mode = 1;
  EXPECT_EQ(eval("\"0x4009211154442118\" * 1"), 14) << port.output;
  long_all_mode = 0;
  ASSERT_EQ(long_to_double(long_accumulator, 1), 2);
  EXPECT_NEAR(double_accumulator, expected, 1e-12);
}

TEST_F(CoreConversionsTest, RangeCheckBounds) {
  const text_case cases[] = {
      {"2.2e-308", -1, 0}, {"1.8e308", -1, 0}, {"2.3e-308", 2, 2.3e-308}, {"1.7e308", 2, 1.7e308},
      {"2.225073858507201e-308", 2, 2.225073858507201e-308}, {"2.225073858507200e-308", -1, 0},
      {"1.797693134862315e308", 2, 1.797693134862315e308}, {"1.797693134862316e308", -1, 0},
      {"0", 2, 0},
  };
  for (const text_case& c : cases) {
    EXPECT_EQ(convert(c.text, 1, 0), c.result) << c.text;
    if (c.result == 2) {
      EXPECT_EQ(double_accumulator, c.value) << c.text;
    }
  }
}

TEST_F(CoreConversionsTest, DigitCountIgnoresTheExponent) {
  EXPECT_EQ(count_number_digits("00000000000000000001"), 20);
  EXPECT_EQ(count_number_digits("1.5e300"), 2);
  EXPECT_EQ(count_number_digits("-12.25"), 4);
}

TEST_F(CoreConversionsTest, ItemToNumberFollowsTheSeventeenDigitRule) {
  expr_item item;
  item.type = ITEM_NUMERIC_TEXT;
  std::uint32_t offset = 0;
  ASSERT_EQ(text_to_temp("1234567890123456", &offset), 0);
  item.value.bits = offset;
  EXPECT_EQ(item_to_number(item), 2);
  EXPECT_EQ(item.value.number, 1234567890123456.0);

  ASSERT_EQ(text_to_temp("00000000000000000001", &offset), 0);
  item = expr_item{};
  item.type = ITEM_NUMERIC_TEXT;
  item.value.bits = offset;
  EXPECT_EQ(item_to_number(item), 14) << port.output;

  ASSERT_EQ(text_to_temp("2.2e-308", &offset), 0);
  item = expr_item{};
  item.type = ITEM_STRING;
  item.value.bits = offset;
  EXPECT_EQ(item_to_number(item), 14) << port.output;

  item = expr_item{};
  item.type = ITEM_OPERATOR;
  EXPECT_LT(item_to_number(item), 0);
  EXPECT_TRUE(reported_code(144));
}

TEST_F(CoreConversionsTest, MixedOperandsUnifyToLongWhenEitherIsLong) {
  EXPECT_EQ(eval("\"5\" * 12345678901234567"), 14) << port.output;
  EXPECT_EQ(eval("\"5\" * 2"), 2);
  EXPECT_EQ(double_accumulator, 10.0);
  port.output.clear();
  EXPECT_LT(eval("\"five\" * 2"), 0);
  EXPECT_TRUE(reported_code(77)) << port.output;
}

TEST_F(CoreConversionsTest, OldConvertDropsTheSignOfZero) {
  long_old_convert = 1;
  EXPECT_EQ(convert("-0.0", 0, 1), 2);
  EXPECT_FALSE(std::signbit(double_accumulator));
  EXPECT_EQ(convert("-2.5", 0, 1), 2);
  EXPECT_EQ(double_accumulator, -2.5);
  long_old_convert = 0;
}

}  // namespace
