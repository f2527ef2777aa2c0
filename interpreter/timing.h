// Elapsed-time measurement, timing reports and the user-interrupt poll.
#pragma once
#include <cstdint>

extern int timer_available;
extern std::int64_t timer_frequency;
extern std::uint32_t timer_ticks_per_us;
extern std::int32_t timer_overhead_us;
extern std::int32_t timer_global_overhead_us;
extern std::int64_t timer_global_start;
extern std::int64_t perf_start_time;

void timer_read(std::int64_t& stamp);
std::int32_t timer_elapsed_us(std::int64_t stamp);
void timer_read_global();
std::int32_t timer_elapsed_us_global();
void print_timing(const char* label, std::int32_t microseconds);
void timer_calibrate();
// 0 to go on, or the negative code of "User interrupted program".
int poll_user_interrupt();
// Ends the run after Kill while a long computation or a dialog wait had the
// buttons: Kill disabled, Step enabled, the run stopped where it stands.
// Returns the negative code of "User interrupted program".
int end_busy_run_killed();
