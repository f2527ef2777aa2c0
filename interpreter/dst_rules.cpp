// Daylight-saving rules: the table, selection of the rule for a year, the
// transition days, and the daylight-time test; see dst_rules.h.
#include "interpreter/dst_rules.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

#include "session/paths.h"
#include "interpreter/datetime.h"
#include "interpreter/errors.h"
#include "interpreter/item.h"
#include "interpreter/pending.h"
#include "graph/graph_window.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/output.h"
#include "interpreter/variables.h"
#include "platform/small_file.h"

dst_rule dst_rules[dst_rule_capacity];
int dst_rule_next = 0;
int dst_rule_count = 0;
int dst_rules_startup_next = 0;
int dst_rules_startup_count = 0;
int dst_enabled = 0;

dst_zone dst_zone_record{};
int dst_rule_index = -1;
int dst_start_active = 0;
int dst_end_active = 0;
std::int32_t dst_bias_seconds = 0;
std::int32_t dst_standard_bias_seconds = 0;

double dst_cache_year = 0;
int dst_cache_valid = 0;
int dst_start_day = 0;
double dst_start_ms = 0;
int dst_end_day = 0;
double dst_end_ms = 0;
int dst_jan1_in_dst = 0;
std::int32_t dst_jan1_bias = 0;
double dst_jan1_window_ms = 0;
std::int32_t dst_prev_daylight_bias = 0;
std::int32_t dst_prev_standard_bias = 0;

std::int32_t dst_bias_in_effect = 0;
int dst_jan1_overlap = 0;
std::int32_t dst_day_bias_change = 0;

namespace {

constexpr double ms_per_day = 86400000.0;
constexpr int rule_field_limit = 100000;  // keeps day arithmetic far from overflow
constexpr int rule_value_count = 12;

int bounded(int v) { return v < -rule_field_limit ? -rule_field_limit : v > rule_field_limit ? rule_field_limit : v; }

// A double as a rule field: truncated, 0 when not finite, bounded.
int rule_int(double v) {
  if (!std::isfinite(v)) return 0;
  double t = std::trunc(v);
  if (t < -rule_field_limit) return -rule_field_limit;
  if (t > rule_field_limit) return rule_field_limit;
  return static_cast<int>(t);
}

// The index of the rule covering year, searching the latest first; the first
// rule when none covers it; -1 for an empty table.
int find_rule(double year) {
  for (int i = dst_rule_next - 1; i >= 0; --i)
    if (dst_rules[i].first_year <= year && year <= dst_rules[i].last_year) return i;
  return dst_rule_next > 0 ? 0 : -1;
}

dst_transition make_transition(int month, int week, int weekday, int hour) {
  dst_transition t{};
  t.month = month;
  t.fixed_day = weekday == 0 ? 1 : 0;
  t.day = week;
  t.weekday = weekday > 0 ? weekday - 1 : 0;
  t.hour = hour;
  t.minute = 0;
  return t;
}

double astronomical(double year) { return year < 0 ? year + 1 : year; }

// Weekday (0 Sunday) of 1 January of an astronomical year.
int january_first_weekday(double year) {
  double D = datetime_days_between_years(1970, year);
  return static_cast<int>(std::trunc(std::fmod(D, 7.0) + 7 + 4)) % 7;
}

}  // namespace

void dst_reset_caches() {
  dst_cache_valid = 0;
  dst_cache_year = 0;
  dst_rule_index = -1;
}

int dst_rule_add(double first_year, double last_year, int start_month, int start_week, int start_weekday,
                 int start_bias, int start_hour, int end_month, int end_week, int end_weekday, int end_bias,
                 int end_hour) {
  if (dst_rule_next >= dst_rule_capacity) return -1;
  dst_rule& r = dst_rules[dst_rule_next];
  r.first_year = std::isfinite(first_year) ? first_year : 0;
  r.last_year = std::isfinite(last_year) ? last_year : 0;
  r.start_month = bounded(start_month);
  r.start_week = bounded(start_week);
  r.start_weekday = bounded(start_weekday);
  r.start_hour = bounded(start_hour);
  r.start_bias = -(bounded(start_bias) / 60) * 60;  // negated, whole hours
  r.end_month = bounded(end_month);
  r.end_week = bounded(end_week);
  r.end_weekday = bounded(end_weekday);
  r.end_hour = bounded(end_hour);
  r.end_bias = -(bounded(end_bias) / 60) * 60;
  ++dst_rule_next;
  dst_rule_count = dst_rule_next;
  dst_reset_caches();  // a new rule may cover the cached year
  return 0;
}

void dst_add_builtin_rules() {
  dst_rule_next = dst_rule_count = 0;
  dst_reset_caches();
  dst_rule_add(-6000000000.0, 1965, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  dst_rule_add(1966, 1985, 4, 5, 1, 60, 2, 10, 5, 1, 0, 2);
  dst_rule_add(1986, 2006, 4, 1, 1, 60, 2, 10, 5, 1, 0, 2);
  dst_rule_add(2007, 6000000000.0, 3, 2, 1, 60, 2, 11, 1, 1, 0, 2);
}

namespace {

constexpr std::size_t rules_file_max_bytes = 1 << 20;  // thirty rules need a few kilobytes
constexpr std::size_t rules_line_max_chars = 255;      // the rest of a longer line is ignored
constexpr int rules_bad_lines_reported = 10;           // then one summary line

// One comma-separated value of a rules line: the number, or 0 and the code
// of its error (a missing value, or anything that is not a number, a NUL
// byte included).
double parse_rule_value(std::string_view text, int& error) {
  error = 0;
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) {
    error = err_invalid_type_expecting_number;
    return 0;
  }
  std::string copy(text);
  char* end = nullptr;
  double v = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(v)) {
    error = err_invalid_character_in_number_string;
    return 0;
  }
  return v;
}

void add_rule_from_values(const double v[rule_value_count]) {
  dst_rule_add(v[0], v[1], rule_int(v[2]), rule_int(v[3]), rule_int(v[4]), rule_int(v[5]), rule_int(v[6]),
               rule_int(v[7]), rule_int(v[8]), rule_int(v[9]), rule_int(v[10]), rule_int(v[11]));
}

// The part of a line that holds its rule: at most its first 255 bytes, and
// nothing from a CR on.
std::string_view rule_text(std::string_view line) {
  if (line.size() > rules_line_max_chars) line = line.substr(0, rules_line_max_chars);
  std::size_t cut = line.find('\r');
  return cut == std::string_view::npos ? line : line.substr(0, cut);
}

}  // namespace

int dst_load_rules_file(const char* path) {
  std::string content;
  int error = 0;
  small_file_status status = read_small_file(path, rules_file_max_bytes, content, error);
  if (status == small_file_status::missing) return -1;
  if (status != small_file_status::ok) {
    print_text(std::string(path) + ": " + small_file_problem(status, rules_file_max_bytes, error) +
               "; no daylight-saving rules were read from it.\n");
    return -1;
  }
  int added = 0;
  int bad_lines = 0;
  std::string_view rest(content);
  while (!rest.empty()) {
    std::size_t line_end = rest.find('\n');
    std::string_view line = rule_text(rest.substr(0, line_end));
    rest = line_end == std::string_view::npos ? std::string_view() : rest.substr(line_end + 1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;  // blank line
    double values[rule_value_count] = {};
    int errors[rule_value_count] = {};
    bool bad = false;
    for (int i = 0; i < rule_value_count; ++i) {
      std::size_t comma = line.find(',');
      values[i] = parse_rule_value(line.substr(0, comma), errors[i]);
      bad = bad || errors[i] != 0;
      line = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
    }
    if (bad && ++bad_lines > rules_bad_lines_reported) continue;  // refused without a word, counted
    for (int code : errors)
      if (code != 0) report_error(code);  // a bad value counts as 0
    if (dst_rule_next < dst_rule_capacity) ++added;
    add_rule_from_values(values);
  }
  if (bad_lines > rules_bad_lines_reported) {
    print_text(std::to_string(bad_lines - rules_bad_lines_reported) + " more bad lines of " + path +
               " were refused.\n");
  }
  return added;
}

void dst_load_rules() {
  dst_add_builtin_rules();
  std::string path;
  if (!interpreter_folder.empty() && path_combine(path, interpreter_folder, "dstrules.txt") == 0)
    dst_load_rules_file(path.c_str());
  dst_rules_startup_next = dst_rule_next;
  dst_rules_startup_count = dst_rule_count;
}

void dst_rules_restore_startup() {
  dst_rule_next = dst_rules_startup_next;
  dst_rule_count = dst_rules_startup_count;
  dst_reset_caches();
}

namespace {
// Loads one part (start or end) of a rule into the zone record; 1 when the
// rule has that part.
int load_part(int month, int week, int weekday, int hour, int bias, dst_transition& date, int& zone_bias,
              std::int32_t& bias_seconds) {
  if (!month) {
    date.month = 0;
    zone_bias = 0;
    bias_seconds = 0;
    return 0;
  }
  date = make_transition(month, week, weekday, hour);
  zone_bias = bias;
  bias_seconds = bias * 60;
  return 1;
}
}  // namespace

void dst_select_rule(double year) {
  if (!dst_enabled) {
    dst_start_active = dst_end_active = 0;
    dst_rule_index = -1;  // load the rule again when daylight saving comes back on
    dst_cache_valid = 0;
    return;
  }
  if (dst_cache_valid && year == dst_cache_year && dst_rule_index >= 0) return;
  int index = find_rule(year);
  if (index == dst_rule_index) return;
  dst_rule_index = index;
  dst_cache_valid = 0;  // the transition days belong to the rule
  if (index < 0) {
    dst_start_active = dst_end_active = 0;
    dst_bias_seconds = dst_standard_bias_seconds = 0;
    return;
  }
  const dst_rule& r = dst_rules[index];
  dst_start_active = load_part(r.start_month, r.start_week, r.start_weekday, r.start_hour, r.start_bias,
                               dst_zone_record.daylight_date, dst_zone_record.daylight_bias, dst_bias_seconds);
  dst_end_active = load_part(r.end_month, r.end_week, r.end_weekday, r.end_hour, r.end_bias,
                             dst_zone_record.standard_date, dst_zone_record.standard_bias, dst_standard_bias_seconds);
}

void dst_rule_day(const dst_transition& t, bool is_end, double year, int& day, double& ms) {
  double Y = astronomical(year);
  const int* table = datetime_is_leap_year(Y) ? month_end_leap : month_end_common;
  if (t.month > 12) {
    day = 370;  // never reached
  } else if (t.month < 1) {
    day = -1;
  } else if (t.fixed_day) {
    day = table[t.month - 1] + t.day;
  } else {
    int f = table[t.month - 1] + 1;  // 0-based day of the first of the month
    int u = (f + january_first_weekday(Y)) % 7;
    int v = t.weekday;
    day = u <= v ? f + (v - u) + 7 * (t.day - 1) : f + (v - u) + 7 * t.day;
    if (t.day == 5 && day > table[t.month]) day -= 7;
  }
  ms = ((t.hour * 60.0 + t.minute) * 60.0) * 1000.0;
  if (is_end) {
    ms += dst_bias_seconds * 1000.0;  // daylight time into standard time
    if (ms < 0) {
      ms += ms_per_day;
      --day;
    } else if (ms >= ms_per_day) {
      ms -= ms_per_day;
      ++day;
    }
  }
}

void dst_rule_for_year(double year) {
  int prev = find_rule(year - 1);
  dst_jan1_in_dst = 0;
  dst_jan1_bias = 0;
  dst_prev_daylight_bias = dst_prev_standard_bias = 0;
  if (prev >= 0) {
    const dst_rule& r = dst_rules[prev];
    dst_prev_daylight_bias = r.start_bias * 60;
    dst_prev_standard_bias = r.end_bias * 60;
    if (r.start_month == 0) dst_jan1_in_dst = 0;
    else if (r.end_month > 12) dst_jan1_in_dst = 1;
    else if (r.start_month > 12) dst_jan1_in_dst = 0;
    else if (r.start_month >= r.end_month) dst_jan1_in_dst = 1;
    else dst_jan1_in_dst = 0;
    dst_jan1_bias = dst_jan1_in_dst ? r.start_bias * 60 : r.end_bias * 60;
  }
  std::int32_t b = (dst_start_active && dst_start_day >= dst_end_day) ? dst_bias_seconds : dst_standard_bias_seconds;
  double diff = static_cast<double>(b) - dst_jan1_bias;
  dst_jan1_window_ms = diff >= 0 ? (std::ceil(diff / 3600) + 1) * 3600000.0 : 7200000.0;
}

int dst_is_active(const datetime_fields& fields, double year) {
  dst_bias_in_effect = 0;
  dst_jan1_overlap = 0;
  if (!dst_enabled) return 0;
  if (!dst_cache_valid || year != dst_cache_year) {
    dst_cache_year = year;
    dst_cache_valid = 1;
    dst_start_day = dst_end_day = 0;
    dst_start_ms = dst_end_ms = 0;
    if (dst_start_active) dst_rule_day(dst_zone_record.daylight_date, false, year, dst_start_day, dst_start_ms);
    if (dst_end_active) dst_rule_day(dst_zone_record.standard_date, true, year, dst_end_day, dst_end_ms);
    dst_rule_for_year(year);
  }
  double ms = ((fields.hour * 60 + fields.minute) * 60 + fields.second) * 1000;
  if (fields.day_of_year == 1 && ms < dst_jan1_window_ms) {
    dst_jan1_overlap = 1;
    dst_bias_in_effect = dst_jan1_bias;
    return dst_jan1_in_dst;
  }
  bool daylight;
  if (!dst_start_active && !dst_end_active) {
    return 0;
  } else if (!dst_start_active) {
    daylight = false;
  } else if (!dst_end_active) {
    daylight = true;
  } else {
    double y = fields.day_of_year - 1;
    double S = dst_start_day, E = dst_end_day;
    if (y == S) daylight = ms >= dst_start_ms;
    else if (y == E) daylight = ms < dst_end_ms;
    else if (S < E) daylight = S < y && y < E;
    else daylight = y < E || y > S;
  }
  if (daylight) {
    dst_bias_in_effect = dst_zone_record.daylight_bias * 60;
    return 1;
  }
  dst_bias_in_effect = dst_zone_record.standard_bias * 60;
  return 0;
}

int dst_change_on_day(const datetime_fields& fields) {
  dst_day_bias_change = 0;
  if (!(fields.year >= 1966)) return 0;
  datetime_fields probe = fields;
  probe.dst = -1;
  probe.hour = 0;
  datetime_fields at_midnight, at_eleven;
  if (datetime_expand_local(at_midnight, datetime_from_fields(probe)) < 0) return 0;
  std::int32_t bias_midnight = dst_bias_in_effect;
  probe.hour = 23;
  if (datetime_expand_local(at_eleven, datetime_from_fields(probe)) < 0) return 0;
  std::int32_t bias_eleven = dst_bias_in_effect;
  if (at_midnight.dst == at_eleven.dst) return 0;
  dst_day_bias_change = bias_eleven - bias_midnight;
  return at_midnight.dst == 1 ? 1 : -1;
}

int dst_rules_from_array(const expr_item& array_item) {
  const array_entry* entry = array_item.array;
  if (!entry || entry->dimension_count != 2 || entry->dimension_sizes[1] != rule_value_count) {
    return report_error_at(array_item.column, err_improper_array_dimensions);
  }
  for (std::uint32_t row = 0; row < entry->dimension_sizes[0]; ++row) {
    double values[rule_value_count];
    for (int col = 0; col < rule_value_count; ++col) {
      double v = entry->data[row * rule_value_count + static_cast<std::uint32_t>(col)].number;
      values[col] = std::isfinite(v) ? v : 0;
    }
    add_rule_from_values(values);
  }
  datetime_init_constants();
  return 0;
}

int stmt_setdstrules() {
  skip_blanks();
  std::uint32_t column = scan_column();
  const char* item_start = scan_pointer;
  expr_item item;
  int type = get_item(item, 0);
  if (type < 0) return report_error(err_return_get_item);
  if (no_execute || prescan_mode) return 0;
  if (graph_window_is_open()) {
    return report_error_at(0, err_graph_already_active);
  }
  item.column = column;
  if (type == ITEM_STRING) {
    // The word is read again as a DATA value: a quoted word counts as its
    // text, a string variable as the letters of its name.
    scan_pointer = item_start;
    type = get_item(item, GI_DATA_VALUE);
    if (type < 0) return report_error(err_return_get_item);
    std::string word(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
    if (strcasecmp(word.c_str(), "on") == 0) {
      dst_enabled = 1;
    } else if (strcasecmp(word.c_str(), "off") == 0) {
      dst_enabled = 0;
    } else {
      return report_error_at(column, err_invalid_parameter);
    }
    dst_reset_caches();
    datetime_init_constants();
    return 0;
  }
  if (type == ITEM_NUMERIC_ARRAY) return dst_rules_from_array(item);
  return report_error_at(column, err_expecting_array);
}
