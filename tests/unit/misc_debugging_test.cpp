// The debug dumps: long-number lines with their elision, item tables,
// parameter lists, array dumps, reserved-word order and option resets.
#include <algorithm>
#include <string>

#include "core_test_support.h"
#include "session/paths.h"
#include "interpreter/debugging.h"
#include "interpreter/keywords.h"
#include "interpreter/run_control.h"
#include "rizozira/long_number.h"

namespace {

class MiscDebugging : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
    port.output.clear();
  }
};

}  // namespace

TEST_F(MiscDebugging, LongLineShowsBlocksAndElidesTheMiddle) {
  long_slot slot;
  long_init(&slot.number, slot.buffer, long_slot_inline_bytes);
  long_number* n = &slot.number;
  ASSERT_EQ(long_reserve(n, 800), 0);
  for (int i = 0; i < 100; ++i) n->blocks[i] = static_cast<std::uint32_t>(i);
  n->blks = 100;
  n->len = 800;
  n->exp = 5;
  n->sign = -1;
  n->norm = 1;
  format_long_debug("label", n);
  EXPECT_STREQ(string_accumulator,
               "blks= 100 sgn= - len= 800 exp=   5, nrm=1 00000000 00000001 - - - -  00000099 \n");

  n->blks = 3;
  n->len = 20;
  n->sign = 0;
  n->blocks[0] = 12345678;
  format_long_debug("label", n);
  EXPECT_STREQ(string_accumulator,
               "blks=   3 sgn= + len=  20 exp=   5, nrm=1 12345678 00000001 00000002 \n");
  long_clear(n);
}

TEST_F(MiscDebugging, LongLineWithAWideHeaderStillShowsTheFirstGroups) {
  // Wide figures leave room for fewer than three groups after the header:
  // the count of last groups would go negative and is taken as none.
  long_slot slot;
  long_init(&slot.number, slot.buffer, long_slot_inline_bytes);
  long_number* n = &slot.number;
  ASSERT_EQ(long_reserve(n, 800), 0);
  for (int i = 0; i < 100; ++i) n->blocks[i] = static_cast<std::uint32_t>(i + 1);
  n->blks = 100;
  n->len = 2000000000;
  n->exp = -2000000000;
  n->sign = 0;
  n->norm = 0;
  format_long_debug("label", n);
  EXPECT_STREQ(string_accumulator,
               "blks= 100 sgn= + len=2000000000 exp=-2000000000, nrm=0 00000001 00000002 - - - -  \n");
  long_clear(n);
}

TEST_F(MiscDebugging, ItemTableDumpFollowsDebugMode) {
  expr_item items[4];
  items[0].type = ITEM_DOUBLE;
  items[0].value.number = 2.5;
  items[1].type = ITEM_OPERATOR;
  items[1].value.op = '+';
  items[2].type = ITEM_STRING;
  std::uint32_t offset = 0;
  ASSERT_EQ(text_to_temp("hello", &offset), 0);
  items[2].value.bits = offset;
  items[3].type = ITEM_COMPARISON;
  items[3].value.token = REL_LESS_EQUAL;

  debug_mode = 0;
  trace_item_table(2, 1, 4, items, "add and subtract");
  EXPECT_EQ(port.output, "");
  debug_mode = 1;
  trace_item_table(2, 0, 4, items, "add and subtract");
  EXPECT_EQ(port.output, "");
  trace_item_table(2, 1, 4, items, "add and subtract");
  EXPECT_EQ(port.output,
            "\n  4 Item(s) in Table after add and subtract:\n"
            "  Float var.  " + std::string(20, ' ') + "2.5 \n"
            "  Operator    + \n"
            "  String var. hello \n"
            "  Comp. Oper  <= \n"
            "\n");
  port.output.clear();
  trace_item_table(0, 1, 1, items, nullptr);
  EXPECT_EQ(port.output, "\n1 Item(s) in Table:\nFloat var.  " + std::string(20, ' ') + "2.5 \n\n");
}

TEST_F(MiscDebugging, ParameterListTitlesByKind) {
  expr_item item;
  item.type = ITEM_DOUBLE;
  item.value.number = 4;
  debug_mode = 1;
  struct Case {
    int kind;
    const char* title;
  } cases[] = {
      {1, "\n1 Item(s) in Parameter List for function f:\n"},
      {2, "\n1 Item(s) in Parameter List for Array f:\n"},
      {3, "\n1 Item(s) in Data List for INPUT:\n"},
  };
  for (const Case& c : cases) {
    port.output.clear();
    trace_parameter_list(1, &item, "f", c.kind);
    EXPECT_EQ(port.output, std::string(c.title) + "Float var.  " + std::string(22, ' ') + "4 \n\n");
  }
}

TEST_F(MiscDebugging, ArrayDumpSkipsEmptyElementsAndNamesSubscripts) {
  value_slot numbers[6] = {};
  numbers[1].number = 7;
  numbers[5].number = -0.5;
  const std::uint32_t sizes[2] = {2, 3};
  EXPECT_EQ(printall_dump_array(numbers, 2, "m", "(", 2, sizes), 0);
  EXPECT_EQ(port.output,
            "              m ( 0, 1) =                       7\n"
            "              m ( 1, 2) =                    -0.5\n");
  EXPECT_EQ(printall_dump_array(numbers, 19, "m", "(", 2, sizes), -1);
}

TEST_F(MiscDebugging, ReservedWordsCompareWithoutCase) {
  char a[reserved_word_slot_size] = "Input";
  char b[reserved_word_slot_size] = "input";
  char c[reserved_word_slot_size] = "int";
  EXPECT_EQ(compare_reserved_words(a, b), 0);
  EXPECT_EQ(compare_reserved_words(b, c), -1);
  EXPECT_EQ(compare_reserved_words(c, a), 1);
}

TEST_F(MiscDebugging, ResetPutsEverySwitchBack) {
  trace_mode = 1;
  long_debug_dump_on = 1;
  long_round_mode = 0;
  long_lnrat_enabled = 0;
  long_peekbcd_on = 1;
  math_error_ok = 1;
  long_timer_flags[LONG_TIMER_SIN] = 1;
  debug_reset_options();
  EXPECT_EQ(trace_mode, 0);
  EXPECT_EQ(long_debug_dump_on, 0);
  EXPECT_EQ(long_round_mode, 1);
  EXPECT_EQ(long_lnrat_enabled, 1);
  EXPECT_EQ(long_peekbcd_on, 0);
  EXPECT_EQ(math_error_ok, 0);
  EXPECT_EQ(long_timer_flags[LONG_TIMER_SIN], 0);
}

TEST_F(MiscDebugging, DebugStatementSetsItsSwitches) {
  struct Case {
    const char* statement;
    std::int32_t* flag;
    std::int32_t expected;
  } cases[] = {
      {"DEBUG PEEKBCD", &long_peekbcd_on, 1},     {"DEBUG PEEKBCD, OFF", &long_peekbcd_on, 0},
      {"DEBUG OPTMUL", &long_full_multiply, 0},   {"DEBUG OPTMUL OFF", &long_full_multiply, 1},
      {"DEBUG LONG", &long_debug_dump_on, 1},     {"DEBUG LONG OFF", &long_debug_dump_on, 0},
      {"DEBUG TRUNCATE", &long_round_mode, 0},    {"DEBUG ROUND", &long_round_mode, 1},
      {"DEBUG LNRAT OFF", &long_lnrat_enabled, 0}, {"DEBUG LNRAT", &long_lnrat_enabled, 1},
      {"debug oldconvert", &long_old_convert, 1}, {"DEBUG OLDCONVERT OFF", &long_old_convert, 0},
      {"DEBUG MATHERROK", &math_error_ok, 1},     {"DEBUG MATHERROK OFF", &math_error_ok, 0},
      {"DEBUG TIMER sin", &long_timer_flags[LONG_TIMER_SIN], 1},
      {"DEBUG TIMER SIN, off", &long_timer_flags[LONG_TIMER_SIN], 0},
      {"DEBUG TIMER convert", &long_timer_flags[LONG_TIMER_CONVERT], 1},
  };
  for (const Case& c : cases) {
    EXPECT_GE(execute_statement_text(c.statement), 0) << c.statement << port.output;
    EXPECT_EQ(*c.flag, c.expected) << c.statement;
  }
  EXPECT_GE(execute_statement_text("DEBUG TRACE"), 0);
  EXPECT_EQ(trace_mode, 1);
  EXPECT_GE(execute_statement_text("DEBUG TRACE OFF"), 0);
  EXPECT_EQ(trace_mode, 0);
  EXPECT_GE(execute_statement_text("DEBUG"), 0);
  EXPECT_EQ(debug_mode, 1);
  EXPECT_GE(execute_statement_text("DEBUG OFF"), 0);
  EXPECT_EQ(debug_mode, 0);
  mouse_check_forward = 0;
  EXPECT_GE(execute_statement_text("DEBUG MOUSECHECKFORWARD OFF"), 0);
  EXPECT_EQ(mouse_check_forward, 1);
  // A skipped DEBUG changes nothing.
  EXPECT_GE(execute_statement_text("IF 1 = 2 THEN DEBUG TRUNCATE"), 0);
  EXPECT_EQ(long_round_mode, 1);
  debug_reset_options();
  mouse_check_forward = 0;
}

TEST_F(MiscDebugging, StepAndDirReachTheirTargets) {
  step_mode = 0;
  step_banner_pending = 0;
  port.events.clear();
  EXPECT_GE(execute_statement_text("IF 1 = 2 THEN DEBUG STEP"), 0);
  EXPECT_EQ(step_mode, 0);
  EXPECT_GE(execute_statement_text("DEBUG STEP"), 0) << port.output;
  EXPECT_EQ(step_mode, 1);
  EXPECT_EQ(step_banner_pending, 1);
  EXPECT_NE(std::find(port.events.begin(), port.events.end(), "text 1050 Stepping -- Command:"), port.events.end());
  step_mode = 0;
  step_banner_pending = 0;

  std::uint32_t saved_console_mode = console_mode;
  console_mode = 1;
  port.output.clear();
  EXPECT_GE(execute_statement_text("DEBUG DIR"), 0);
  EXPECT_NE(port.output.find("CWD         = " + path_current_directory() + "\n"), std::string::npos) << port.output;
  EXPECT_NE(port.output.find("Program Dir = "), std::string::npos);
  EXPECT_EQ(port.output.find("Working Dir = "), std::string::npos);  // window mode only
  console_mode = saved_console_mode;
}
