// Dates and times: calendar arithmetic between date-time values and fields,
// zone offset and daylight saving, and the date statements and functions.
#include "interpreter/datetime.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <cstring>

#include "interpreter/conversions.h"
#include "interpreter/dst_rules.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/item.h"
#include "interpreter/keywords.h"
#include "interpreter/named_vars.h"
#include "interpreter/pending.h"
#include "graph/graph_window.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/variables.h"
#include "platform/timezone.h"

std::int32_t timezone_offset = 0;
std::int32_t timezone_offset_startup = 0;
int dst_enabled_startup = 0;
double datetime_now = 0;
datetime_fields datetime_now_fields{1970, 1, 1, 0, 0, 0, 5, 1, 0};
datetime_fields datetime_work{};
double datetime_min = 0;
double datetime_max = 0;
double default_zero_datetime = 0;

const int month_end_common[13] = {-1, 30, 58, 89, 119, 150, 180, 211, 242, 272, 303, 333, 364};
const int month_end_leap[13] = {-1, 30, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

namespace {

constexpr double seconds_per_day = 86400.0;
constexpr double year_limit = 5000000000.0;  // MAKEDATETIME years lie within +-this
constexpr int error_invalid_parameter = 156;
constexpr int error_invalid_value = 297;
constexpr const char* weekday_names = "SunMonTueWedThuFriSat";
constexpr const char* month_names = "JanFebMarAprMayJunJulAugSepOctNovDec";

// An integer-valued double in 0..limit-1 as an index (callers check the range).
int small_index(double v, int limit) {
  if (!(v >= 0) || v >= limit) return 0;
  return static_cast<int>(v);
}

}  // namespace

void datetime_fields_to_array(const datetime_fields& f, double out[datetime_field_count]) {
  const double values[datetime_field_count] = {f.year, f.month, f.day, f.hour, f.minute,
                                               f.second, f.weekday, f.day_of_year, f.dst};
  std::memcpy(out, values, sizeof values);
}

void datetime_fields_from_array(const double in[datetime_field_count], datetime_fields& f) {
  f = {in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8]};
}

bool datetime_value_ok(double value) { return std::isfinite(value) && std::fabs(value) <= datetime_value_limit; }

bool datetime_is_leap_year(double year) {
  return std::fmod(year, 4.0) == 0 && (std::fmod(year, 100.0) != 0 || std::fmod(year, 400.0) == 0);
}

double datetime_days_between_years(double y0, double y1) {
  auto multiples = [&](double k) { return std::floor((y1 - 1) / k) - std::floor((y0 + k - 1) / k) + 1; };
  return (y1 - y0) * 365.0 + multiples(4) - multiples(100) + multiples(400);
}

int datetime_expand(datetime_fields& fields, double value) {
  if (!datetime_value_ok(value)) return -1;
  double days = value / seconds_per_day;
  double year = std::floor(days / 365.2425) + 1970;
  double d = std::floor(days);
  double D = 0;
  // The estimate is off by at most a year or two; correct it until the day
  // falls inside the year.
  bool settled = false;
  for (int attempt = 0; attempt < 8 && !settled; ++attempt) {
    D = datetime_days_between_years(1970, year);
    double r = d - D;
    if (r < 0) {
      year -= 1;
    } else if (r >= (datetime_is_leap_year(year) ? 366 : 365)) {
      year += 1;
    } else {
      settled = true;
    }
  }
  if (!settled) return -1;

  const int* table = datetime_is_leap_year(year) ? month_end_leap : month_end_common;
  int w = static_cast<int>(std::trunc(std::fmod(D, 7.0) + 7 + 4)) % 7;  // 1 January 1970 was a Thursday
  double s = value - D * seconds_per_day;
  double jd = std::trunc(s / seconds_per_day);
  int j = small_index(jd, table[12] + 1);
  s -= j * seconds_per_day;
  if (s < 0) s = 0;  // rounding at the very start of a year

  int month = 1;
  while (month < 12 && table[month] < j) ++month;
  double hour = std::trunc(s / 3600);
  if (hour > 23) hour = 23;
  double rest = s - hour * 3600;
  double minute = std::trunc(rest / 60);
  if (minute > 59) minute = 59;

  fields.year = year <= 0 ? year - 1 : year;
  fields.month = month;
  fields.day = j - table[month - 1];
  fields.hour = hour;
  fields.minute = minute;
  fields.second = rest - minute * 60;
  fields.weekday = (j + w) % 7 + 1;
  fields.day_of_year = j + 1;
  fields.dst = 0;
  return 0;
}

namespace {
// The astronomical year of a fields record (1 BC is 0).
double astronomical_year(double year) { return year < 0 ? year + 1 : year; }
}  // namespace

int datetime_expand_local(datetime_fields& fields, double value) {
  double t = value - timezone_offset;
  datetime_fields work;
  if (datetime_expand(work, t) < 0) return -1;
  if (dst_enabled) {
    double year = work.year;
    dst_select_rule(year);
    int state = dst_is_active(work, year);
    if (variable_table) set_named_var_int("bias", dst_bias_in_effect);  // when the program has one
    if (dst_bias_in_effect != 0 && datetime_expand(work, t - dst_bias_in_effect) < 0) return -1;
    work.dst = state;
  }
  fields = work;
  return 0;
}

double datetime_from_fields(const datetime_fields& fields) {
  const double parts[] = {fields.year, fields.month, fields.day, fields.hour, fields.minute, fields.second};
  for (double p : parts)
    if (!std::isfinite(p)) return NAN;

  double Y = astronomical_year(fields.year);
  double M = std::trunc(fields.month - 1);
  if (M < 0 || M > 11) {
    Y += std::trunc(M / 12);
    M = std::fmod(M, 12.0);
    if (M < 0) {
      M += 12;
      Y -= 1;
    }
  }
  int m = small_index(M, 12);
  double days = datetime_days_between_years(1970, Y) + month_end_common[m] +
                ((datetime_is_leap_year(Y) && m >= 2) ? 1 : 0) + fields.day;
  double value = ((days * 24 + fields.hour) * 60 + fields.minute) * 60 + fields.second + timezone_offset;
  if (dst_enabled && datetime_value_ok(value)) {
    datetime_fields probe;
    if (datetime_expand_local(probe, value) == 0) {
      bool previous_year = dst_jan1_overlap != 0;
      if (fields.dst < 0) {
        value += dst_bias_in_effect;
      } else if (fields.dst == 0) {
        value += previous_year ? dst_prev_standard_bias : dst_standard_bias_seconds;
      } else {
        value += previous_year ? dst_prev_daylight_bias : dst_bias_seconds;
      }
    }
  }
  return value;
}

int datetime_format_default(double value) {
  if (!datetime_value_ok(value)) return report_error(error_invalid_value);
  datetime_fields f;
  if (datetime_expand_local(f, value) < 0) return report_error(error_invalid_value);
  // Seconds are shown to the microsecond: round there first, so that
  // 59.9999996 becomes the next minute rather than "60.000000".
  double second = std::round(f.second * 1e6) / 1e6;
  if (second >= 60) {
    datetime_fields next;
    if (datetime_expand_local(next, value + (60 - f.second)) == 0) {
      f = next;
      second = std::round(f.second * 1e6) / 1e6;
      if (second >= 60) second = 0;
    } else {
      second = 59.999999;
    }
  }
  if (second < 0) second = 0;
  int weekday = small_index(f.weekday - 1, 7);
  int month = small_index(f.month - 1, 12);
  int n = std::snprintf(string_accumulator, string_accumulator_size, "%.3s %.3s %02d %02d:%02d:%09.6f %3s %11.0f%s",
                        weekday_names + 3 * weekday, month_names + 3 * month, small_index(f.day, 32),
                        small_index(f.hour, 24), small_index(f.minute, 60), second, f.dst == 1 ? "DST" : "   ",
                        std::fabs(f.year), f.year < 0 ? " BC" : "");
  if (n < 0) n = 0;
  if (static_cast<std::size_t>(n) >= string_accumulator_size) n = static_cast<int>(string_accumulator_size - 1);
  string_accumulator_length = n;
  return ITEM_STRING;
}

int datetime_expand_array(int count, double value, double fields[datetime_field_count]) {
  double t = count > 0 ? value : datetime_now;
  datetime_fields f;
  if (datetime_expand_local(f, t) < 0) return report_error(error_invalid_value);
  datetime_fields_to_array(f, fields);
  return 0;
}

namespace {

// An argument as a double; 2 or a negative code (reported by the conversion).
int argument_double(expr_item& item, double& value) {
  error_column = static_cast<int>(item.column);
  int r = item_to_double(item);
  if (r < 0) return r;
  value = item.value.number;
  return 2;
}

int invalid_parameter_at(const expr_item& item) {
  return report_error_at(item.column, error_invalid_parameter);
}

// The result of MAKEDATETIME into double_accumulator, checked for range.
int make_result(const expr_item& at) {
  double value = datetime_from_fields(datetime_work);
  if (!datetime_value_ok(value)) {
    return report_error_at(at.column, error_invalid_value);
  }
  double_accumulator = value;
  return ITEM_DOUBLE;
}

bool year_in_range(double year) { return std::isfinite(year) && std::fabs(year) <= year_limit; }

}  // namespace

int func_makedatetime(expr_item* arguments, int count) {
  if (count <= 0) {
    double_accumulator = datetime_now;
    return ITEM_DOUBLE;
  }
  expr_item& first = arguments[0];
  if (first.type == ITEM_NUMERIC_ARRAY) {
    const array_entry* entry = first.array;
    if (!entry || entry->dimension_count != 1) {
      return report_error_at(first.column, err_output_array_one_dimensional);
    }
    if (entry->dimension_sizes[0] != datetime_field_count) {
      return report_error_at(first.column, err_improper_array_dimensions);
    }
    double values[datetime_field_count];
    for (int i = 0; i < datetime_field_count; ++i) values[i] = entry->data[i].number;
    datetime_fields_from_array(values, datetime_work);
    for (double v : values)
      if (!std::isfinite(v)) return invalid_parameter_at(first);
    if (!year_in_range(datetime_work.year) || datetime_work.year != std::trunc(datetime_work.year))
      return invalid_parameter_at(first);
    return make_result(first);
  }
  if (count > 7) {
    return report_error_at(arguments[7].column, err_incorrect_number_parameters);
  }

  double v[7] = {0, 1, 0, 0, 0, 0, -1};  // month, day, year, hour, minute, second, DST flag
  for (int i = 0; i < count; ++i) {
    int r = argument_double(arguments[i], v[i]);
    if (r < 0) return r;
    if (!std::isfinite(v[i])) return invalid_parameter_at(arguments[i]);
  }
  const datetime_fields& now = datetime_now_fields;
  // Month, day, hour and minute are truncated; a negative one is taken from now.
  auto whole_or_now = [](double given, double current) {
    double t = std::trunc(given);
    return t < 0 ? current : t;
  };
  datetime_work.month = whole_or_now(v[0], now.month);
  datetime_work.day = count > 1 ? whole_or_now(v[1], now.day) : 1;
  double year = count > 2 ? std::trunc(v[2]) : 0;
  datetime_work.year = year == 0 ? now.year : year;
  datetime_work.hour = count > 3 ? whole_or_now(v[3], now.hour) : 0;
  datetime_work.minute = count > 4 ? whole_or_now(v[4], now.minute) : 0;
  datetime_work.second = count > 5 ? (v[5] < 0 ? now.second : v[5]) : 0;
  datetime_work.dst = count > 6 ? v[6] : -1;
  if (!year_in_range(datetime_work.year)) return invalid_parameter_at(arguments[count > 2 ? 2 : 0]);
  return make_result(arguments[0]);
}

int func_formatdatetime(expr_item* arguments, int count) {
  double t = datetime_now;
  if (count > 0) {
    int r = argument_double(arguments[0], t);
    if (r < 0) return r;
  }
  return datetime_format_default(t);
}

int stmt_updatedatetime() {
  if (no_execute || prescan_mode) return 0;
  std::time_t now = std::time(nullptr);
  datetime_now = static_cast<double>(now);
  datetime_expand_local(datetime_now_fields, datetime_now);
  datetime_set_clock_texts(static_cast<std::int64_t>(now));
  return 0;
}

void datetime_set_clock_texts(std::int64_t now_seconds) {
  // date$, time$ and dayofweek$ come from the C library's local time of the
  // moment, laid out as its classic 24-character text.
  std::time_t now = static_cast<std::time_t>(now_seconds);
  std::tm local{};
  if (!localtime_r(&now, &local)) return;
  int month = local.tm_mon >= 0 && local.tm_mon < 12 ? local.tm_mon : 0;
  int weekday = local.tm_wday >= 0 && local.tm_wday < 7 ? local.tm_wday : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02d-%2d-%d", month + 1, local.tm_mday, local.tm_year + 1900);
  set_predefined_string(PREDEF_DATE, text);
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  set_predefined_string(PREDEF_TIME, text);
  std::snprintf(text, sizeof text, "%.3s", weekday_names + 3 * weekday);
  set_predefined_string(PREDEF_DAYOFWEEK, text);
}

int stmt_settimezone() {
  skip_blanks();
  std::uint32_t column = scan_column();
  int type = evaluate_expression(0);
  if (type < 0) return type;
  if (no_execute || prescan_mode) return 0;
  if (graph_window_is_open()) {
    return report_error_at(0, err_graph_already_active);
  }
  type = result_to_double(type, 1);
  if (type < 0) return type;
  double hours = double_accumulator;
  if (!(hours >= -1980 && hours <= 1980)) {
    return report_error_at(column, error_invalid_value);
  }
  timezone_offset = -static_cast<std::int32_t>(std::trunc(hours)) * 3600;
  dst_reset_caches();
  datetime_init_constants();
  return 0;
}

void datetime_init_constants() {
  dst_reset_caches();
  datetime_expand_local(datetime_now_fields, datetime_now);
  datetime_fields first_january{1970, 1, 1, 0, 0, 0, 0, 1, -1};
  default_zero_datetime = datetime_from_fields(first_january);
  set_predefined_double(PREDEF_DEFAULTZERODATETIME, default_zero_datetime);
  first_january.year = -year_limit;
  datetime_min = datetime_from_fields(first_january);
  first_january.year = year_limit + 1;
  datetime_max = datetime_from_fields(first_january);
}

void datetime_startup() {
  timezone_facts zone = read_timezone();
  long west = zone.offset_seconds_west;
  timezone_offset_startup = (west > -200000 && west < 200000) ? static_cast<std::int32_t>(west) : 0;
  timezone_offset = timezone_offset_startup;
  dst_enabled_startup = zone.daylight ? 1 : 0;
  dst_enabled = dst_enabled_startup;
  dst_load_rules();
  stmt_updatedatetime();
  datetime_init_constants();
}

void datetime_run_start(int keep_data) {
  dst_reset_caches();  // every run starts with no rule selected
  if (keep_data) return;
  timezone_offset = timezone_offset_startup;
  dst_enabled = dst_enabled_startup;
  dst_rules_restore_startup();
  datetime_init_constants();
}
