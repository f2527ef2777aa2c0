// Dates and times: the date-time value (seconds since 1970-01-01 00:00:00 UTC,
// any sign, fractions kept), its broken-down fields in the proleptic
// Gregorian calendar (BC years without a year 0), the zone offset and
// daylight saving, MAKEDATETIME, FORMATDATETIME$, UPDATEDATETIME, SETTIMEZONE.
#pragma once
#include <cstdint>

struct expr_item;

// Nine fields, in this order (also the order of the array forms).
struct datetime_fields {
  double year;         // 1.. AD; -1 for 1 BC, -2 for 2 BC; never 0
  double month;        // 1..12
  double day;          // 1..31
  double hour;         // 0..23
  double minute;       // 0..59
  double second;       // 0 up to 60, with its fraction
  double weekday;      // 1 Sunday .. 7 Saturday
  double day_of_year;  // 1..366
  double dst;          // 1 daylight, 0 standard, -1 unknown
};
constexpr int datetime_field_count = 9;
void datetime_fields_to_array(const datetime_fields& fields, double out[datetime_field_count]);
void datetime_fields_from_array(const double in[datetime_field_count], datetime_fields& fields);

// Values beyond this many seconds from 1970 (about year +-5,070,000,000) are
// outside the calendar's supported range.
constexpr double datetime_value_limit = 1.6e17;
// True for a finite value inside the supported range.
bool datetime_value_ok(double value);

extern std::int32_t timezone_offset;  // seconds added to local standard time to get UTC
extern std::int32_t timezone_offset_startup;
extern int dst_enabled_startup;
extern double datetime_now;
extern datetime_fields datetime_now_fields;
extern datetime_fields datetime_work;
extern double datetime_min;  // local 1 January of the year -5000000000
extern double datetime_max;  // local 1 January of the year 5000000001
extern double default_zero_datetime;  // local 1970-01-01 00:00

// Day of the year (0-based) of each month's last day, -1 before January.
extern const int month_end_common[13];
extern const int month_end_leap[13];

// Astronomical year (0 is 1 BC) is a leap year.
bool datetime_is_leap_year(double year);
// Days from 1 January of y0 to 1 January of y1 (astronomical years).
double datetime_days_between_years(double y0, double y1);

// value (already local) into fields without daylight saving (DST flag 0).
// Returns 0, or -1 (fields unchanged) for a value that is not finite or is
// outside the supported range.
int datetime_expand(datetime_fields& fields, double value);
// Local fields of a value, daylight saving applied. 0 or -1 as datetime_expand.
int datetime_expand_local(datetime_fields& fields, double value);
// The date-time value of local fields; NaN when a field is not finite.
double datetime_from_fields(const datetime_fields& fields);
// The standard text of a value into string_accumulator; returns 3, or the
// negative code of error 297 (reported) for a value outside the range.
int datetime_format_default(double value);
// array = EXPANDDATETIME([t]): the local fields of value (count 1) or of
// datetime_now (count 0) into fields in the order above. Returns 0, or the
// negative code of error 297 (reported) for a value outside the range.
int datetime_expand_array(int count, double value, double fields[datetime_field_count]);

int func_makedatetime(expr_item* arguments, int count);
int func_formatdatetime(expr_item* arguments, int count);
int stmt_updatedatetime();
// date$ ("mm-dd-yyyy", a blank before a day below 10), time$ ("hh:mm:ss") and
// dayofweek$ from the C library's local time of the given moment.
void datetime_set_clock_texts(std::int64_t now_seconds);
int stmt_settimezone();
// defaultzerodatetime, datetime_min and datetime_max, and datetime_now_fields.
void datetime_init_constants();
// Start-up: reads the zone and daylight flag, loads the daylight-saving
// rules, runs UPDATEDATETIME and computes the constants.
void datetime_startup();
// Run start: unless a CHAIN keeps the data, the zone offset, the daylight
// flag and the rule table go back to their start-up state.
void datetime_run_start(int keep_data);
