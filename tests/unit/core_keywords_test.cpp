// Keyword tables, token codes, predefined variables and start-up sizes.
#include <string>

#include "core_test_support.h"
#include "frontend/console_mode.h"
#include "interpreter/file_table.h"
#include "interpreter/keywords.h"
#include "rizozira/long_number.h"

namespace {

class CoreKeywordsTest : public CoreTest {};

struct lookup_case {
  const keyword_table* table;
  const char* name;
  int token;
};

TEST_F(CoreKeywordsTest, TokenIsThePositionOfTheWord) {
  ASSERT_EQ(start(), 0) << port.output;
  const lookup_case cases[] = {
      {&statement_keywords, "changeshape", 70},   {&statement_keywords, "PRINT", 22},
      {&statement_keywords, "Print", 22},         {&statement_keywords, "beep", 0},
      {&function_keywords, "select", 56},         {&function_keywords, "****", 41},
      {&special_name_keywords, "choosefont$", 12}, {&debug_option_keywords, "mousecheckforward", 18},
      {&debug_option_keywords, "mousecheck", -1}, {&shape_keywords, "reset", 52},
      {&shape_keywords, "", -1},                  {&shape_keywords, "outline", 50},
      {&command_keywords, "LOAD", 4},             {&long_timer_keywords, "convert", 14},
      {&graph_keywords, "lockscreen", 34},        {&plot_keywords, "smooth", 10},
      {&text_keywords, "justify", 18},            {&changeshape_keywords, "polycount", 31},
      {&relational_operators, "<>", 5},           {&logical_operators, "not", 4},
  };
  for (const lookup_case& c : cases) EXPECT_EQ(keyword_lookup(*c.table, c.name), c.token) << c.name;
  EXPECT_EQ(shape_keywords.count, 53);
  EXPECT_STREQ(keyword_word(shape_keywords, 51), "");
}

TEST_F(CoreKeywordsTest, PredefinedVariablesStartWithTheirValues) {
  ASSERT_EQ(start(), 0);
  EXPECT_EQ(find_predefined_variable("Pi"), PREDEF_PI);
  EXPECT_EQ(find_predefined_variable("KEYSTATE"), PREDEF_KEYSTATE);
  EXPECT_EQ(predefined_count, 14);
  EXPECT_DOUBLE_EQ(eval_double("floatingptlength"), 50);
  EXPECT_DOUBLE_EQ(eval_double("lastshapeid"), -1);
  EXPECT_DOUBLE_EQ(eval_double("defaultprinttabs"), 14);
  EXPECT_EQ(eval_string("defaultprintformat$$"), "%13.6g");
  EXPECT_EQ(eval_string("printformatmax$$"), "%23.18g");
  EXPECT_EQ(set_predefined_string(PREDEF_DATE, std::string(100, 'd')), 0);
  EXPECT_EQ(std::string(predefined_string(PREDEF_DATE)), std::string(63, 'd'));
  EXPECT_EQ(set_predefined_double(PREDEF_DATE, 1.0), -1);
}

struct size_case {
  std::uint32_t long_space;
  std::uint32_t temp_space;
  std::int32_t long_slots;
  std::int32_t temp_slots;
};

TEST_F(CoreKeywordsTest, StoresFollowTheSizeSettings) {
  // Long pools hold whole 300-byte slots; the rest of a setting is not taken.
  const size_case cases[] = {{9000, 4500, 30, 15}, {9299, 6000, 30, 20}, {30000, 6299, 100, 20}};
  for (const size_case& c : cases) {
    size_settings[SIZE_LONG_NUMBER_SPACE].current = c.long_space;
    size_settings[SIZE_TEMP_LONG_NUMBER_SPACE].current = c.temp_space;
    ASSERT_EQ(start(), 0) << port.output;
    EXPECT_EQ(long_var_pool_size, c.long_slots * long_slot_bytes) << c.long_space;
    EXPECT_EQ(long_temp_pool_size, c.temp_slots * long_slot_bytes) << c.temp_space;
  }
  size_settings[SIZE_NUMBER_OF_FILES].current = 5;
  size_settings[SIZE_NUM_VARIABLES].current = 30;
  size_settings[SIZE_STRING_SPACE].current = 1000;
  ASSERT_EQ(start(), 0);
  EXPECT_EQ(number_of_files, 5);
  EXPECT_EQ(file_table[0].width, 80);
  EXPECT_EQ(file_table[6].width, 255);
  EXPECT_EQ(variable_capacity, 30u);
  EXPECT_EQ(string_space_size, 1000u);
  EXPECT_EQ(string_space_used, 1u);
  EXPECT_EQ(temp_strings_used, 1u);
}

// An allocator that refuses the one block of fail_count records.
std::size_t fail_count = 0;
void* failing_allocator(std::size_t count, std::size_t size) {
  return count == fail_count ? nullptr : std::calloc(count, size);
}

struct store_failure_case {
  size_setting_index setting;
  std::uint32_t value;  // a size no other store asks for
  const char* message;
};

// Each store that cannot be had is reported with its own message, start-up
// stops there (the next store keeps its old size), and the console loop then
// reports "Initialization Error." and runs nothing.
TEST_F(CoreKeywordsTest, StoreThatCannotBeAllocatedStopsTheStartUp) {
  const store_failure_case cases[] = {
      {SIZE_NUM_VARIABLES, 31, "Unable to allocate storage for Variable Table."},
      {SIZE_VARIABLE_NAME_SPACE, 1234, "Unable to Allocate storage for Variable Names."},
      {SIZE_NUMBER_OF_ARRAYS, 21, "Unable to allocate storage for Array Table."},
      {SIZE_ARRAY_NAME_SPACE, 1235, "Unable to Allocate storage for Array Names."},
      {SIZE_STRING_SPACE, 1236, "Unable to Allocate storage for String Variables."},
      {SIZE_TEMP_STRING_SPACE, 4097, "Unable to Allocate storage for Temporary Strings"},
  };
  for (const store_failure_case& c : cases) {
    size_settings_reset_current();
    ASSERT_EQ(start(), 0) << port.output;
    std::uint32_t temp_before = temp_strings_size;
    size_settings[c.setting].current = c.value;
    size_settings[SIZE_TEMP_STRING_SPACE].current = c.setting == SIZE_TEMP_STRING_SPACE ? c.value : 4100;
    fail_count = c.value;
    store_allocator = failing_allocator;
    port.output.clear();
    EXPECT_LT(console_command_loop(), 0) << c.message;
    store_allocator = std::calloc;
    EXPECT_EQ(port.output, std::string("ERROR - ") + c.message + "\nERROR - Initialization Error.\n");
    if (c.setting != SIZE_TEMP_STRING_SPACE) {
      EXPECT_EQ(temp_strings_size, temp_before) << c.message;  // a later store was not touched
    }
  }
  size_settings_reset_current();
  EXPECT_EQ(start(), 0);
}

}  // namespace
