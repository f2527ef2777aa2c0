// Variables, arrays, string space, houseclean and the capacity errors.
#include <cstring>
#include <string>

#include "core_test_support.h"
#include "interpreter/declarations.h"
#include "interpreter/scanner.h"

namespace {

class CoreVariablesTest : public CoreTest {
 protected:
  int dim(const std::string& declaration) { return scan(declaration, GI_DIM); }
  // Assigns text to the string variable name (created on first use).
  value_slot* assign(const std::string& name, const std::string& value) {
    EXPECT_EQ(scan(name, GI_STATEMENT_START), 3) << name;
    value_slot* slot = current_value_slot;
    std::snprintf(string_accumulator, string_accumulator_size, "%s", value.c_str());
    EXPECT_EQ(assign_string_variable(slot, 0), 3) << port.output;
    return slot;
  }
};

TEST_F(CoreVariablesTest, FirstMentionCreatesZeroAndEmpty) {
  ASSERT_EQ(start(), 0);
  EXPECT_DOUBLE_EQ(eval_double("x"), 0.0);
  EXPECT_EQ(eval_string("a$"), "");
  EXPECT_GE(find_variable("X"), 0);  // names compare without case
  EXPECT_GE(find_variable("a$"), 0);
  EXPECT_EQ(find_variable("a"), -1);
}

struct subscript_case {
  const char* text;
  int code;  // 0: valid
  std::size_t index;
};

TEST_F(CoreVariablesTest, SubscriptsAreRangeCheckedBeforeUse) {
  ASSERT_EQ(start(), 0);
  ASSERT_EQ(dim("a(10)"), 2) << port.output;
  ASSERT_EQ(dim("m(2,3)"), 2) << port.output;
  const subscript_case cases[] = {
      {"a(0)", 0, 0},       {"a(9)", 0, 9},     {"a(9.7)", 0, 9},   {"a(10)", 70, 0},
      {"a(-1)", 70, 0},     {"a(1,2)", 72, 0},  {"a(1e300)", 70, 0}, {"a(\"0x7FF8000000000000\")", 70, 0},
      {"a(\"0xFFF0000000000000\")", 70, 0},     {"m(1,2)", 0, 5},   {"m(0,3)", 70, 0},
      {"a()", 193, 0},      {"a(\"z\")", 70, 0},
  };
  for (const subscript_case& c : cases) {
    port.output.clear();
    int result = eval(c.text);
    if (c.code == 0) {
      EXPECT_EQ(result, 2) << c.text << "\n" << port.output;
      const array_entry& entry = array_table[find_array(std::string(c.text).substr(0, 1))];
      EXPECT_EQ(current_value_slot, entry.data + c.index) << c.text;
    } else {
      EXPECT_LT(result, 0) << c.text;
      EXPECT_TRUE(reported_code(c.code)) << c.text << "\n" << port.output;
    }
  }
}

struct dim_case {
  const char* text;
  int code;
};

TEST_F(CoreVariablesTest, DimErrors) {
  ASSERT_EQ(start(), 0);
  ASSERT_EQ(eval("x"), 2);
  const dim_case cases[] = {
      {"b(0)", 92},  {"b(0.5)", 92}, {"b(1,2,3,4,5,6,7)", 89}, {"x(5)", 270},
      {"b(\"q\")", 92}, {"b(1e12,1e12)", 93}, {"b(\"0x7FF8000000000000\")", 92},
      {"b(1e300)", 93}, {"b(600000000)", 93}, {"b(70000,70000)", 93}, {"b(65536,65536,65536,65536,65536,65536)", 93},
      {"b(\"0x7FF0000000000000\")", 93}, {"b(1e300, 0)", 92},
  };
  for (const dim_case& c : cases) {
    port.output.clear();
    std::uint32_t arrays = array_count;
    std::uint32_t names_used = array_names_used;
    EXPECT_LT(dim(c.text), 0) << c.text;
    EXPECT_TRUE(reported_code(c.code)) << c.text << "\n" << port.output;
    EXPECT_EQ(array_count, arrays) << c.text;
    EXPECT_EQ(array_names_used, names_used) << c.text;  // a refused DIM keeps no name bytes
  }
  ASSERT_EQ(dim("y(2.9)"), 2);
  EXPECT_EQ(array_table[find_array("y")].dimension_sizes[0], 2u);
  EXPECT_EQ(eval("y"), 20);  // the plain name is the whole array
  ASSERT_EQ(dim("s$(3)"), 3);
  EXPECT_EQ(eval("s$"), 13);
}

TEST_F(CoreVariablesTest, StringAssignmentReusesOrTakesSpace) {
  ASSERT_EQ(start(), 0);
  value_slot* slot = assign("t$", "hello");
  std::uint32_t first = slot->string_offset;
  EXPECT_NE(first, 0u);
  assign("t$", "hi");
  EXPECT_EQ(slot->string_offset, first);  // shorter: in place
  EXPECT_EQ(eval_string("t$"), "hi");
  assign("t$", "a longer text");
  EXPECT_GT(slot->string_offset, first);  // longer: new space
  assign("t$", "");
  EXPECT_EQ(slot->string_offset, 0u);
}

struct justify_case {
  const char* old_text;
  const char* text;
  int mode;
  const char* result;
};

TEST_F(CoreVariablesTest, LsetAndRsetKeepTheLength) {
  ASSERT_EQ(start(), 0);
  const justify_case cases[] = {
      {"12345", "ab", 2, "   ab"}, {"12345", "ab", 1, "ab   "}, {"", "ab", 1, ""},
      {"12345", "abcdefg", 2, "abcde"}, {"12345", "abcde", 1, "abcde"},
  };
  for (const justify_case& c : cases) {
    value_slot* slot = assign("j$", c.old_text);
    std::snprintf(string_accumulator, string_accumulator_size, "%s", c.text);
    EXPECT_EQ(assign_string_variable(slot, c.mode), 3);
    EXPECT_EQ(eval_string("j$"), c.result) << c.old_text << " " << c.text;
  }
}

TEST_F(CoreVariablesTest, HousecleanCompactsAndFullSpaceIsError109) {
  size_settings[SIZE_STRING_SPACE].current = 1000;
  ASSERT_EQ(start(), 0);
  value_slot* keep = assign("keep$", "kept");
  // Growing strings abandon their old text; houseclean must reclaim it.
  for (int length = 1; length <= 200; ++length) assign("grow$", std::string(static_cast<std::size_t>(length), 'g'));
  EXPECT_EQ(eval_string("keep$"), "kept");
  EXPECT_EQ(eval_string("grow$"), std::string(200, 'g'));
  EXPECT_EQ(keep->string_offset, 1u);  // order of first reference, no gaps
  EXPECT_EQ(houseclean(), 0);
  EXPECT_EQ(string_space_used, 1u + 5u + 201u);

  // Live strings beyond the space.
  int failures = 0;
  for (int i = 0; i < 6 && failures == 0; ++i) {
    EXPECT_EQ(scan("big" + std::to_string(i) + "$", GI_STATEMENT_START), 3);
    std::snprintf(string_accumulator, string_accumulator_size, "%s", std::string(200, 'b').c_str());
    if (assign_string_variable(current_value_slot, 0) < 0) ++failures;
  }
  EXPECT_EQ(failures, 1);
  EXPECT_TRUE(reported_code(109));
}

TEST_F(CoreVariablesTest, HousecleanUnderDebugPrintsUsage) {
  ASSERT_EQ(start(), 0);
  debug_mode = 1;
  EXPECT_EQ(houseclean(), 0);
  debug_mode = 0;
  EXPECT_NE(port.output.find("Var.  Name  Space Used:    0, max:  2000\n"), std::string::npos) << port.output;
  EXPECT_NE(port.output.find("Next Temp String offset:   1, \n"), std::string::npos) << port.output;
}

TEST_F(CoreVariablesTest, TableAndNameSpaceLimits) {
  size_settings[SIZE_NUM_VARIABLES].current = 30;
  ASSERT_EQ(start(), 0);
  for (int i = 0; i < 30; ++i) ASSERT_EQ(eval("v" + std::to_string(i)), 2) << port.output;
  EXPECT_LT(eval("v30"), 0);
  EXPECT_TRUE(reported_code(97));
  clear_all_variables();
  size_settings[SIZE_NUM_VARIABLES].current = 200;
  size_settings[SIZE_VARIABLE_NAME_SPACE].current = 100;
  ASSERT_EQ(start(), 0);
  port.output.clear();
  int created = 0;
  while (eval(std::string(9, 'n') + std::to_string(created)) == 2) ++created;
  EXPECT_EQ(created, 9);  // eleven bytes each with the NUL, 100 bytes of room
  EXPECT_TRUE(reported_code(96));
}

TEST_F(CoreVariablesTest, ClearRemovesEverything) {
  ASSERT_EQ(start(), 0);
  assign("c$", "text");
  ASSERT_EQ(dim("arr(4)"), 2);
  clear_all_variables();
  EXPECT_EQ(variable_count, 0u);
  EXPECT_EQ(array_count, 0u);
  EXPECT_EQ(string_space_used, 1u);
  EXPECT_EQ(find_array("arr"), -1);
}

// Name lookups go through an index of each table; after CLEAR, ERASE (which
// closes the gap in the array table) and a new DIM they must still find
// exactly the entry a scan of the table finds.
TEST_F(CoreVariablesTest, LookupsFollowTheTablesThroughClearAndErase) {
  size_settings[SIZE_NUM_VARIABLES].current = 1000;
  size_settings[SIZE_VARIABLE_NAME_SPACE].current = 60000;
  ASSERT_EQ(start(), 0);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(eval("Var" + std::to_string(i)), 2) << i << port.output;
  for (int i = 0; i < 1000; i += 37) EXPECT_EQ(find_variable("vAR" + std::to_string(i)), i);
  EXPECT_EQ(find_variable("var1000"), -1);
  EXPECT_LT(eval("var1000"), 0);
  EXPECT_TRUE(reported_code(97));
  clear_all_variables();
  EXPECT_EQ(find_variable("var5"), -1);
  ASSERT_EQ(eval("other"), 2);
  EXPECT_EQ(find_variable("OTHER"), 0);

  ASSERT_EQ(dim("p(2)"), 2);
  ASSERT_EQ(dim("q$(3)"), 3);
  ASSERT_EQ(dim("r(4)"), 2);
  EXPECT_EQ(erase_arrays_named("q$"), 1);
  EXPECT_EQ(find_array("q$"), -1);
  EXPECT_EQ(find_array("R"), 1);  // moved down into the gap
  EXPECT_EQ(array_table[find_array("r")].dimension_sizes[0], 4u);
  ASSERT_EQ(dim("q$(5)"), 3);  // declared again, now last
  EXPECT_EQ(find_array("q$"), 2);
  EXPECT_EQ(array_table[find_array("q$")].dimension_sizes[0], 5u);
  EXPECT_EQ(find_array("p"), 0);
}

// Counts the blocks taken from the heap; can be told to refuse them.
int blocks_taken = 0;
bool refuse_blocks = false;
void* counting_allocator(std::size_t count, std::size_t size) {
  ++blocks_taken;
  return refuse_blocks ? nullptr : std::calloc(count, size);
}

TEST_F(CoreVariablesTest, HeapBlocksThatCannotBeHad) {
  ASSERT_EQ(start(), 0);
  store_allocator = counting_allocator;
  no_execute = 1;  // a skipped HOUSECLEAN takes no work area at all
  EXPECT_EQ(houseclean(), 0);
  no_execute = 0;
  EXPECT_EQ(blocks_taken, 0);
  refuse_blocks = true;
  EXPECT_LT(houseclean(), 0);
  EXPECT_TRUE(reported_code(3));
  port.output.clear();
  std::uint32_t names_used = array_names_used;
  EXPECT_LT(dim("big(10)"), 0);
  EXPECT_TRUE(reported_code(93));
  EXPECT_EQ(array_count, 0u);
  EXPECT_EQ(array_names_used, names_used);
  refuse_blocks = false;
  store_allocator = std::calloc;
  EXPECT_EQ(dim("big(10)"), 2);
}

struct capacity_case {
  size_setting_index setting;
  std::uint32_t value;
  const char* name_prefix;  // names declared until the store is full
  int code;
  int fitted;               // declarations that succeed first
};

// The array table, the array-name space and temporary-string space are fixed
// blocks: each reports its own error when full.
TEST_F(CoreVariablesTest, ArrayStoresAndTemporaryStringsReportWhenFull) {
  const capacity_case cases[] = {
      {SIZE_NUMBER_OF_ARRAYS, 20, "a", 163, 20},
      {SIZE_ARRAY_NAME_SPACE, 100, "longarrayname", 91, 6},  // 15 bytes each with the NUL
  };
  for (const capacity_case& c : cases) {
    size_settings_reset_current();
    size_settings[c.setting].current = c.value;
    ASSERT_EQ(start(), 0);
    port.output.clear();
    int fitted = 0;
    while (dim(c.name_prefix + std::to_string(fitted) + "(2)") == 2) ++fitted;
    EXPECT_EQ(fitted, c.fitted) << c.code;
    EXPECT_TRUE(reported_code(c.code)) << port.output;
  }
  size_settings_reset_current();
  size_settings[SIZE_TEMP_STRING_SPACE].current = 4096;
  ASSERT_EQ(start(), 0);
  std::string text = "\"" + std::string(250, 't') + "\"";
  std::string expression = text;
  for (int i = 0; i < 16; ++i) expression += " < " + text;  // 17 strings, 4267 bytes
  port.output.clear();
  EXPECT_LT(eval(expression), 0);
  EXPECT_TRUE(reported_code(14)) << port.output;
  EXPECT_EQ(temp_strings_used, 1u);  // released again after the failed expression
}

}  // namespace
