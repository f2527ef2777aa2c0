// The switches that steer long-number arithmetic (precision, integer mode,
// rounding, DEBUG options and timers), tuning variables and the DEBUG LONG dump.
#include <strings.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "rizozira/long_number.h"

std::int32_t long_precision = long_precision_default;
std::int32_t long_float_precision = long_precision_default;
std::int32_t integer_mode = 0;
std::int32_t long_round_mode = 1;
std::int32_t long_full_multiply = 0;
std::int32_t long_lnrat_enabled = 1;
std::int32_t long_old_convert = 0;
std::int32_t math_error_ok = 0;
std::int32_t math_error_flag = 0;
std::int32_t long_debug_dump_on = 0;
std::int32_t long_peekbcd_on = 0;
std::int32_t long_timer_flags[LONG_TIMER_COUNT] = {};

namespace {
// Names in the index order of long_timer_index (the order is the interface).
const char* const timer_names[LONG_TIMER_COUNT] = {
    "atn", "sqr", "longpi", "longe", "sin", "exp", "log", "root",
    "power", "mult", "div", "factorial", "mod", "half", "convert",
};
}  // namespace

const char* const long_timer_labels[LONG_TIMER_COUNT] = {
    "ATN Calc. Time: ",
    "SQR Calc. Time: ",
    "PI Calc. Time: ",
    "E  Calc. Time: ",
    "SIN Calc. Time: ",
    "EXP Calc. Time: ",
    "LOG Calc. Time: ",
    "ROOT Calc. Time: ",
    "\"^\"   Calc. Time: ",
    "Mult Calc. Time: ",
    "Div Calc. Time: ",
    "Factorial Calc. Time: ",
    "Mod Calc. Time: ",
    "Half Calc. Time: ",
    "long_convert_in Time:      ",
};

int long_timer_find(const char* name) {
  if (name == nullptr) return -1;
  for (int i = 0; i < LONG_TIMER_COUNT; ++i) {
    if (strcasecmp(name, timer_names[i]) == 0) return i;
  }
  return -1;
}

int long_set_float_precision(double n) {
  long_precision = long_float_precision;  // undo any temporary raise first
  integer_mode = 0;
  if (!std::isfinite(n) || !(n > 10.0) || !(n <= static_cast<double>(long_precision_max))) {
    return long_host_report_error(154);
  }
  long_precision = static_cast<std::int32_t>(std::trunc(n));
  long_float_precision = long_precision;
  return 0;
}

void long_set_float_mode() { integer_mode = 0; }

void long_set_integer_mode() { integer_mode = 1; }

void long_clear_constant_caches() {
  long_clear(long_pi_cache);
  long_clear(long_e_cache);
  long_clear(long_ln10_cache);
  long_pi_cache_digits = 0;
  long_e_cache_digits = 0;
  long_ln10_cache_digits = 0;
}

void long_set_round_mode(int mode) {
  long_round_mode = mode != 0 ? 1 : 0;
  long_clear_constant_caches();  // cached constants were rounded the other way
}

void long_reset_debug_options() {
  long_round_mode = 1;
  long_lnrat_enabled = 1;
  long_full_multiply = 0;
  long_old_convert = 0;
  math_error_ok = 0;
  math_error_flag = 0;
  long_debug_dump_on = 0;
  long_peekbcd_on = 0;
  for (std::int32_t& flag : long_timer_flags) flag = 0;
}

void long_modes_run_start() {
  long_precision = long_precision_default;
  long_float_precision = long_precision_default;
  integer_mode = 0;
}

void long_timer_begin(int index, std::int64_t& stamp) {
  stamp = 0;
  if (index >= 0 && index < LONG_TIMER_COUNT && long_timer_flags[index]) long_host_timer_read(stamp);
}

void long_timer_end(int index, std::int64_t stamp, const char* label) {
  if (index < 0 || index >= LONG_TIMER_COUNT || !long_timer_flags[index]) return;
  long_host_print_timing(label != nullptr ? label : long_timer_labels[index],
                         long_host_timer_elapsed_us(stamp));
}

std::int32_t long_tuning_int(const char* name, std::int32_t fallback) {
  std::int32_t value = 0;
  if (long_host_get_tuning(name, &value) != 0 || value == 0) return fallback;
  return value;
}

namespace {

void append_block(std::string& line, std::uint32_t block) {
  char text[16];
  std::snprintf(text, sizeof text, "%08u ", block);
  line += text;
}

}  // namespace

void long_debug_dump(const char* label, const long_number* n, int full) {
  if (!long_debug_dump_on || n == nullptr) return;
  char header[160];
  int h = std::snprintf(header, sizeof header, "\n%-4s: blks=%4d sign= %+2d len=%4d exp=%4d, norm=%d ",
                        label != nullptr ? label : "", n->blks, n->sign, n->len, n->exp, n->norm);
  if (h < 0) return;
  std::string out(header);
  std::int32_t count = n->blks;
  if (count < 0) count = 0;  // a free slot has no blocks to show
  if (count * long_block_bytes > n->capacity_bytes) count = n->capacity_bytes / long_block_bytes;
  if (full) {
    out += "\n";
    std::int32_t i = 0;
    std::int32_t first = count < 8 ? count : 8;
    for (; i < first; ++i) append_block(out, n->blocks[i]);
    out += "\n";
    if (count - i > 15) {
      while (count - i > 15) i += 8;
      out += "- - - - - - - -\n";
    }
    for (std::int32_t col = 0; i < count; ++i) {
      append_block(out, n->blocks[i]);
      if (++col == 8 && i + 1 < count) {
        out += "\n";
        col = 0;
      }
    }
    if (first < count) out += "\n";
  } else {
    int visible = h - 1;  // the header's width on its line
    int room = (80 - visible) / 9;
    if (room < 3) room = 3;
    if (count <= room) {
      for (std::int32_t i = 0; i < count; ++i) append_block(out, n->blocks[i]);
    } else {
      append_block(out, n->blocks[0]);
      append_block(out, n->blocks[1]);
      out += "- - - -  ";
      for (std::int32_t i = count - (room - 3); i < count; ++i) append_block(out, n->blocks[i]);
    }
    out += "\n";
  }
  long_host_print(out);
}
