// Date-time expansion and daylight saving checked against the C library's
// gmtime_r and localtime_r under fixed TZ values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "interpreter/datetime.h"
#include "interpreter/dst_rules.h"
#include "interpreter/keywords.h"
#include "interpreter/run_state.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"
#include "platform/timezone.h"

namespace {

constexpr std::time_t quarter_hour = 15 * 60;

class SvcDatetimeGlibcTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  std::string saved_tz;
  bool had_tz = false;

  void SetUp() override {
    install_frontend_port(&port);
    const char* tz = std::getenv("TZ");
    had_tz = tz != nullptr;
    if (tz) saved_tz = tz;
    line_start = nullptr;
    dst_add_builtin_rules();
  }
  void TearDown() override {
    if (had_tz) setenv("TZ", saved_tz.c_str(), 1);
    else unsetenv("TZ");
    tzset();
    timezone_offset = 0;
    dst_enabled = 0;
    dst_add_builtin_rules();
    install_frontend_port(nullptr);
  }

  // Sets TZ and takes the zone offset and daylight flag from the C library,
  // as start-up does.
  timezone_facts use_zone(const char* tz) {
    setenv("TZ", tz, 1);
    timezone_facts zone = read_timezone();
    timezone_offset = static_cast<std::int32_t>(zone.offset_seconds_west);
    dst_enabled = zone.daylight;
    dst_reset_caches();
    return zone;
  }

  // Our local fields of value against the C library's broken-down time of
  // its whole second; on success the fields convert back to value.
  static ::testing::AssertionResult matches(double value, const std::tm& t) {
    datetime_fields f{};
    if (datetime_expand_local(f, value) != 0) return ::testing::AssertionFailure() << "expand failed at " << value;
    double year = t.tm_year + 1900.0;
    if (year <= 0) year -= 1;  // astronomical 0 is 1 BC
    const double expected[] = {year,      t.tm_mon + 1.0,     t.tm_mday + 0.0, t.tm_hour + 0.0,
                               t.tm_min + 0.0, t.tm_wday + 1.0, t.tm_yday + 1.0, t.tm_isdst > 0 ? 1.0 : 0.0};
    const double got[] = {f.year, f.month, f.day, f.hour, f.minute, f.weekday, f.day_of_year, f.dst};
    const char* names[] = {"year", "month", "day", "hour", "minute", "weekday", "day of year", "dst"};
    for (int i = 0; i < 8; ++i) {
      if (expected[i] != got[i])
        return ::testing::AssertionFailure() << names[i] << " " << got[i] << " != " << expected[i] << " at value "
                                             << std::fixed << value;
    }
    double fraction = value - std::floor(value);
    if (std::fabs(f.second - (t.tm_sec + fraction)) > 1e-6)
      return ::testing::AssertionFailure() << "second " << f.second << " != " << t.tm_sec + fraction << " at "
                                           << std::fixed << value;
    double back = datetime_from_fields(f);
    if (back != value)
      return ::testing::AssertionFailure() << "fields give back " << std::fixed << back << " for " << value;
    return ::testing::AssertionSuccess();
  }

  static std::time_t utc_of(long long year, int month, int day, int hour = 0) {
    std::tm t{};
    t.tm_year = static_cast<int>(year - 1900);
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    return timegm(&t);
  }

  // Compares every quarter hour from first (UTC) for the given number of days.
  void compare_local_days(std::time_t first, int days) {
    for (std::time_t t = first; t < first + days * 86400; t += quarter_hour) {
      std::tm local{};
      ASSERT_NE(localtime_r(&t, &local), nullptr);
      ASSERT_TRUE(matches(static_cast<double>(t), local));
    }
  }
};

TEST_F(SvcDatetimeGlibcTest, UtcMatchesGmtimeFromBcToFarFuture) {
  timezone_facts zone = use_zone("UTC0");
  EXPECT_EQ(zone.offset_seconds_west, 0);
  EXPECT_EQ(zone.daylight, 0);
  // Each New Year from 3000 BC to 3000 AD: the second before, the moment
  // itself, and a fraction after it.
  for (long long year = -2999; year <= 3000; ++year) {
    std::time_t jan1 = utc_of(year, 1, 1);
    for (double offset : {-1.0, 0.0, 0.25, 86399.5}) {
      double value = static_cast<double>(jan1) + offset;
      std::time_t whole = static_cast<std::time_t>(std::floor(value));
      std::tm t{};
      ASSERT_NE(gmtime_r(&whole, &t), nullptr);
      ASSERT_TRUE(matches(value, t)) << "year " << year;
    }
  }
  // A stride that visits every time of day and every day of the year, and
  // a few values in the far past and future.
  for (std::time_t t = -70000000000LL; t < 70000000000LL; t += 86400LL * 373 + 3600 * 7 + 60 * 11 + 13) {
    std::tm g{};
    ASSERT_NE(gmtime_r(&t, &g), nullptr);
    ASSERT_TRUE(matches(static_cast<double>(t), g));
  }
  for (std::time_t t : {-3000000000000000LL, -31556952000000LL, 31556952000000LL, 3000000000000000LL}) {
    std::tm g{};
    ASSERT_NE(gmtime_r(&t, &g), nullptr);
    EXPECT_TRUE(matches(static_cast<double>(t), g));
  }
}

// The built-in rules from 2007 on are the US rules of these two zones: the
// change days (and the days around them) agree every quarter hour, as do
// New Year and a summer day.
TEST_F(SvcDatetimeGlibcTest, EasternTimeMatchesLocaltimeOnChangeDays) {
  for (const char* tz : {"EST5EDT,M3.2.0,M11.1.0", "EST5EDT"}) {
    SCOPED_TRACE(tz);
    timezone_facts zone = use_zone(tz);
    EXPECT_EQ(zone.offset_seconds_west, 18000);
    EXPECT_EQ(zone.daylight, 1);
    for (int year = 2007; year <= 2037; ++year) {
      SCOPED_TRACE(year);
      compare_local_days(utc_of(year, 3, 7, 5), 9);    // the second Sunday of March lies in 8..14
      compare_local_days(utc_of(year, 10, 31, 4), 9);  // the first Sunday of November lies in 1..7
      compare_local_days(utc_of(year - 1, 12, 31, 5), 2);
      compare_local_days(utc_of(year, 7, 4, 4), 1);
    }
  }
}

// A southern rule given to the interpreter agrees with the same rule in TZ:
// daylight time across New Year, the change in April at 03:00 daylight time
// and in October at 02:00 standard time.
TEST_F(SvcDatetimeGlibcTest, SouthernRuleMatchesLocaltime) {
  timezone_facts zone = use_zone("AEST-10AEDT,M10.1.0,M4.1.0/3");
  EXPECT_EQ(zone.offset_seconds_west, -36000);
  ASSERT_EQ(dst_rule_add(2007, 2037, 10, 1, 1, 60, 2, 4, 1, 1, 0, 3), 0);
  for (int year = 2008; year <= 2037; ++year) {
    SCOPED_TRACE(year);
    compare_local_days(utc_of(year, 3, 31, 0), 9);
    compare_local_days(utc_of(year, 9, 30, 0), 9);
    compare_local_days(utc_of(year - 1, 12, 31, 0), 2);
    compare_local_days(utc_of(year, 6, 15, 0), 1);
  }
}

// date$, time$ and dayofweek$ follow the C library's local time, the day
// laid out as its classic text has it: a blank before a day below 10.
TEST_F(SvcDatetimeGlibcTest, ClockTextsFollowLocalTime) {
  init_predefined_variables();
  struct text_case {
    const char* tz;
    std::time_t moment;
    const char* date;
    const char* time;
    const char* weekday;
  };
  const text_case cases[] = {
      {"UTC0", utc_of(2026, 12, 8, 13) + 5 * 60 + 9, "12- 8-2026", "13:05:09", "Tue"},
      {"UTC0", utc_of(2021, 3, 15, 0), "03-15-2021", "00:00:00", "Mon"},
      {"UTC0", utc_of(1969, 12, 31, 23) + 3599, "12-31-1969", "23:59:59", "Wed"},
      {"EST5EDT,M3.2.0,M11.1.0", utc_of(2021, 7, 5, 3) + 30 * 60, "07- 4-2021", "23:30:00", "Sun"},
  };
  for (const text_case& c : cases) {
    use_zone(c.tz);
    datetime_set_clock_texts(static_cast<std::int64_t>(c.moment));
    EXPECT_STREQ(predefined_string(PREDEF_DATE), c.date) << c.tz << " " << c.moment;
    EXPECT_STREQ(predefined_string(PREDEF_TIME), c.time) << c.tz << " " << c.moment;
    EXPECT_STREQ(predefined_string(PREDEF_DAYOFWEEK), c.weekday) << c.tz << " " << c.moment;
  }
}

}  // namespace
