// The zone facts read at start-up: a zone counts as observing daylight
// saving only when its current rules have daylight time, not merely because
// its history once had it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "platform/timezone.h"

namespace {

class QaTimezoneTest : public ::testing::Test {
 protected:
  std::string saved_tz;
  bool had_tz = false;

  void SetUp() override {
    const char* tz = std::getenv("TZ");
    had_tz = tz != nullptr;
    if (tz) saved_tz = tz;
  }
  void TearDown() override {
    if (had_tz) setenv("TZ", saved_tz.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

  static bool zone_installed(const char* name) {
    struct stat st{};
    return stat((std::string("/usr/share/zoneinfo/") + name).c_str(), &st) == 0;
  }
};

TEST_F(QaTimezoneTest, DaylightFlagFollowsTheZonesCurrentRules) {
  struct zone_case {
    const char* tz;
    bool needs_database;  // a named zone, not a POSIX rule string
    long west;
    int daylight;
    long bias;
  };
  const zone_case cases[] = {
      {"UTC0", false, 0, 0, 0},
      {"JST-9", false, -32400, 0, 0},
      {"EST5EDT,M3.2.0,M11.1.0", false, 18000, 1, -3600},
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", false, -36000, 1, -3600},
      {"<+0530>-5:30<+0630>,M3.2.0,M11.1.0", false, -19800, 1, -3600},
      // Daylight time long ago only (1948..1951, 1942..1945, 1986..1991).
      {"Asia/Tokyo", true, -32400, 0, 0},
      {"Asia/Kolkata", true, -19800, 0, 0},
      {"Asia/Shanghai", true, -28800, 0, 0},
      {"America/New_York", true, 18000, 1, -3600},
      {"Europe/Berlin", true, -3600, 1, -3600},
  };
  for (const zone_case& c : cases) {
    if (c.needs_database && !zone_installed(c.tz)) continue;
    SCOPED_TRACE(c.tz);
    setenv("TZ", c.tz, 1);
    timezone_facts zone = read_timezone();
    EXPECT_EQ(zone.offset_seconds_west, c.west);
    EXPECT_EQ(zone.daylight, c.daylight);
    EXPECT_EQ(zone.dst_bias_seconds, c.bias);
  }
}

}  // namespace
