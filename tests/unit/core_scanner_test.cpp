// The item scanner: names, keywords, literals, operators, DATA values and
// the lookup order of tables.
#include <cstring>
#include <string>

#include "core_test_support.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/keywords.h"
#include "interpreter/scanner.h"

namespace {

class CoreScannerTest : public StartedCoreTest {};

struct token_case {
  const char* text;
  int flags;
  int result;
  long long token;
  const char* rest;
};

TEST_F(CoreScannerTest, KeywordsOperatorsAndComparisons) {
  const token_case cases[] = {
      {"print x", GI_STATEMENT_START, 7, STMT_PRINT, " x"},
      {"PRINT", 0, 7, STMT_PRINT, ""},
      {"?x", 0, 7, STMT_PRINT, "x"},
      {"??x", 0, 7, STMT_DEBUGPRINT, "x"},
      {"// note", 0, 7, STMT_REM, " note"},
      {"input(1)", 0, 5, FUNC_INPUT, "(1)"},  // unevaluated below via flag 0x200
      {"input #1", GI_STATEMENT_START, 7, STMT_INPUT, " #1"},
      {"changeshape", GI_STATEMENT_START, 7, STMT_CHANGESHAPE, ""},
      {"list", 0, 12, CMD_LIST, ""},
      {"AND", 0, 6, LOGICAL_AND, ""},
      {"<>", 0, 10, REL_NOT_EQUAL, ""},
      {"><", 0, 10, REL_GREATER, "<"},
      {"=<", 0, 10, REL_EQUAL, "<"},
      {">=", 0, 10, REL_GREATER_EQUAL, ""},
      {"%", 0, 4, '%', ""},
      {"choosefont$", GI_STATEMENT_START, 15, SPECIAL_CHOOSEFONT_STR, ""},
      {"Pi", GI_STATEMENT_START, 11, PREDEF_PI, ""},
  };
  for (const token_case& c : cases) {
    int flags = c.flags;
    if (c.result == 5) flags |= GI_UNEVALUATED;
    int result = scan(c.text, flags);
    EXPECT_EQ(result, c.result) << c.text << "\n" << port.output;
    if (c.result == 4) {
      EXPECT_EQ(item.value.op, static_cast<char>(c.token)) << c.text;
    } else {
      EXPECT_EQ(item.value.token, c.token) << c.text;
    }
    EXPECT_EQ(rest(), c.rest) << c.text;
  }
}

TEST_F(CoreScannerTest, BareNamesAndDefNames) {
  EXPECT_EQ(scan("abc(1)", GI_NAME_ONLY), 0);
  EXPECT_STREQ(string_accumulator, "abc");
  EXPECT_EQ(rest(), "(1)");
  EXPECT_EQ(scan("print", GI_NAME_ONLY), 0);  // no table is searched
  EXPECT_STREQ(string_accumulator, "print");
  EXPECT_EQ(scan("freename(x)", GI_DEF_NAME), 18);
  EXPECT_STREQ(current_name, "freename");
  EXPECT_EQ(scan("sin(x)", GI_DEF_NAME), 5);
  EXPECT_EQ(scan("5(x)", GI_DEF_NAME), 18);
  EXPECT_STREQ(current_name, "");
  EXPECT_EQ(variable_count, 0u);
}

TEST_F(CoreScannerTest, NamesAndTheirLimits) {
  EXPECT_EQ(scan("a$b = 1", GI_STATEMENT_START), 2);  // one name, not a string name
  EXPECT_STREQ(current_name, "a$b");
  EXPECT_EQ(char_after_name, '=');
  EXPECT_EQ(scan("a_1$", 0), 3);
  EXPECT_STREQ(current_name, "a_1$");
  EXPECT_EQ(scan(std::string(60, 'n'), 0), 2);
  EXPECT_LT(scan(std::string(61, 'n'), 0), 0);
  EXPECT_TRUE(reported_code(84));
}

TEST_F(CoreScannerTest, LookupOnlyCreatesNothing) {
  std::uint32_t before = variable_count;
  EXPECT_EQ(scan("nosuch", GI_LOOKUP_ONLY), 18);
  EXPECT_STREQ(current_name, "nosuch");
  EXPECT_EQ(scan("nosuch(1)", GI_LOOKUP_ONLY), -1);
  EXPECT_EQ(variable_count, before);
  EXPECT_EQ(port.output, "");
  EXPECT_EQ(scan("nosuch", 0), 2);  // a first mention creates it
  EXPECT_EQ(variable_count, before + 1);
}

TEST_F(CoreScannerTest, PrescanCreatesNothing) {
  prescan_mode = no_execute = 1;
  std::uint32_t before = variable_count;
  EXPECT_EQ(scan("undeclared", 0), 2);
  EXPECT_EQ(scan("undeclared$", 0), 3);
  EXPECT_EQ(scan("undeclared(3)", 0), 2);
  EXPECT_EQ(variable_count, before);
  prescan_mode = no_execute = 0;
}

struct literal_case {
  std::string text;
  int flags;
  int result;     // positive: result; negative: error code expected
  std::string value;
};

TEST_F(CoreScannerTest, Literals) {
  const literal_case cases[] = {
      {"12.5e-3+1", 0, 16, "12.5e-3"},
      {"7", GI_STATEMENT_START, 8, "7"},
      {"\"a\\\"b\\\\c\\n\\+\\-\"", 0, 3, "a\"b\\c\n\x0F\x0E"},
      {"\"x\"", GI_STATEMENT_START, 9, "x"},
      {"\"" + std::string(254, 's') + "\"", 0, 3, std::string(254, 's')},
      {"\"" + std::string(255, 's') + "\"", 0, -101, ""},
      {"\"open", 0, -100, ""},
      {"\"ends with\\", 0, -100, ""},
      {".e5", 0, -179, ""},
      {"1e", 0, -205, ""},
      {"1.2.3", 0, -148, ""},
      {std::string(256, '1'), 0, -98, ""},
  };
  for (const literal_case& c : cases) {
    port.output.clear();
    int result = scan(c.text, c.flags);
    if (c.result > 0) {
      EXPECT_EQ(result, c.result) << c.text << "\n" << port.output;
      EXPECT_EQ(std::string(string_accumulator), c.value) << c.text;
    } else {
      EXPECT_LT(result, 0) << c.text;
      EXPECT_TRUE(reported_code(-c.result)) << c.text << "\n" << port.output;
    }
  }
}

TEST_F(CoreScannerTest, DataValues) {
  EXPECT_EQ(scan("12 , 3", GI_DATA_VALUE), 16);
  EXPECT_STREQ(string_accumulator, "12");
  EXPECT_EQ(scan("-4.5:", GI_DATA_VALUE), 16);
  EXPECT_STREQ(string_accumulator, "-4.5");
  EXPECT_EQ(scan("hello world  , 2", GI_DATA_VALUE), 3);
  EXPECT_STREQ(string_accumulator, "hello world");
  EXPECT_EQ(scan("width=5", GI_DATA_VALUE | GI_LIST | GI_WORD), 3);
  EXPECT_STREQ(string_accumulator, "width");
  EXPECT_EQ(scan("12abc", GI_DATA_VALUE | GI_NUMBER_THEN_TEXT), 22);
  EXPECT_STREQ(string_accumulator, "12");
  EXPECT_LT(scan("12abc", GI_DATA_VALUE), 0);
  EXPECT_TRUE(reported_code(119));
  EXPECT_EQ(scan("   ", GI_DATA_VALUE), 0);
}

TEST_F(CoreScannerTest, DeclarationsRefuseNonNames) {
  const literal_case cases[] = {
      {"+", GI_DIM, -224, ""},      {"=", GI_DIM, -83, ""},   {"and", GI_DIM, -225, ""},
      {"list", GI_DIM, -226, ""},   {"pi", GI_DIM, -227, ""}, {"5", GI_DIM, -227, ""},
      {"abs", GI_LONG, -86, ""},    {"(", GI_DIM, -217, ""},  {"print", GI_DIM, -85, ""},
      {"plain", GI_DIM, -95, ""},
  };
  for (const literal_case& c : cases) {
    port.output.clear();
    EXPECT_LT(scan(c.text, c.flags), 0) << c.text;
    EXPECT_TRUE(reported_code(-c.result)) << c.text << "\n" << port.output;
  }
}

TEST_F(CoreScannerTest, IndirectNamesAndElements) {
  ASSERT_EQ(eval("a1"), 2);  // creates a1
  variable_table[find_variable("a1")].value.number = 42;
  EXPECT_EQ(scan("@(\"a\" + \"1\")", 0), 2);
  EXPECT_EQ(double_accumulator, 42);
  EXPECT_LT(scan("@(\"\")", 0), 0);
  EXPECT_TRUE(reported_code(217));
  EXPECT_LT(scan("@ x", 0), 0);
  EXPECT_TRUE(reported_code(219));

  ASSERT_GT(scan("x(5)", GI_DIM), 0) << port.output;
  EXPECT_EQ(scan("x(2.9)", 0), 2);
  EXPECT_STREQ(current_name, "x(2)");
  EXPECT_EQ(current_value_slot, &array_table[find_array("x")].data[2]);
  EXPECT_EQ(scan("@(\"x\")(3)", 0), 2);  // the "(" after the indirect name subscripts it
  EXPECT_EQ(current_value_slot, &array_table[find_array("x")].data[3]);
  EXPECT_LT(scan("x(5)", GI_DIM), 0);
  EXPECT_TRUE(reported_code(29));
}

struct call_case {
  const char* text;
  int skipping;
  int result;  // > 0: the result type; < 0: the error code reported
};

// Only FORMATDATETIME$, MAKEDATETIME and user functions may be written without
// an argument list; any other function name alone is error 193, also in a
// statement being skipped.
TEST_F(CoreScannerTest, FunctionsCalledWithoutAnArgumentList) {
  const call_case cases[] = {
      {"formatdatetime$", 0, 3}, {"makedatetime", 0, 2}, {"MakeDateTime + 1", 0, 2},
      {"len", 0, -193},          {"sin + 1", 0, -193},   {"len", 1, -193},
      {"len (\"abc\")", 0, 2},
  };
  for (const call_case& c : cases) {
    port.output.clear();
    no_execute = c.skipping;
    int result = eval(c.text);
    no_execute = 0;
    if (c.result > 0) {
      EXPECT_EQ(result, c.result) << c.text << "\n" << port.output;
    } else {
      EXPECT_LT(result, 0) << c.text;
      EXPECT_TRUE(reported_code(-c.result)) << c.text << "\n" << port.output;
    }
  }
  ASSERT_EQ(eval("makedatetime"), 2);
  EXPECT_GT(double_accumulator, 1.7e9);  // seconds since 1970: now
}

TEST_F(CoreScannerTest, ElementNameHoldsSixLongSubscripts) {
  std::string name(60, 'm');
  ASSERT_GT(scan(name + "(1,1,1,1,1,1)", GI_DIM), 0) << port.output;
  EXPECT_EQ(scan(name + "(0,0,0,0,0,0)", 0), 2);
  EXPECT_EQ(std::string(current_name), name + "(0,0,0,0,0,0)");
}

}  // namespace

namespace {

// A FIELD over a string variable, built as the FIELD statement would.
class CoreFieldTest : public CoreScannerTest {
 protected:
  field_definition* definition = nullptr;
  void SetUp() override {
    CoreScannerTest::SetUp();
    definition = new field_definition{};
    definition->file_number = -1;
    std::snprintf(definition->names, sizeof definition->names, "rec$");
    std::snprintf(definition->names + 5, sizeof definition->names - 5, "part$");
    definition->entries[0] = field_entry{5, ITEM_FIELD, 2, 6};
    definition->entry_count = 1;
    field_table[0] = definition;
    field_count = 1;
  }
  void TearDown() override {
    free_field_table();
    CoreScannerTest::TearDown();
  }
};

TEST_F(CoreFieldTest, ReadStopsAtTheEndOfAShortStringAndPads) {
  ASSERT_EQ(scan("rec$", GI_STATEMENT_START), 3);
  std::snprintf(string_accumulator, string_accumulator_size, "abcd");
  ASSERT_EQ(assign_string_variable(current_value_slot, 0), 3);
  EXPECT_EQ(eval_string("part$ + \"|\""), "cd    |");
  EXPECT_EQ(scan("part$", GI_STATEMENT_START), ITEM_FIELD);
  EXPECT_EQ(field_target_start, 2u);
  EXPECT_EQ(field_target_width, 6u);
  EXPECT_EQ(field_target_file, -1);
  EXPECT_EQ(current_value_slot, definition->string_slot);
  clear_all_variables();
  EXPECT_EQ(definition->string_slot, nullptr);
  EXPECT_EQ(eval_string("part$"), "      ");  // resolves the (new, empty) variable again
  EXPECT_NE(definition->string_slot, nullptr);
}

}  // namespace

namespace {

TEST_F(CoreFieldTest, FieldNamedLikeItsOwnVariableResolvesThePlainVariable) {
  std::memcpy(definition->names, "part$\0part$", 12);  // variable, then the entry
  definition->entries[0].name_position = 6;
  EXPECT_EQ(eval_string("part$"), "      ");
  EXPECT_EQ(current_value_slot, &variable_table[find_variable("part$")].value);
}

struct file_field_case {
  std::uint32_t handle;
  std::uint32_t mode;
  std::int32_t record_length;
  int code;  // 0: reads "456789"
};

TEST_F(CoreFieldTest, FileFieldNeedsAnOpenRandomFileAndARecordThatHoldsIt) {
  definition->file_number = 1;
  definition->entries[0] = field_entry{5, ITEM_FIELD, 4, 6};
  char record[16] = "0123456789";
  file_entry saved = file_table[1];
  const file_field_case cases[] = {
      {0, FILE_MODE_RANDOM, 10, 244}, {1, FILE_MODE_OUTPUT, 10, 245}, {1, FILE_MODE_RANDOM, 8, 236},
      {1, FILE_MODE_RANDOM, 10, 0},
  };
  for (const file_field_case& c : cases) {
    port.output.clear();
    file_table[1].handle = c.handle;
    file_table[1].mode = c.mode;
    file_table[1].width = c.record_length;
    file_table[1].line_buffer = record;
    file_table[1].line_buffer_size = sizeof record;
    int result = eval("part$");
    if (c.code == 0) {
      EXPECT_EQ(result, 3) << port.output;
      EXPECT_STREQ(string_accumulator, "456789");
    } else {
      EXPECT_LT(result, 0);
      EXPECT_TRUE(reported_code(c.code)) << c.code << "\n" << port.output;
    }
  }
  file_table[1] = saved;
}

}  // namespace
