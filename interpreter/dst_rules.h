// Daylight-saving rules: the rule table (four built in, more from
// "dstrules.txt" and SETDSTRULES), the choice of the rule for a year, and the
// test whether a local standard-time moment lies in daylight time.
#pragma once
#include <cstdint>

struct datetime_fields;
struct expr_item;

constexpr int dst_rule_capacity = 30;

struct dst_rule {
  double first_year;
  double last_year;  // inclusive
  int start_month;   // 0: no daylight time
  int start_week;    // 1..4 n-th, 5 last; day of month in the fixed-day form
  int start_weekday; // 1 Sunday .. 7 Saturday; 0 fixed-day form
  int start_hour;    // local standard time
  int start_bias;    // minutes, negated and cut to whole hours (60 is kept as -60)
  int end_month;     // 0: no end
  int end_week;
  int end_weekday;
  int end_hour;      // daylight time
  int end_bias;
};

extern dst_rule dst_rules[dst_rule_capacity];
extern int dst_rule_next;
extern int dst_rule_count;
extern int dst_rules_startup_next;
extern int dst_rules_startup_count;
extern int dst_enabled;

// One transition of the selected rule (start into daylight time, or end).
struct dst_transition {
  int fixed_day;  // 1: day is the day of the month; 0: week form
  int month;      // 0: none
  int day;        // week (1..5) or day of month
  int weekday;    // 0 Sunday .. 6 Saturday (week form)
  int hour;
  int minute;
};

// The selected rule, shaped as the zone record it replaces.
struct dst_zone {
  dst_transition daylight_date;  // start of daylight time
  int daylight_bias;             // minutes
  dst_transition standard_date;  // end of daylight time
  int standard_bias;             // minutes
};
extern dst_zone dst_zone_record;
extern int dst_rule_index;  // rule loaded into dst_zone_record; -1 none
extern int dst_start_active;
extern int dst_end_active;
extern std::int32_t dst_bias_seconds;           // daylight bias (negative when clocks run ahead)
extern std::int32_t dst_standard_bias_seconds;

// Per-year state.
extern double dst_cache_year;  // year the transition days were computed for
extern int dst_cache_valid;    // 0: nothing cached
extern int dst_start_day;      // 0-based day of the year
extern double dst_start_ms;    // local standard time of day
extern int dst_end_day;
extern double dst_end_ms;      // converted to standard time
extern int dst_jan1_in_dst;
extern std::int32_t dst_jan1_bias;
extern double dst_jan1_window_ms;
extern std::int32_t dst_prev_daylight_bias;
extern std::int32_t dst_prev_standard_bias;

// Results of the last test.
extern std::int32_t dst_bias_in_effect;
extern int dst_jan1_overlap;
extern std::int32_t dst_day_bias_change;

// Adds a rule; the arguments take bias before hour, as the file does.
// Returns 0, or -1 when the table is full (the rule is dropped).
int dst_rule_add(double first_year, double last_year, int start_month, int start_week, int start_weekday,
                 int start_bias, int start_hour, int end_month, int end_week, int end_weekday, int end_bias,
                 int end_hour);
// Empties the table and adds the four built-in rules.
void dst_add_builtin_rules();
// Start-up: the built-in rules, then "dstrules.txt" in the interpreter's
// folder; the result is remembered as the start-up state.
void dst_load_rules();
// Reads rules from a file of lines of twelve comma-separated numbers (a
// regular file of at most 1 MiB; only the first 255 bytes of a line count).
// Bad or missing values (a NUL byte is a bad value) are reported and count as
// 0; after ten bad lines, further bad lines are refused and counted, and one
// line says how many. Returns the rules added, or -1 when the file is missing
// or was refused (the reason is printed).
int dst_load_rules_file(const char* path);
// Back to the start-up table.
void dst_rules_restore_startup();
// Forgets the selected rule and the cached year (after any change of the
// rules, the daylight flag or the zone offset).
void dst_reset_caches();

// Loads the rule covering year into dst_zone_record.
void dst_select_rule(double year);
// 1 when the local standard-time fields lie in daylight time, else 0; sets
// dst_bias_in_effect (seconds).
int dst_is_active(const datetime_fields& fields, double year);
// The state carried over from the rule of the previous year.
void dst_rule_for_year(double year);
// The 0-based day of the year and the time of day (ms) of one transition.
void dst_rule_day(const dst_transition& transition, bool is_end, double year, int& day, double& ms);
// +1 when daylight time ends on the day of fields, -1 when it begins, else 0.
int dst_change_on_day(const datetime_fields& fields);

// Adds one rule per row of a two-dimensional numeric array of twelve columns.
// Returns 0 or the negative code of error 286 (reported).
int dst_rules_from_array(const expr_item& array_item);
// SETDSTRULES "on" | "off" | array
int stmt_setdstrules();
