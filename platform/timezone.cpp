// Time-zone facts from tzset/localtime_r.
#include "platform/timezone.h"

#include <ctime>

namespace {

// Looks for daylight time in the current year by probing the middle of each
// month. Returns the daylight offset in seconds west of UTC through `west`
// and true when some month of this year is in daylight time.
bool find_daylight_this_year(long& west) {
  time_t now = time(nullptr);
  tm t{};
  if (localtime_r(&now, &t) == nullptr) return false;
  for (int month = 0; month < 12; ++month) {
    tm probe{};
    probe.tm_year = t.tm_year;
    probe.tm_mon = month;
    probe.tm_mday = 15;
    probe.tm_hour = 12;
    probe.tm_isdst = -1;
    time_t when = mktime(&probe);
    if (when == static_cast<time_t>(-1)) continue;
    tm local{};
    if (localtime_r(&when, &local) == nullptr) continue;
    if (local.tm_isdst > 0) {
      west = -local.tm_gmtoff;
      return true;
    }
  }
  return false;
}

}  // namespace

timezone_facts read_timezone() {
  tzset();
  timezone_facts f{};
  f.offset_seconds_west = timezone;
  f.daylight = 0;
  f.dst_bias_seconds = 0;
  // The C library's `daylight` is set for every zone whose history holds
  // daylight time at all (Asia/Tokyo, Asia/Kolkata, zones that gave it up
  // years ago), so it cannot say whether the zone observes daylight saving
  // now. A zone counts as observing it when some month of the current year
  // is in daylight time; the bias is the difference of the two offsets.
  long daylight_west = 0;
  if (daylight != 0 && find_daylight_this_year(daylight_west)) {
    f.daylight = 1;
    long bias = daylight_west - f.offset_seconds_west;
    f.dst_bias_seconds = bias != 0 ? bias : -3600;
  }
  return f;
}
