// Precision and modes, DEBUG TIMER reports and the DEBUG LONG dump.
#include <cmath>
#include <string>

#include "long_test_support.h"

namespace {

using LongModesTest = LongFixture;

TEST_F(LongModesTest, FloatPrecisionLimits) {
  struct Case {
    double n;
    int result;
    int precision_after;
  };
  const Case cases[] = {
      {10, -154, 50},       {11, 0, 11},       {1000000, 0, 1000000}, {1000001, -154, 1000000},
      {12.9, 0, 12},        {NAN, -154, 12},   {INFINITY, -154, 12},  {-50, -154, 12},
      {1e300, -154, 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(long_set_float_precision(c.n), c.result) << c.n;
    EXPECT_EQ(long_precision, c.precision_after) << c.n;
    EXPECT_EQ(long_float_precision, c.precision_after) << c.n;
  }
  EXPECT_GT(host.reported(154), 0);

  // FLOAT undoes a temporary raise and leaves integer mode.
  long_precision = 30;
  long_set_integer_mode();
  EXPECT_EQ(long_set_float_precision(5), -154);
  EXPECT_EQ(long_precision, 12);
  EXPECT_EQ(integer_mode, 0);

  long_modes_run_start();
  EXPECT_EQ(long_precision, 50);
  EXPECT_EQ(long_float_precision, 50);
}

TEST_F(LongModesTest, DebugResetAndRoundModeSwitches) {
  long_full_multiply = long_old_convert = math_error_ok = long_debug_dump_on = long_peekbcd_on = 1;
  long_round_mode = 0;
  long_lnrat_enabled = 0;
  long_timer_flags[LONG_TIMER_MOD] = 1;
  long_reset_debug_options();
  EXPECT_EQ(long_round_mode, 1);
  EXPECT_EQ(long_lnrat_enabled, 1);
  EXPECT_EQ(long_full_multiply + long_old_convert + math_error_ok + long_debug_dump_on + long_peekbcd_on, 0);
  EXPECT_EQ(long_timer_flags[LONG_TIMER_MOD], 0);

  ASSERT_EQ(long_from_int(long_pi_cache, 3), 0);
  long_pi_cache_digits = 30;
  long_e_cache_digits = 30;
  long_ln10_cache_digits = 30;
  long_set_round_mode(0);
  EXPECT_EQ(long_round_mode, 0);
  EXPECT_EQ(long_pi_cache_digits + long_e_cache_digits + long_ln10_cache_digits, 0);
  EXPECT_EQ(long_pi_cache->blocks[0], 0u);
}

TEST_F(LongModesTest, TimerNamesAndReports) {
  const char* names[] = {"atn", "sqr", "longpi", "longe", "sin", "exp", "log", "root",
                         "power", "mult", "div", "factorial", "mod", "half", "convert"};
  for (int i = 0; i < LONG_TIMER_COUNT; ++i) EXPECT_EQ(long_timer_find(names[i]), i) << names[i];
  EXPECT_EQ(long_timer_find("MULT"), LONG_TIMER_MULT);
  EXPECT_EQ(long_timer_find("foo"), -1);
  EXPECT_STREQ(long_timer_labels[LONG_TIMER_POWER], "\"^\"   Calc. Time: ");
  EXPECT_STREQ(long_timer_labels[LONG_TIMER_LONGE], "E  Calc. Time: ");

  long_number* a = make("3");
  long_number* b = make("7");
  long_number* c = long_temp_alloc();
  ASSERT_EQ(long_multiply(a, b, c), 0);
  EXPECT_EQ(host.output, "");
  long_timer_flags[LONG_TIMER_MULT] = 1;
  ASSERT_EQ(long_multiply(a, b, c), 0);
  EXPECT_EQ(host.output.rfind("Mult Calc. Time: ", 0), 0u);
  EXPECT_NE(host.output.find(" ms.\n"), std::string::npos);

  host.clear_output();
  long_timer_flags[LONG_TIMER_MULT] = 0;
  long_timer_flags[LONG_TIMER_DIV] = 1;
  long_timer_flags[LONG_TIMER_MOD] = 1;
  ASSERT_EQ(long_mod(a, b), 0);
  EXPECT_NE(host.output.find("Div Calc. Time: "), std::string::npos);
  EXPECT_NE(host.output.find("Mod Calc. Time: "), std::string::npos);
  EXPECT_EQ(host.output.find("Mult"), std::string::npos);

  host.clear_output();
  long_timer_flags[LONG_TIMER_CONVERT] = 1;
  make("12345678901234567890");
  EXPECT_NE(host.output.find("long_convert_in Time:       "), std::string::npos);
  host.clear_output();
  double value = 0.0;
  ASSERT_EQ(long_to_double(a, 1, &value), 2);
  EXPECT_NE(host.output.find("long-to-double Calc. Time: "), std::string::npos);
}

TEST_F(LongModesTest, DebugDumpLayouts) {
  long_number* n = make("-2.5");
  long_debug_dump("x", n, 1);
  EXPECT_EQ(host.output, "");  // off

  long_debug_dump_on = 1;
  long_debug_dump("x", n, 0);
  EXPECT_EQ(host.output, "\nx   : blks=   1 sign= -1 len=   2 exp=   1, norm=1 25000000 \n");

  // 40 blocks in full: header, the first 8, the skip line, the last 8.
  host.clear_output();
  long_number* big = long_temp_alloc();
  ASSERT_EQ(long_reserve(big, 320), 0);
  for (int i = 0; i < 40; ++i) big->blocks[i] = static_cast<std::uint32_t>(10000000 + i);
  big->blks = 40;
  big->len = 320;
  big->exp = 5;
  big->norm = 1;
  long_debug_dump("sum", big, 1);
  std::string first, last;
  for (int i = 0; i < 8; ++i) first += std::to_string(10000000 + i) + " ";
  for (int i = 32; i < 40; ++i) last += std::to_string(10000000 + i) + " ";
  EXPECT_EQ(host.output, "\nsum : blks=  40 sign= +0 len= 320 exp=   5, norm=1 \n" + first + "\n- - - - - - - -\n" +
                             last + "\n");

  // One line: the header leaves room for three blocks, so the first two and
  // the gap marks fill it.
  host.clear_output();
  long_debug_dump("shf", big, 0);
  EXPECT_EQ(host.output, "\nshf : blks=  40 sign= +0 len= 320 exp=   5, norm=1 10000000 10000001 - - - -  \n");

  // A division reports its shape and its guess statistics.
  host.clear_output();
  long_number* x = make("1");
  long_number* y = make("3");
  long_number* q = long_temp_alloc();
  ASSERT_EQ(long_divide(x, y, q), 0);
  EXPECT_NE(host.output.find("\nop1 : "), std::string::npos);
  EXPECT_NE(host.output.find("quotient length = 8\n"), std::string::npos);
  EXPECT_NE(host.output.find("High guesses = "), std::string::npos);
  host.clear_output();
  integer_mode = 1;
  x = make("100");
  y = make("7");
  ASSERT_EQ(long_divide(x, y, q), 0);
  EXPECT_NE(host.output.find("quotient blocks = 2, shift digits = 7\n"), std::string::npos);
  EXPECT_NE(host.output.find("\nrem : "), std::string::npos);
  integer_mode = 0;

  // An addition under DEBUG LONG dumps its shifted operand.
  host.clear_output();
  long_number* c = long_temp_alloc();
  ASSERT_GE(long_add(n, n, c), 0);
  EXPECT_EQ(host.output.find("\nshf : "), 0u);
}

}  // namespace
