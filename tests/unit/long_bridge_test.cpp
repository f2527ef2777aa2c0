// The bridges between long numbers and the interpreter: operands taken from
// expression items, long text results stored into string arrays and
// variables, and the accumulators the results go through.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interpreter/errors.h"
#include "interpreter/long_bridge.h"
#include "interpreter/run_state.h"
#include "interpreter/variables.h"
#include "ports/frontend_port.h"
#include "tests/support/long_helpers.h"
#include "tests/support/scripted_port.h"

namespace {

// Fresh long-number pools and default modes, errors printed into `port`.
class LongBridgeTest : public ::testing::Test {
 protected:
  ScriptedPort port;

  void SetUp() override {
    install_frontend_port(&port);
    long_statics_init();
    ASSERT_EQ(long_var_pool_allocate(30000), 0);
    ASSERT_EQ(long_temp_pool_allocate(30000), 0);
    long_modes_run_start();
    long_reset_debug_options();
  }
  void TearDown() override {
    long_storage_free();
    long_modes_run_start();
    install_frontend_port(nullptr);
  }

  // A temporary holding the text's value.
  long_number* make(const std::string& text) {
    long_number* n = long_temp_alloc();
    EXPECT_NE(n, nullptr);
    if (n != nullptr) {
      EXPECT_EQ(long_convert_text(text.data(), text.size(), n, 1), 0) << text;
    }
    return n;
  }
};

class LongStoreTest : public LongBridgeTest {
 protected:
  value_slot elements[3] = {};
  array_entry array{};

  void SetUp() override {
    LongBridgeTest::SetUp();
    ASSERT_EQ(allocate_string_space(8192), 0);
    ASSERT_EQ(allocate_temp_strings(4096), 0);
    array.type = ITEM_STRING;
    array.dimension_count = 1;
    array.dimension_sizes[0] = 3;
    array.data = elements;
    no_execute = 0;
  }
  void TearDown() override {
    current_value_slot = nullptr;
    LongBridgeTest::TearDown();
  }

  expr_item array_item() {
    expr_item item;
    item.type = ITEM_STRING_ARRAY;
    item.array = &array;
    item.column = 4;
    return item;
  }
  std::string element(int i) { return string_space_text(elements[i].string_offset); }
};

TEST_F(LongStoreTest, ArrayTakesPiecesOf255UpToItsSize) {
  std::string text(764, '1');
  text[254] = 'a';  // last character of the first piece
  text[255] = 'b';  // first of the second
  expr_item item = array_item();
  EXPECT_EQ(long_store_text(&item, text.data(), static_cast<int>(text.size()), 0), 0);
  EXPECT_EQ(element(0).size(), 255u);
  EXPECT_EQ(element(0).back(), 'a');
  EXPECT_EQ(element(1).front(), 'b');
  EXPECT_EQ(element(2).size(), 254u);

  // A short text empties the elements after its last piece.
  EXPECT_EQ(long_store_text(&item, "42", 2, 0), 0);
  EXPECT_EQ(element(0), "42");
  EXPECT_EQ(element(1), "");
  EXPECT_EQ(element(2), "");

  // The joined elements read back as one number.
  std::string digits(300, '7');
  EXPECT_EQ(long_store_text(&item, digits.data(), 300, 0), 0);
  long_precision = 400;
  long_number* n = long_temp_alloc();
  EXPECT_EQ(long_convert_in(&item, n, 1), 0);
  EXPECT_EQ(long_text(n), digits + ".");
}

TEST_F(LongStoreTest, StoringErrors) {
  std::string text(765, '1');
  expr_item item = array_item();
  EXPECT_EQ(long_store_text(&item, text.data(), 765, 0), -158);
  EXPECT_EQ(long_store_text(&item, text.data(), 300, 1), -157);
  array.dimension_count = 2;
  EXPECT_EQ(long_store_text(&item, "1", 1, 0), -176);
  array.dimension_count = 1;

  expr_item other;
  other.type = ITEM_DOUBLE;
  other.column = 9;
  EXPECT_EQ(long_store_text(&other, "1", 1, 0), -155);
  EXPECT_EQ(error_column, 9);

  value_slot target{};
  current_value_slot = &target;
  expr_item variable;
  variable.type = ITEM_STRING;
  EXPECT_EQ(long_store_text(&variable, text.data(), 256, 0), -157);
  EXPECT_EQ(long_store_text(&variable, "-12.5", 5, 0), 3);
  EXPECT_STREQ(string_space_text(target.string_offset), "-12.5");

  // Nothing is stored while statements only parse.
  no_execute = 1;
  EXPECT_EQ(long_store_text(&variable, "9", 1, 0), 0);
  no_execute = 0;
  EXPECT_STREQ(string_space_text(target.string_offset), "-12.5");

  for (const char* message : {"Output array too small for long number or hex string.",
                              "RIZOZIRA - Output too long for a string variable.",
                              "Output array must be one-dimensional.",
                              "RIZOZIRA - First item (dest) must be string or array."}) {
    EXPECT_NE(port.output.find(message), std::string::npos) << message;
  }
}

TEST_F(LongStoreTest, StringOperandsAreScannedAtTheItemsColumn) {
  std::uint32_t offset = 0;
  ASSERT_EQ(text_to_temp("  -0.00125e+2", &offset), 0);
  expr_item item;
  item.type = ITEM_NUMERIC_TEXT;
  item.value.bits = offset;
  item.column = 3;
  long_number* n = long_temp_alloc();
  EXPECT_EQ(long_convert_in(&item, n, 1), 0);
  EXPECT_EQ(item.type, static_cast<std::uint32_t>(ITEM_STRING));  // numeric text retyped
  EXPECT_EQ(long_text(n), "-.125");

  ASSERT_EQ(text_to_temp("1.2.3", &offset), 0);
  item.value.bits = offset;
  EXPECT_EQ(long_convert_in(&item, n, 0), -148);
  EXPECT_EQ(port.output.find("More than one"), std::string::npos);
  EXPECT_EQ(long_convert_in(&item, n, 1), -148);
  EXPECT_EQ(error_column, 3);
}

TEST_F(LongBridgeTest, ConvertInTakesLongsDoublesAndReportsOtherItems) {
  long_number* src = make("2.5");
  expr_item item;
  item.type = ITEM_LONG;
  item.value.long_value = src;
  long_number* dst = long_temp_alloc();
  EXPECT_EQ(long_convert_in(&item, dst, 1), 14);
  EXPECT_EQ(long_text(dst), "2.5");

  item.type = ITEM_DOUBLE;
  item.value.number = -0.25;
  EXPECT_EQ(long_convert_in(&item, dst, 1), 14);
  EXPECT_EQ(long_text(dst), "-.25");

  item.type = ITEM_OPERATOR;
  item.column = 7;
  EXPECT_EQ(long_convert_in(&item, dst, 1), -160);
  EXPECT_EQ(error_column, 7);
  EXPECT_NE(port.output.find("RIZOZIRA - Invalid - must be string or string array."), std::string::npos);
}

TEST_F(LongBridgeTest, WorkStringConversion) {
  std::strcpy(string_accumulator, "-1234567890123456789.5");
  string_accumulator_length = static_cast<std::int32_t>(std::strlen(string_accumulator));
  EXPECT_EQ(long_from_work_string(1), 14);
  EXPECT_EQ(long_text(long_accumulator), "-1234567890123456789.5");
  std::strcpy(string_accumulator, "12x");
  string_accumulator_length = 3;
  EXPECT_EQ(long_from_work_string(0), -149);
}

TEST_F(LongBridgeTest, ResultsReachTheAccumulators) {
  // A double result goes to double_accumulator.
  ASSERT_EQ(long_to_double(make("-2.5e10"), 1), ITEM_DOUBLE);
  EXPECT_EQ(double_accumulator, -2.5e10);
  // HEXCONVERT's text goes to string_accumulator.
  ASSERT_EQ(long_func_hexconvert_number(make("255.5")), ITEM_STRING);
  EXPECT_EQ(std::string(string_accumulator, static_cast<std::size_t>(string_accumulator_length)), "FF.8");
  // A failed conversion leaves the string accumulator as it was.
  EXPECT_EQ(long_func_hexconvert_number(make("1e400")), -269);
  EXPECT_EQ(std::string(string_accumulator, static_cast<std::size_t>(string_accumulator_length)), "FF.8");
  EXPECT_NE(port.output.find("ERROR - "), std::string::npos);
}

}  // namespace
