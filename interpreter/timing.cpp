// Elapsed-time measurement over the monotonic clock, the "Calc. Time" report
// line, and the user-interrupt poll that long computations call.
#include "interpreter/timing.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "interpreter/errors.h"
#include "interpreter/output.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_state.h"
#include "interpreter/window_controls.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "ports/frontend_port.h"

int timer_available = 1;
std::int64_t timer_frequency = static_cast<std::int64_t>(monotonic_frequency);
std::uint32_t timer_ticks_per_us = static_cast<std::uint32_t>(monotonic_frequency / 1000000);
std::int32_t timer_overhead_us = 0;
std::int32_t timer_global_overhead_us = 0;
std::int64_t timer_global_start = 0;
std::int64_t perf_start_time = 0;

namespace {

constexpr std::int32_t poll_interval_us = 100000;  // pump the window about ten times a second
constexpr std::uint64_t poll_overflow_us = 200000;  // no usable tick rate: always pump

std::int64_t read_counter() { return static_cast<std::int64_t>(monotonic_now()); }

// Microseconds between stamp and now, computed in 64 bits; 0 without a usable
// tick rate (a counter slower than 1 MHz) or when the stamp lies in the future.
std::uint64_t ticks_to_us(std::int64_t now, std::int64_t stamp) {
  if (timer_ticks_per_us == 0 || now <= stamp) return 0;
  std::uint64_t d = static_cast<std::uint64_t>(now) - static_cast<std::uint64_t>(stamp);
  return d / timer_ticks_per_us;
}

// Elapsed microseconds less the reading overhead, never negative, and
// saturated at the largest 32-bit value rather than wrapping to 0 once a
// measurement runs past 2^31 microseconds (about 35.8 minutes).
std::int32_t corrected_us(std::uint64_t us, std::int32_t overhead) {
  if (us > static_cast<std::uint64_t>(INT32_MAX)) us = INT32_MAX;
  std::int64_t r = static_cast<std::int64_t>(us) - overhead;
  if (r < 0) return 0;
  return static_cast<std::int32_t>(r);
}

}  // namespace

void timer_read(std::int64_t& stamp) { stamp = timer_available ? read_counter() : 0; }

std::int32_t timer_elapsed_us(std::int64_t stamp) {
  if (!timer_available) return 0;
  return corrected_us(ticks_to_us(read_counter(), stamp), timer_overhead_us);
}

void timer_read_global() { timer_global_start = read_counter(); }

std::int32_t timer_elapsed_us_global() {
  // The clock is monotonic and cannot fail to read, so -1 never occurs here.
  return corrected_us(ticks_to_us(read_counter(), timer_global_start), timer_global_overhead_us);
}

// Formats into a buffer of its own: a timing report in the middle of a
// statement must not overwrite the string value being built.
void print_timing(const char* label, std::int32_t microseconds) {
  std::string line = label ? label : "";
  char number[64];
  int n = std::snprintf(number, sizeof number, " %8.3f ms.\n", static_cast<double>(microseconds) / 1000.0);
  if (n < 0) return;
  line.append(number, std::min(static_cast<std::size_t>(n), sizeof number - 1));
  print_text(line);
}

void timer_calibrate() {
  std::int64_t ticks = timer_frequency / 1000000;
  timer_ticks_per_us = ticks <= 0 ? 0 : ticks > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(ticks);
  timer_overhead_us = 0;
  std::int64_t stamp = 0;
  timer_read(stamp);
  timer_overhead_us = timer_elapsed_us(stamp);
  timer_global_overhead_us = 0;
  timer_read_global();
  timer_global_overhead_us = timer_elapsed_us_global();
  timer_read(perf_start_time);
}

int poll_user_interrupt() {
  if (console_mode) {  // no Kill button and no window to keep alive; Ctrl+C ends the process
    console_check_interrupt();
    return 0;
  }
  std::int64_t now = read_counter();
  std::uint64_t since = timer_ticks_per_us ? ticks_to_us(now, perf_start_time) : poll_overflow_us;
  if (since > static_cast<std::uint64_t>(poll_interval_us)) {
    perf_start_time = now;
    controls_show_busy();
    computing_busy = 1;
    pump_window_events();  // a quit request counts as Kill
  }
  if (kill_requested) return end_busy_run_killed();
  return 0;
}

int end_busy_run_killed() {
  controls_end_busy();
  scan_pointer = line_end;
  program_offset = program_length;
  program_ended = 1;
  step_mode = 0;
  debug_mode = 0;
  return report_error(err_user_interrupted_program);
}
