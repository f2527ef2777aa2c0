// Time-zone facts from tzset/localtime_r.
#include "platform/timezone.h"

#include <ctime>

timezone_facts read_timezone() {
  tzset();
  timezone_facts f{};
  f.offset_seconds_west = timezone;
  f.daylight = daylight != 0 ? 1 : 0;
  // The C library gives no bias directly; derive it from a summer and a
  // winter instant of this year (the difference of their UTC offsets).
  f.dst_bias_seconds = 0;
  if (f.daylight) {
    time_t now = time(nullptr);
    tm t{};
    localtime_r(&now, &t);
    long best = 0;
    for (int month = 0; month < 12; ++month) {
      tm probe{};
      probe.tm_year = t.tm_year;
      probe.tm_mon = month;
      probe.tm_mday = 15;
      probe.tm_hour = 12;
      probe.tm_isdst = -1;
      time_t when = mktime(&probe);
      tm local{};
      localtime_r(&when, &local);
      if (local.tm_isdst > 0) {
        long off = -local.tm_gmtoff;  // seconds west while daylight time is on
        best = off - f.offset_seconds_west;
        break;
      }
    }
    f.dst_bias_seconds = best != 0 ? best : -3600;
  }
  return f;
}
