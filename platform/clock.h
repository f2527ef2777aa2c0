// Monotonic clock and waits.
#pragma once
#include <cstdint>

// Nanoseconds on CLOCK_MONOTONIC; the counter behind every elapsed-time report.
constexpr std::uint64_t monotonic_frequency = 1000000000ULL;  // counts per second
std::uint64_t monotonic_now();

// Sleeps for the given microseconds (restarts after signals).
void sleep_microseconds(std::uint64_t us);

// Seconds since 1970-01-01 UTC with microsecond resolution (wall clock).
double wall_clock_seconds();
