// Long text results stored into string arrays and variables, and string
// arrays read back as one long operand.
#include <string>

#include "interpreter/errors.h"
#include "interpreter/variables.h"
#include "long_test_support.h"

namespace {

class LongStoreTest : public LongFixture {
 protected:
  value_slot elements[3] = {};
  array_entry array{};

  void SetUp() override {
    LongFixture::SetUp();
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
    LongFixture::TearDown();
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

}  // namespace
