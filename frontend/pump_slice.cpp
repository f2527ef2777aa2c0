// The pump's clock (see pump_slice.h).
#include "frontend/pump_slice.h"

#include <ctime>

namespace {

std::uint64_t read_us(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000u;
}

// The coarse clock costs a few nanoseconds where the precise one costs tens
// (the statement loop reads it before every statement); it is usable when it
// ticks at least every 5 ms.
clockid_t choose_clock() {
  timespec res{};
  if (clock_getres(CLOCK_MONOTONIC_COARSE, &res) == 0 && res.tv_sec == 0 && res.tv_nsec <= 5000000)
    return CLOCK_MONOTONIC_COARSE;
  return CLOCK_MONOTONIC;
}

const clockid_t pump_clock_id = choose_clock();

}  // namespace

std::uint64_t pump_clock_us() { return read_us(pump_clock_id); }

