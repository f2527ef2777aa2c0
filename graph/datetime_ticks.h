// Ticks of a date-time axis: calendar steps from years down to fractions of
// a second, in local time with daylight saving, their labels and the date
// that all visible ticks share.
#pragma once
#include <string>

#include "graph/graph_state.h"

constexpr unsigned dt_tick_year = 0x8000;
constexpr unsigned dt_tick_month = 0x4000;
constexpr unsigned dt_tick_day = 0x2000;
constexpr unsigned dt_tick_hour = 0x1000;
constexpr unsigned dt_tick_minute = 0x800;
constexpr unsigned dt_tick_fine = 0x400;
constexpr unsigned dt_tick_major = 0x80;
constexpr int max_datetime_ticks = 100;

struct datetime_tick {
  double position = 0;  // seconds since 1970
  unsigned flags = 0;   // label form, plus dt_tick_major
  int index = 1;        // hour of an hour tick, minute of a minute tick, step count of a fine tick
};

// The steps of each calendar unit (32 days, 26 hours, 61 minutes or seconds:
// no ticks of that unit) and the fine step in seconds.
struct datetime_steps {
  int month = 1, day = 1, hour = 1, minute = 1, second = 1;
  linear_step fine;
};

struct datetime_tick_table {
  datetime_tick ticks[max_datetime_ticks];
  int count = 0;
  int month_labels = 0;   // month names are shown with years
  int day_labels = 0;     // day numbers are shown with months
  datetime_steps steps;
  std::string date_text;  // the date all visible ticks share ("Mar 5, 2021")
};

// The tables of the render in progress, filled for each date-time axis.
extern datetime_tick_table datetime_ticks_x, datetime_ticks_y;

// The steps for scale seconds per inch on a plot of the larger side
// size_in inches (at least 7.5) and the grid density.
datetime_steps axis_datetime_tick_steps(double scale, double size_in, double grid_density);
// Fills out with the ticks from t0 to t1 (seconds, local calendar) for the
// steps and a year step (years, at least 1).
void datetime_tick_fill(const datetime_steps& steps, double year_step, double t0, double t1, datetime_tick_table& out);
// The text of one tick.
std::string axis_format_datetime_label(const datetime_tick& tick, const datetime_tick_table& table);
// Both for one axis of the render (0 horizontal, 1 vertical); 0.
int axis_build_datetime_ticks(int axis);
// Where the other axis crosses a date-time axis: zerodatetime when the
// program has it (non-zero, within the date range), else defaultzerodatetime.
double axis_zero_datetime();
