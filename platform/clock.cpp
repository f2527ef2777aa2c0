// Monotonic clock and waits on CLOCK_MONOTONIC / clock_nanosleep.
#include "platform/clock.h"

#include <cerrno>
#include <ctime>

std::uint64_t monotonic_now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * monotonic_frequency + static_cast<std::uint64_t>(ts.tv_nsec);
}

void sleep_microseconds(std::uint64_t us) {
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(us / 1000000);
  ts.tv_nsec = static_cast<long>((us % 1000000) * 1000);
  while (clock_nanosleep(CLOCK_MONOTONIC, 0, &ts, &ts) == EINTR) {
  }
}

double wall_clock_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}
