// Time-zone facts from the C library (TZ rules as on any Linux).
#pragma once

struct timezone_facts {
  long offset_seconds_west;  // standard offset, seconds west of UTC
  int daylight;              // 1 when the zone observes daylight saving this year
  long dst_bias_seconds;     // how much daylight time moves the clock back (negative: -3600)
};

// Runs tzset and reads the zone.
timezone_facts read_timezone();
