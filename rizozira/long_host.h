// What the long-number kernels need from the program around them, and
// nothing more. The interpreter implements these (interpreter/long_bridge.cpp);
// the kernel tests and benchmarks link a small host of their own instead.
//
// rizozira/ includes only its own headers and this one: it knows nothing of
// expression items, variables, accumulators or windows.
#pragma once
#include <cstdint>
#include <string_view>

// Reports error `code` (printed where the host prints errors) and returns
// -code. Every kernel failure is reported once, where it happens.
int long_host_report_error(int code);

// Prints text produced by DEBUG LONG and the DEBUG TIMER reports.
void long_host_print(std::string_view text);

// Polled during long computations: 0 to go on, or the negative code of an
// interrupt (already reported); the kernel then stops and passes it upwards.
int long_host_poll_interrupt();

// A time stamp, and the microseconds since one (less the host's reading
// overhead, never negative).
void long_host_timer_read(std::int64_t& stamp);
std::int32_t long_host_timer_elapsed_us(std::int64_t stamp);
// One "Calc. Time" report line: label and the time in milliseconds.
void long_host_print_timing(const char* label, std::int32_t microseconds);

// Tuning and timing variables by name. get: 0 with the variable's integer
// value, or nonzero when there is no usable variable of that name. set: stores
// the value when such a variable exists (it is never created).
int long_host_get_tuning(const char* name, std::int32_t* value);
void long_host_set_tuning(const char* name, std::int32_t value);

// 1 when angles are in degrees (the trigonometric functions and ATN/ACOT
// convert at their edges), else 0.
int long_host_degrees_mode();
