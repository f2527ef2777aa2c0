// The named-variable channel.
#include <cmath>
#include <cstring>
#include <string>

#include "core_test_support.h"
#include "interpreter/long_bridge.h"
#include "interpreter/named_vars.h"
#include "interpreter/scanner.h"
#include "rizozira/long_number.h"

namespace {

class CoreNamedVarsTest : public StartedCoreTest {
 protected:
  void set(const std::string& name, double value) {
    ASSERT_EQ(eval(name), 2);
    variable_table[find_variable(name)].value.number = value;
  }
};

TEST_F(CoreNamedVarsTest, GetIntReadsExistingDoublesOnly) {
  std::int32_t value = 7;
  EXPECT_EQ(get_named_var_int("sincrossover1", &value), 18);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(variable_count, 0u);  // the lookup creates nothing
  set("sincrossover1", 12.9);
  EXPECT_EQ(get_named_var_int("sincrossover1", &value), 0);
  EXPECT_EQ(value, 12);

  const double out_of_range[] = {3e9, -2147483648.0, NAN};
  for (double v : out_of_range) {
    set("big", v);
    value = 5;
    EXPECT_EQ(get_named_var_int("big", &value), 2) << v;
    EXPECT_EQ(value, 0);
  }
  set("edge", 2147483647.0);
  EXPECT_EQ(get_named_var_int("edge", &value), 0);
  EXPECT_EQ(value, 2147483647);
  EXPECT_EQ(get_named_var_int("longpi", &value), 15);  // a special name is not a variable
  EXPECT_EQ(port.output, "");
}

TEST_F(CoreNamedVarsTest, SetWritesNumericVariablesAndElementsOnly) {
  EXPECT_EQ(eval_string("s$"), "");
  EXPECT_EQ(set_named_var_int("s$", 4), 3);
  EXPECT_EQ(set_named_var_int("sincalctime(3)", 25), -1);  // no DIM: nothing written, nothing created
  EXPECT_EQ(variable_count, 1u);
  ASSERT_EQ(scan("sincalctime(4)", GI_DIM), 2);
  EXPECT_EQ(set_named_var_int("sincalctime(3)", 25), 0);
  EXPECT_EQ(array_table[find_array("sincalctime")].data[3].number, 25.0);
  double d = 0;
  EXPECT_EQ(set_named_var_double("tick_incr", 0.5), 18);
  set("tick_incr", 0);
  EXPECT_EQ(set_named_var_double("tick_incr", 0.5), 0);
  EXPECT_EQ(get_named_var_double("tick_incr", &d), 0);
  EXPECT_EQ(d, 0.5);
}

TEST_F(CoreNamedVarsTest, ChannelPreservesTheCallersState) {
  set("killbuttontimercheck", 3);
  std::snprintf(string_accumulator, string_accumulator_size, "caller text");
  double_accumulator = 9.25;
  error_column = 17;
  value_slot dummy{};
  current_value_slot = &dummy;
  std::int32_t value = 0;
  EXPECT_EQ(get_named_var_int("killbuttontimercheck", &value), 0);
  EXPECT_EQ(value, 3);
  EXPECT_STREQ(string_accumulator, "caller text");
  EXPECT_EQ(double_accumulator, 9.25);
  EXPECT_EQ(error_column, 17);
  EXPECT_EQ(current_value_slot, &dummy);
}

TEST_F(CoreNamedVarsTest, ChannelPreservesTheLongAccumulator) {
  long_all_mode = 1;
  ASSERT_EQ(eval("lv"), 14);  // a long variable
  long_all_mode = 0;
  ASSERT_EQ(long_from_int(long_accumulator, 777), 0);
  ASSERT_EQ(assign_long_variable(&variable_table[find_variable("lv")].value), 14);
  ASSERT_EQ(long_from_int(long_accumulator, 1234), 0);
  std::int32_t value = 0;
  EXPECT_EQ(get_named_var_int("lv", &value), 14);  // not a double variable
  EXPECT_EQ(long_to_double(long_accumulator, 1), 2);
  EXPECT_EQ(double_accumulator, 1234.0);
}

TEST_F(CoreNamedVarsTest, SetStringCreatesTheVariableAndKeepsTheAccumulator) {
  std::snprintf(string_accumulator, string_accumulator_size, "translated");
  EXPECT_NE(named_string_var_exists("translated_string$"), 0);
  EXPECT_EQ(set_named_var_string("translated_string$"), 0);
  EXPECT_STREQ(string_accumulator, "translated");
  EXPECT_EQ(named_string_var_exists("translated_string$"), 0);
  EXPECT_EQ(eval_string("translated_string$"), "translated");
  EXPECT_EQ(set_named_var_string("plainnumber"), 2);
}

// A string that does not fit even after houseclean is not delivered: the
// channel returns the store's error instead of 0.
TEST_F(CoreNamedVarsTest, SetStringReportsAFullStringSpace) {
  size_settings[SIZE_STRING_SPACE].current = 1000;
  ASSERT_EQ(start(), 0);
  for (int i = 0; i < 4; ++i) {
    std::string name = "fill" + std::to_string(i) + "$";
    std::snprintf(string_accumulator, string_accumulator_size, "%s", std::string(200, 'f').c_str());
    ASSERT_EQ(set_named_var_string(name.c_str()), 0) << port.output;
  }
  std::snprintf(string_accumulator, string_accumulator_size, "%s", std::string(250, 't').c_str());
  EXPECT_EQ(set_named_var_string("translated_string$"), -109);
  EXPECT_TRUE(reported_code(109));
  EXPECT_EQ(std::string(string_accumulator), std::string(250, 't'));
  EXPECT_EQ(eval_string("translated_string$"), "");  // created, but nothing stored
}

TEST_F(CoreNamedVarsTest, ChannelKeepsTheCallersCurrentName) {
  set("expcrossover1", 4);
  ASSERT_EQ(scan("target", GI_STATEMENT_START), 2);
  item_is_parameter = 1;
  std::int32_t value = 0;
  EXPECT_EQ(get_named_var_int("expcrossover1", &value), 0);
  EXPECT_EQ(value, 4);
  EXPECT_STREQ(current_name, "target");
  EXPECT_EQ(item_is_parameter, 1);

  ASSERT_EQ(scan("sincalctime(4)", GI_DIM), 2);
  array_entry* entry = &array_table[find_array("sincalctime")];
  last_array_entry = entry;  // as a one-item expression of an array leaves it
  EXPECT_EQ(set_named_var_int("sincalctime(3)", 25), 0);  // its subscript is an expression
  EXPECT_EQ(entry->data[3].number, 25.0);
  EXPECT_EQ(last_array_entry, entry);
}

}  // namespace
