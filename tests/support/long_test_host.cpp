#include "tests/support/long_test_host.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "rizozira/long_host.h"

namespace {

constexpr int interrupt_code = 106;

std::int64_t now_us() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

LongTestHost& long_test_host() {
  static LongTestHost host;
  return host;
}

int LongTestHost::reported(int code) const {
  return static_cast<int>(std::count(errors.begin(), errors.end(), code));
}

void LongTestHost::clear_output() {
  output.clear();
  errors.clear();
}

void LongTestHost::reset() { *this = LongTestHost{}; }

int long_host_report_error(int code) {
  LongTestHost& host = long_test_host();
  host.errors.push_back(code);
  host.output += "ERROR " + std::to_string(code) + "\n";
  return -code;
}

void long_host_print(std::string_view text) { long_test_host().output.append(text); }

int long_host_poll_interrupt() {
  return long_test_host().interrupt ? long_host_report_error(interrupt_code) : 0;
}

void long_host_timer_read(std::int64_t& stamp) { stamp = now_us(); }

std::int32_t long_host_timer_elapsed_us(std::int64_t stamp) {
  std::int64_t us = now_us() - stamp;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(us, 0, INT32_MAX));
}

void long_host_print_timing(const char* label, std::int32_t microseconds) {
  char number[64];
  std::snprintf(number, sizeof number, " %8.3f ms.\n", static_cast<double>(microseconds) / 1000.0);
  long_test_host().output += std::string(label != nullptr ? label : "") + number;
}

int long_host_get_tuning(const char* name, std::int32_t* value) {
  const auto& variables = long_test_host().variables;
  auto it = variables.find(name);
  *value = it == variables.end() ? 0 : it->second;
  return it == variables.end() ? 18 : 0;
}

void long_host_set_tuning(const char* name, std::int32_t value) {
  auto& variables = long_test_host().variables;
  auto it = variables.find(name);
  if (it != variables.end()) it->second = value;
}

int long_host_degrees_mode() { return long_test_host().degrees; }
