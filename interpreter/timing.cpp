// Elapsed-time measurement over the monotonic clock, the "Calc. Time" report
// line, and the user-interrupt poll that long computations call.
#include "interpreter/timing.h"

#include <cstdio>

#include "interpreter/errors.h"
#include "interpreter/output.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_state.h"
#include "platform/clock.h"
#include "platform/frontend_port.h"

int timer_available = 1;
std::int64_t timer_frequency = static_cast<std::int64_t>(monotonic_frequency);
std::uint32_t timer_ticks_per_us = static_cast<std::uint32_t>(monotonic_frequency / 1000000);
std::int32_t timer_overhead_us = 0;
std::int32_t timer_global_overhead_us = 0;
std::int64_t timer_global_start = 0;
std::int64_t perf_start_time = 0;

namespace {

constexpr std::int32_t poll_interval_us = 100000;  // pump the window about ten times a second
constexpr std::uint32_t poll_overflow_us = 200000;  // elapsed time too large for 32 bits

std::int64_t read_counter() { return static_cast<std::int64_t>(monotonic_now()); }

// Microseconds between stamp and now as a 32-bit quotient; overflow_value when
// the quotient does not fit (always so without a usable tick rate).
std::uint32_t ticks_to_us(std::int64_t now, std::int64_t stamp, std::uint32_t overflow_value) {
  std::uint64_t d = static_cast<std::uint64_t>(now) - static_cast<std::uint64_t>(stamp);
  if (timer_ticks_per_us == 0 || (d >> 32) >= timer_ticks_per_us) return overflow_value;
  return static_cast<std::uint32_t>(d / timer_ticks_per_us);
}

// q - overhead as a signed 32-bit number, never negative.
std::int32_t corrected_us(std::uint32_t q, std::int32_t overhead) {
  std::int64_t r = static_cast<std::int64_t>(static_cast<std::int32_t>(q)) - overhead;
  if (r < 0 || r > INT32_MAX) return 0;
  return static_cast<std::int32_t>(r);
}

}  // namespace

void timer_read(std::int64_t& stamp) { stamp = timer_available ? read_counter() : 0; }

std::int32_t timer_elapsed_us(std::int64_t stamp) {
  if (!timer_available) return 0;
  return corrected_us(ticks_to_us(read_counter(), stamp, 0), timer_overhead_us);
}

void timer_read_global() { timer_global_start = read_counter(); }

std::int32_t timer_elapsed_us_global() {
  // The clock is monotonic and cannot fail to read, so -1 never occurs here.
  return corrected_us(ticks_to_us(read_counter(), timer_global_start, 0), timer_global_overhead_us);
}

void print_timing(const char* label, std::int32_t microseconds) {
  int n = std::snprintf(string_accumulator, string_accumulator_size, "%s %8.3f ms.\n", label,
                        static_cast<double>(microseconds) / 1000.0);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) >= string_accumulator_size) n = static_cast<int>(string_accumulator_size - 1);
  string_accumulator_length = n;
  print_text(std::string_view(string_accumulator, static_cast<std::size_t>(n)));
}

void timer_calibrate() {
  timer_ticks_per_us = static_cast<std::uint32_t>(timer_frequency / 1000000);
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
  if (console_mode) return 0;  // no Kill button and no window to keep alive
  std::int64_t now = read_counter();
  std::uint32_t since = ticks_to_us(now, perf_start_time, poll_overflow_us);
  FrontendPort& port = frontend_port();
  if (since > static_cast<std::uint32_t>(poll_interval_us)) {
    perf_start_time = now;
    port.enable_control(IDC_KILL, true);
    port.enable_control(IDC_COMMAND, false);
    port.set_control_text(IDC_RUN_STEP, "Step");
    computing_busy = 1;
    if (!port.pump_messages()) kill_requested = 1;  // the application is quitting
  }
  if (kill_requested) {
    port.enable_control(IDC_KILL, false);
    port.enable_control(IDC_RUN_STEP, true);
    scan_pointer = line_end;
    program_offset = program_length;
    program_ended = 1;
    step_mode = 0;
    debug_mode = 0;
    return report_error(106);
  }
  return 0;
}
