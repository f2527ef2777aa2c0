// Calendar arithmetic, MAKEDATETIME, FORMATDATETIME$ and daylight-saving rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "interpreter/datetime.h"
#include "interpreter/dst_rules.h"
#include "interpreter/item.h"
#include "interpreter/run_state.h"
#include "interpreter/variables.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"

namespace {

class SvcDatetimeTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  void SetUp() override {
    install_frontend_port(&port);
    timezone_offset = 0;
    dst_enabled = 0;
    dst_add_builtin_rules();
    no_execute = 0;
    line_start = nullptr;
    debug_mode = 0;
  }
  void TearDown() override {
    install_frontend_port(nullptr);
    timezone_offset = 0;
    dst_enabled = 0;
    dst_add_builtin_rules();
  }
  std::string accumulator() const {
    return std::string(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  }
  // Local fields of a date with the DST flag unknown.
  static datetime_fields date(double year, double month, double day, double hour = 0, double minute = 0,
                              double second = 0, double dst = -1) {
    return {year, month, day, hour, minute, second, 0, 0, dst};
  }
  // Calls MAKEDATETIME with numeric arguments.
  int make(std::initializer_list<double> args) {
    expr_item items[8];
    int n = 0;
    for (double a : args) {
      items[n].type = ITEM_DOUBLE;
      items[n].value.number = a;
      ++n;
    }
    return func_makedatetime(items, n);
  }
};

struct expand_case {
  double value;
  double year, month, day, hour, minute, second, weekday, day_of_year;
};

TEST_F(SvcDatetimeTest, ExpandGivesCalendarFields) {
  const expand_case cases[] = {
      {0, 1970, 1, 1, 0, 0, 0, 5, 1},
      {86399.5, 1970, 1, 1, 23, 59, 59.5, 5, 1},
      {-86400, 1969, 12, 31, 0, 0, 0, 4, 365},
      {-62135596800.0, 1, 1, 1, 0, 0, 0, 2, 1},        // 1 January of the year 1, a Monday
      {-62135596800.0 - 86400, -1, 12, 31, 0, 0, 0, 1, 366},  // 31 December 1 BC (a leap year)
      {951782400, 2000, 2, 29, 0, 0, 0, 3, 60},
      {1615687200, 2021, 3, 14, 2, 0, 0, 1, 73},
      {253402300799.0, 9999, 12, 31, 23, 59, 59, 6, 365},
      {-62198755200.0, -2, 1, 1, 0, 0, 0, 6, 1},       // 2 BC
  };
  for (const expand_case& c : cases) {
    datetime_fields f{};
    ASSERT_EQ(datetime_expand(f, c.value), 0) << c.value;
    EXPECT_EQ(f.year, c.year) << c.value;
    EXPECT_EQ(f.month, c.month) << c.value;
    EXPECT_EQ(f.day, c.day) << c.value;
    EXPECT_EQ(f.hour, c.hour) << c.value;
    EXPECT_EQ(f.minute, c.minute) << c.value;
    EXPECT_DOUBLE_EQ(f.second, c.second) << c.value;
    EXPECT_EQ(f.weekday, c.weekday) << c.value;
    EXPECT_EQ(f.day_of_year, c.day_of_year) << c.value;
    EXPECT_EQ(f.dst, 0);
    // And back again.
    datetime_fields back = f;
    back.dst = 0;
    EXPECT_DOUBLE_EQ(datetime_from_fields(back), c.value) << c.value;
  }
}

TEST_F(SvcDatetimeTest, ExpandRefusesValuesOutsideTheRangeAndKeepsFields) {
  const double bad[] = {NAN, INFINITY, -INFINITY, 1e300, -2e17};
  for (double v : bad) {
    datetime_fields f = date(1234, 5, 6);
    EXPECT_EQ(datetime_expand(f, v), -1) << v;
    EXPECT_EQ(f.year, 1234);
    EXPECT_EQ(datetime_expand_local(f, v), -1) << v;
  }
  // The far ends of the range still expand to the right year.
  datetime_fields f{};
  double far = datetime_from_fields(date(-5000000000.0, 1, 1, 0, 0, 0, 0));
  ASSERT_EQ(datetime_expand(f, far), 0);
  EXPECT_EQ(f.year, -5000000000.0);
  EXPECT_EQ(f.month, 1);
  EXPECT_EQ(f.day, 1);
  far = datetime_from_fields(date(5000000001.0, 1, 1, 0, 0, 0, 0));
  ASSERT_EQ(datetime_expand(f, far), 0);
  EXPECT_EQ(f.year, 5000000001.0);
}

TEST_F(SvcDatetimeTest, DaysBetweenYearsAndLeapYears) {
  EXPECT_EQ(datetime_days_between_years(1970, 1971), 365);
  EXPECT_EQ(datetime_days_between_years(1970, 1968), -731);
  EXPECT_EQ(datetime_days_between_years(1600, 2000), 146097);
  EXPECT_EQ(datetime_days_between_years(0, 1), 366);  // 1 BC is a leap year
  const std::pair<double, bool> leap[] = {{2000, true}, {1900, false}, {2024, true}, {2023, false},
                                          {0, true},    {-4, true},    {-100, false}, {-400, true}};
  for (auto [year, expected] : leap) EXPECT_EQ(datetime_is_leap_year(year), expected) << year;
}

TEST_F(SvcDatetimeTest, MakeDatetimeRollsMonthsAndChecksTheYear) {
  struct make_case {
    std::initializer_list<double> args;
    double year, month, day;
  };
  datetime_now_fields = date(2024, 6, 15, 10, 30, 12.5, 0);
  const make_case cases[] = {
      {{2, 29, 2000}, 2000, 2, 29},
      {{2, 29, 1900}, 1900, 3, 1},
      {{13, 1, 2000}, 2001, 1, 1},
      {{0, 1, 2000}, 1999, 12, 1},
      {{-1, 1, 2000}, 2000, 6, 1},      // a negative month is the current month
      {{1, 1, 2000.5}, 2000, 1, 1},     // the year is truncated
      {{1, 1, 0}, 2024, 1, 1},          // year 0 is the current year
      {{3}, 2024, 3, 1},                // missing day and year
      {{25, 1, -1}, 2, 1, 1},           // 1 BC plus two years of months: the missing year 0 is skipped
  };
  for (const make_case& c : cases) {
    ASSERT_EQ(make(c.args), ITEM_DOUBLE);
    datetime_fields f{};
    ASSERT_EQ(datetime_expand(f, double_accumulator), 0);
    EXPECT_EQ(f.year, c.year) << *c.args.begin();
    EXPECT_EQ(f.month, c.month) << *c.args.begin();
    EXPECT_EQ(f.day, c.day) << *c.args.begin();
  }
  // Hour, minute and second, with a negative one taken from now.
  ASSERT_EQ(make({1, 2, 1970, 3, -4, 5.25}), ITEM_DOUBLE);
  EXPECT_DOUBLE_EQ(double_accumulator, 86400 + 3 * 3600 + 30 * 60 + 5.25);

  datetime_now = 1234.5;
  EXPECT_EQ(make({}), ITEM_DOUBLE);
  EXPECT_EQ(double_accumulator, 1234.5);

  EXPECT_EQ(make({1, 1, 5000000000.0}), ITEM_DOUBLE);
  EXPECT_EQ(make({1, 1, 5000000001.0}), -156);
  EXPECT_EQ(make({1, 1, -5000000001.0}), -156);
  EXPECT_EQ(make({1, 1, 2000, NAN}), -156);
  EXPECT_EQ(make({1e300, 1, 2000}), -297);  // rolls far beyond the calendar
  EXPECT_EQ(port.output,
            "ERROR - Invalid parameter.\nERROR - Invalid parameter.\nERROR - Invalid parameter.\n"
            "ERROR - Invalid value for parameter.\n");
}

TEST_F(SvcDatetimeTest, MakeDatetimeFromAnArrayOfFields) {
  value_slot data[12] = {};
  const double fields[9] = {2000, 3, 1, 12, 30, 15.5, 0, 0, 0};
  for (int i = 0; i < 9; ++i) data[i].number = fields[i];
  array_entry entry{0, ITEM_DOUBLE, 1, {9}, data};
  expr_item item;
  item.type = ITEM_NUMERIC_ARRAY;
  item.array = &entry;
  ASSERT_EQ(func_makedatetime(&item, 1), ITEM_DOUBLE);
  EXPECT_DOUBLE_EQ(double_accumulator, 951913815.5);

  data[0].number = 2000.5;  // only the array form can give a fractional year
  EXPECT_EQ(func_makedatetime(&item, 1), -156);
  data[0].number = 2000;
  data[5].number = NAN;
  EXPECT_EQ(func_makedatetime(&item, 1), -156);
  entry.dimension_sizes[0] = 12;
  EXPECT_EQ(func_makedatetime(&item, 1), -286);
  entry.dimension_count = 2;
  EXPECT_EQ(func_makedatetime(&item, 1), -176);
}

TEST_F(SvcDatetimeTest, FormatShowsTheStandardText) {
  const std::pair<double, const char*> cases[] = {
      {0, "Thu Jan 01 00:00:00.000000            1970"},
      {86399.5, "Thu Jan 01 23:59:59.500000            1970"},
      {59.9999996, "Thu Jan 01 00:01:00.000000            1970"},  // rounded before expanding
      {86399.9999999, "Fri Jan 02 00:00:00.000000            1970"},
      {-62135596800.0 - 86400, "Sun Dec 31 00:00:00.000000               1 BC"},
      {1e12, "Fri Sep 27 01:46:40.000000           33658"},
  };
  for (auto [value, expected] : cases) {
    ASSERT_EQ(datetime_format_default(value), ITEM_STRING) << value;
    EXPECT_EQ(accumulator(), expected) << value;
  }
  EXPECT_EQ(datetime_format_default(NAN), -297);
  EXPECT_EQ(port.output, "ERROR - Invalid value for parameter.\n");

  timezone_offset = -3600;  // one hour east of Greenwich
  ASSERT_EQ(datetime_format_default(0), ITEM_STRING);
  EXPECT_EQ(accumulator(), "Thu Jan 01 01:00:00.000000            1970");
}

TEST_F(SvcDatetimeTest, ExpandArrayServesExpanddatetime) {
  double fields[datetime_field_count];
  datetime_now = 86400 * 31;
  ASSERT_EQ(datetime_expand_array(0, 0, fields), 0);
  const double feb1[] = {1970, 2, 1, 0, 0, 0, 1, 32, 0};
  for (int i = 0; i < datetime_field_count; ++i) EXPECT_EQ(fields[i], feb1[i]) << i;
  ASSERT_EQ(datetime_expand_array(1, 0, fields), 0);
  EXPECT_EQ(fields[6], 5);
  EXPECT_EQ(datetime_expand_array(1, INFINITY, fields), -297);
}

// Local standard-time fields of a moment, for the daylight-time test.
datetime_fields standard_fields(double year, double month, double day, double hour, double minute) {
  int saved_enabled = dst_enabled;
  std::int32_t saved_offset = timezone_offset;
  dst_enabled = 0;
  timezone_offset = 0;
  datetime_fields f{};
  datetime_expand(f, datetime_from_fields({year, month, day, hour, minute, 0, 0, 0, 0}));
  dst_enabled = saved_enabled;
  timezone_offset = saved_offset;
  return f;
}

int daylight_at(double year, double month, double day, double hour, double minute) {
  datetime_fields f = standard_fields(year, month, day, hour, minute);
  dst_select_rule(f.year);
  return dst_is_active(f, f.year);
}

TEST_F(SvcDatetimeTest, BuiltInRulesSwitchAtTheirHours) {
  dst_enabled = 1;
  timezone_offset = 18000;
  EXPECT_EQ(daylight_at(2021, 3, 14, 1, 59), 0);
  EXPECT_EQ(daylight_at(2021, 3, 14, 2, 0), 1);
  EXPECT_EQ(dst_bias_in_effect, -3600);
  EXPECT_EQ(daylight_at(2021, 11, 7, 0, 59), 1);  // 01:59 daylight time
  EXPECT_EQ(daylight_at(2021, 11, 7, 1, 0), 0);
  EXPECT_EQ(daylight_at(2021, 7, 1, 12, 0), 1);
  EXPECT_EQ(daylight_at(2021, 1, 15, 12, 0), 0);
  EXPECT_EQ(daylight_at(1960, 7, 1, 12, 0), 0);  // no daylight time before 1966

  struct start_case {
    double year;
    double month, day;  // the start day of that year's rule
  };
  const start_case starts[] = {{2021, 3, 14}, {2007, 3, 11}, {2006, 4, 2}, {1986, 4, 6}, {1985, 4, 28}, {1966, 4, 24}};
  for (const start_case& c : starts) {
    EXPECT_EQ(daylight_at(c.year, c.month, c.day, 1, 59), 0) << c.year;
    EXPECT_EQ(daylight_at(c.year, c.month, c.day, 2, 0), 1) << c.year;
    EXPECT_EQ(daylight_at(c.year, c.month, c.day - 1, 12, 0), 0) << c.year;
  }
}

TEST_F(SvcDatetimeTest, LocalExpansionAndFieldsFollowDaylightTime) {
  timezone_offset = 18000;  // UTC-5
  double noon_utc = datetime_from_fields(date(2021, 7, 1, 12)) - timezone_offset;  // 12:00 UTC
  dst_enabled = 1;
  datetime_fields f{};
  ASSERT_EQ(datetime_expand_local(f, noon_utc), 0);
  EXPECT_EQ(f.hour, 8);  // 07:00 standard time shown as 08:00 daylight time
  EXPECT_EQ(f.dst, 1);
  EXPECT_EQ(datetime_from_fields(date(2021, 7, 1, 8)), noon_utc);        // unknown: the rules decide
  EXPECT_EQ(datetime_from_fields(date(2021, 7, 1, 8, 0, 0, 1)), noon_utc);
  EXPECT_EQ(datetime_from_fields(date(2021, 7, 1, 7, 0, 0, 0)), noon_utc);  // given as standard time
  ASSERT_EQ(datetime_format_default(noon_utc), ITEM_STRING);
  EXPECT_EQ(accumulator(), "Thu Jul 01 08:00:00.000000 DST        2021");
}

TEST_F(SvcDatetimeTest, SouthernRuleAndRuleTableChanges) {
  dst_enabled = 1;
  EXPECT_EQ(daylight_at(2031, 1, 15, 12, 0), 0);
  // A southern rule for 2030..2040: starts first Sunday of October, ends first Sunday of April.
  ASSERT_EQ(dst_rule_add(2030, 2040, 10, 1, 1, 60, 2, 4, 1, 1, 0, 3), 0);
  EXPECT_EQ(daylight_at(2031, 1, 15, 12, 0), 1);  // the cached year was forgotten
  EXPECT_EQ(daylight_at(2031, 6, 15, 12, 0), 0);
  EXPECT_EQ(daylight_at(2031, 12, 15, 12, 0), 1);
  EXPECT_EQ(daylight_at(2041, 1, 15, 12, 0), 0);
  EXPECT_EQ(daylight_at(2041, 7, 15, 12, 0), 1);

  dst_enabled = 0;
  EXPECT_EQ(daylight_at(2031, 1, 15, 12, 0), 0);
  dst_enabled = 1;  // back on: the rule is loaded again
  EXPECT_EQ(daylight_at(2031, 1, 15, 12, 0), 1);

  // The table holds thirty rules; more are dropped.
  int added = 0;
  while (dst_rule_add(3000, 3001, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0) == 0) ++added;
  EXPECT_EQ(dst_rule_count, dst_rule_capacity);
  EXPECT_EQ(added, dst_rule_capacity - 5);
}

TEST_F(SvcDatetimeTest, RulesFileAddsRulesAndReportsBadValues) {
  char path[] = "/tmp/svc_dstrules_XXXXXX";
  int fd = ::mkstemp(path);
  ASSERT_GE(fd, 0);
  ::close(fd);
  std::ofstream(path) << "2030,2100,4,1,1,60,2,10,5,1,0,2\r\n"
                         "\n"
                         "2200,2300,3,2,1,60,2,11,1,1,0\n"
                         "2400,2500,x,2,1,60,2,11,1,1,0,2\n";
  EXPECT_EQ(dst_load_rules_file(path), 3);
  ::unlink(path);
  EXPECT_EQ(port.output, "ERROR - Invalid type - expecting a number\nERROR - Invalid character in number string.\n");
  ASSERT_EQ(dst_rule_count, 7);
  EXPECT_EQ(dst_rules[4].start_bias, -60);
  EXPECT_EQ(dst_rules[5].end_hour, 0);
  EXPECT_EQ(dst_rules[6].start_month, 0);
  dst_enabled = 1;
  EXPECT_EQ(daylight_at(2031, 4, 6, 2, 0), 1);  // first Sunday of April, the 1986 pattern
  EXPECT_EQ(daylight_at(2031, 3, 20, 12, 0), 0);
  EXPECT_EQ(dst_load_rules_file("/nonexistent/dstrules.txt"), -1);
}

// Files that are not rules files end at once with one line that says why;
// a NUL byte is a bad value of its own line; a flood of bad lines is told in
// full only for the first ten. (An alarm ends the test if a read hangs.)
TEST_F(SvcDatetimeTest, RulesFileRefusesWhatIsNotARulesFile) {
  char folder[] = "/tmp/svc_dstrules_XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  std::string dir = folder;
  ::alarm(20);
  auto load = [&](const std::string& name) {
    port.output.clear();
    dst_add_builtin_rules();
    return dst_load_rules_file((dir + "/" + name).c_str());
  };

  ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir + "/zero").c_str()), 0);
  for (const char* name : {"fifo", "zero"}) {
    EXPECT_EQ(load(name), -1) << name;
    EXPECT_EQ(port.output, dir + "/" + name + ": not a regular file; no daylight-saving rules were read from it.\n");
    EXPECT_EQ(dst_rule_count, 4);
  }
  std::ofstream(dir + "/huge") << std::string((1 << 20) + 1, '\n');
  EXPECT_EQ(load("huge"), -1);
  EXPECT_NE(port.output.find("larger than 1048576 bytes"), std::string::npos) << port.output;

  // The NUL spoils the first line's last value only; the second line stays whole.
  static const char with_nul[] = "2030,2100,4,1,1,60,2,10,5,1,0,2\0junk\n2200,2300,3,2,1,60,2,11,1,1,0,2\n";
  std::ofstream(dir + "/nul", std::ios::binary) << std::string(with_nul, sizeof with_nul - 1);
  EXPECT_EQ(load("nul"), 2);
  EXPECT_EQ(port.output, "ERROR - Invalid character in number string.\n");
  ASSERT_EQ(dst_rule_count, 6);
  EXPECT_EQ(dst_rules[4].end_hour, 0);
  EXPECT_EQ(dst_rules[5].first_year, 2200);
  EXPECT_EQ(dst_rules[5].end_hour, 2);

  {
    std::ofstream flood(dir + "/flood");
    flood << "2030,2100,4,1,1,60,2,10,5,1,0,2\n";
    for (int i = 0; i < 100000; ++i) flood << "x\n";
  }
  EXPECT_EQ(load("flood"), 11);  // the good line and the ten reported bad ones
  std::size_t lines = 0;
  for (char c : port.output) lines += c == '\n';
  EXPECT_EQ(lines, 10u * 12 + 1);  // twelve bad values in each of ten lines, then the summary
  EXPECT_NE(port.output.find("\n99990 more bad lines of " + dir + "/flood were refused.\n"), std::string::npos);

  ::alarm(0);
  std::string cmd = "rm -rf '" + dir + "'";
  (void)std::system(cmd.c_str());
}

TEST_F(SvcDatetimeTest, DayChangeTest) {
  dst_enabled = 1;
  timezone_offset = 18000;
  struct change_case {
    double year, month, day;
    int expected;
  };
  const change_case cases[] = {
      {2021, 3, 14, -1}, {2021, 11, 7, 1}, {2021, 6, 1, 0}, {1960, 4, 24, 0}, {1970, 4, 26, -1},
  };
  for (const change_case& c : cases) {
    EXPECT_EQ(dst_change_on_day(date(c.year, c.month, c.day)), c.expected) << c.year << "-" << c.month;
  }
  dst_change_on_day(date(2021, 3, 14));
  EXPECT_EQ(dst_day_bias_change, -3600);
}

TEST_F(SvcDatetimeTest, ConstantsBoundTheCalendar) {
  timezone_offset = 3600;
  datetime_init_constants();
  EXPECT_EQ(default_zero_datetime, 3600);
  EXPECT_LT(datetime_min, -1.5e17);
  EXPECT_GT(datetime_max, 1.5e17);
  timezone_offset = 0;
  datetime_init_constants();
  EXPECT_EQ(default_zero_datetime, 0);
}

}  // namespace
