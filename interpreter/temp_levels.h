// The one guard of the temporary levels: the temporary strings and long
// numbers a statement, an expression or a call takes go back to the levels
// saved before it.
#pragma once
#include <cstdint>

#include "interpreter/variables.h"
#include "rizozira/long_number.h"

class temp_level_guard {
 public:
  temp_level_guard() = default;
  ~temp_level_guard() {
    if (active_) restore();
  }
  temp_level_guard(const temp_level_guard&) = delete;
  temp_level_guard& operator=(const temp_level_guard&) = delete;

  // Puts the levels back now (keeping the peak of the string level); the
  // guard then does nothing more, so what is taken afterwards stays.
  void restore() {
    if (temp_strings_used > temp_strings_peak) temp_strings_peak = temp_strings_used;
    temp_strings_used = strings_;
    if (long_temp_used > longs_) long_temp_release_to(longs_);  // most statements take none
    active_ = false;
  }

 private:
  std::uint32_t strings_ = temp_strings_used;
  std::int32_t longs_ = long_temp_used;
  bool active_ = true;
};
