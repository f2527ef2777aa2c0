// Time slices of the desktop's event pump: the statement loop asks to pump
// before every statement, but dispatching the window's events costs
// microseconds, so the desktop pumps only when a slice has passed since the
// last pump (and always before a wait). The clock is a plain function so that
// tests can drive it.
#pragma once
#include <cstdint>

// A cheap monotonic clock in microseconds: the kernel's tick-updated clock
// when its resolution is fine enough for slices, else the precise one.
std::uint64_t pump_clock_us();

class PumpSlice {
 public:
  using clock_fn = std::uint64_t (*)();  // monotonic, microseconds
  // Long enough that dispatching costs a fraction of a percent of the run,
  // short enough that Kill, Step, clicks, keys and repaints are taken well
  // within 50 ms.
  static constexpr std::uint64_t default_slice_us = 8000;

  explicit PumpSlice(clock_fn clock = pump_clock_us, std::uint64_t slice_us = default_slice_us)
      : clock_(clock), slice_us_(slice_us), last_(clock()) {}

  // True when a whole slice has passed since the last pump.
  bool due() const { return clock_() - last_ >= slice_us_; }
  // The events have just been dispatched: the next slice starts now.
  void pumped() { last_ = clock_(); }
  // Another clock (tests); the slice starts anew on it.
  void set_clock(clock_fn clock) {
    clock_ = clock;
    last_ = clock_();
  }
  std::uint64_t slice_us() const { return slice_us_; }

 private:
  clock_fn clock_;
  std::uint64_t slice_us_;
  std::uint64_t last_;
};
