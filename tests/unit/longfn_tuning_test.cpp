// Tuning variables, timing outputs and operands that come from the
// interpreter: the long functions inside a started interpreter.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "session/size_settings.h"
#include "interpreter/expression.h"
#include "interpreter/functions.h"
#include "interpreter/init.h"
#include "interpreter/long_bridge.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/variables.h"
#include "ports/frontend_port.h"
#include "tests/long/longfn_reference.h"
#include "tests/support/scripted_port.h"

namespace {

class LongfnTunedTest : public ::testing::Test {
 protected:
  ScriptedPort port;

  void SetUp() override {
    ASSERT_TRUE(longfn_ref::lib().ready()) << "libmpfr.so.6 (Debian libmpfr6) is needed for these tests";
    install_frontend_port(&port);
    console_mode = 1;
    kill_requested = 0;
    size_settings_reset_current();
    ASSERT_EQ(init_interpreter_tables(), 0) << port.output;
    long_precision = long_float_precision = 50;
    integer_mode = 0;
    degrees_mode = 0;
    long_reset_debug_options();
    long_clear_constant_caches();
    long_clear(long_atan_tenth_cache);
    long_atan_tenth_cache_digits = 0;
  }
  void TearDown() override {
    clear_all_variables();
    long_storage_free();
    install_frontend_port(nullptr);
  }

  static void set(long_work_record& n, const std::string& text) {
    ASSERT_GE(long_convert_text(text.data(), text.size(), &n.n, 1), 0) << text;
    long_normalize(&n.n, 1);
  }
  static std::string text_of(const long_number* n) { return longfn_ref::describe(longfn_ref::from_record(n)); }
  static std::string text_of(const std::string& decimal_text) {
    long_work_record n;
    set(n, decimal_text);
    return text_of(&n.n);
  }

  // Creates (at first mention) the numeric variable and sets it.
  void set_var(const std::string& name, double value) {
    ASSERT_EQ(evaluate_expression_text(name), 2) << name << port.output;
    variable_table[find_variable(name)].value.number = value;
  }
  // DIM name(size) (subscripts 0 .. size - 1), every element set to fill.
  void dim(const std::string& name, int size, double fill) {
    std::string text = name + "(" + std::to_string(size) + ")";
    line_start = statement_start = scan_pointer = text.data();
    line_end = text.data() + text.size();
    expr_item item;
    ASSERT_EQ(get_item(item, GI_DIM), 2) << port.output;
    line_start = statement_start = scan_pointer = line_end = nullptr;
    array_entry& array = array_table[find_array(name)];
    for (std::uint32_t i = 0; i < array.dimension_sizes[0]; ++i) array.data[i].number = fill;
  }
  double element(const std::string& name, int index) {
    return array_table[find_array(name)].data[index].number;
  }
  double var(const std::string& name) { return variable_table[find_variable(name)].value.number; }

  // The digits of f(arg) at the current precision.
  std::string value_of(const char* fn, const std::string& arg) {
    long_work_record x;
    set(x, arg);
    int rc = -1;
    const std::string f = fn;
    if (f == "EXP") rc = long_func_exp(&x.n, 0);
    if (f == "LOG") rc = long_func_log(&x.n, 0);
    if (f == "SIN") rc = long_func_trig(&x.n, 1);
    if (f == "COS") rc = long_func_trig(&x.n, 2);
    if (f == "ATN") rc = long_func_atn(&x.n, 0);
    EXPECT_EQ(rc, 14) << fn << port.output;
    return text_of(long_accumulator);
  }
};

std::string long_argument(std::int32_t p, unsigned seed, const char* integer_part) {
  std::string s = std::string(integer_part) + ".";
  for (std::int32_t i = 0; i < p - 1; ++i) {
    seed = seed * 1103515245u + 12345u;
    s += static_cast<char>('0' + (seed >> 16) % 10);
  }
  return s;
}

}  // namespace

TEST_F(LongfnTunedTest, LongfnCrossoversChangeNoResult) {
  long_precision = 600;
  const std::vector<std::pair<const char*, std::string>> calls = {
      {"EXP", long_argument(600, 1, "1")}, {"LOG", long_argument(600, 2, "3")},
      {"SIN", long_argument(600, 3, "0")}, {"COS", long_argument(600, 4, "2")},
      {"ATN", long_argument(600, 5, "0")}, {"ATN", long_argument(600, 6, "7")},
  };
  std::vector<std::string> defaults;
  for (const auto& [fn, arg] : calls) defaults.push_back(value_of(fn, arg));
  // Ordinary choices, and nonsense that must be forced into increasing
  // whole blocks (zero, negative, unordered, not multiples of 8).
  const std::vector<std::vector<double>> settings = {
      {16, 40, 200, 1000, 500}, {8, 16, 24, 32, 40}, {-5, 3, 3, 0, -1}, {64, 64, 9, 100000, 7},
  };
  const char* const prefixes[] = {"expcrossover", "sincrossover", "atncrossover"};
  for (const auto& s : settings) {
    for (const char* prefix : prefixes) {
      for (int i = 1; i <= 4; ++i) set_var(prefix + std::to_string(i), s[static_cast<std::size_t>(i - 1)]);
    }
    set_var("atncrossover5", s[4]);
    for (std::size_t k = 0; k < calls.size(); ++k) {
      EXPECT_EQ(value_of(calls[k].first, calls[k].second), defaults[k])
          << calls[k].first << " with crossovers " << s[0] << ", " << s[1] << ", " << s[2] << ", " << s[3];
    }
  }
  set_var("atnskipadjust", 1);  // no atan(1/10) steps: the same value by another road
  EXPECT_EQ(value_of("ATN", calls[4].second), defaults[4]);
  EXPECT_EQ(long_precision, 600);
}

TEST_F(LongfnTunedTest, LongfnTimingOutputsReachDeclaredVariables) {
  for (const char* name : {"sincalctime", "coscalctime", "recalctime"}) dim(name, 5, -1);
  dim("expcalctime", 6, -1);
  set_var("sintotaltime", -1);
  set_var("atntotaltime", 5);
  long_precision = 3000;
  value_of("SIN", long_argument(3000, 9, "0"));
  for (int i = 0; i <= 4; ++i) {
    EXPECT_GE(element("sincalctime", i), 0) << i;
    EXPECT_GE(element("coscalctime", i), 0) << i;
    if (i > 0) {
      EXPECT_GE(element("recalctime", i), 0) << i;
    }
  }
  EXPECT_EQ(element("recalctime", 0), -1);  // the first piece needs no recombination
  EXPECT_GE(var("sintotaltime"), element("sincalctime", 0));
  value_of("LOG", long_argument(3000, 10, "5"));  // Newton stages at 32, 304, 2000 and p + 8
  for (int i = 2; i <= 4; ++i) EXPECT_GE(element("expcalctime", i), 0) << i;
  EXPECT_EQ(element("expcalctime", 1), -1);  // the first stage needs no exponential
  EXPECT_EQ(element("expcalctime", 5), -1);  // p + 8 is below 10000: no fifth stage
  value_of("ATN", "0.5");
  EXPECT_EQ(var("atntotaltime"), 0);
}

TEST_F(LongfnTunedTest, LongfnHexconvertOfAStringOperand) {
  expr_item item;
  std::uint32_t offset = 0;
  ASSERT_EQ(text_to_temp("-FF.8", &offset), 0);
  item.type = ITEM_STRING;
  item.value.bits = offset;
  ASSERT_EQ(long_func_hexconvert_text(&item), 14) << port.output;
  EXPECT_EQ(text_of(long_accumulator), text_of("-255.5"));
  ASSERT_EQ(text_to_temp("12Q", &offset), 0);
  item.type = ITEM_STRING;
  item.value.bits = offset;
  EXPECT_EQ(long_func_hexconvert_text(&item), -271);
  item.type = ITEM_DOUBLE;
  EXPECT_EQ(long_func_hexconvert_text(&item), -160);
}
