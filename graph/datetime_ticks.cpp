// Date-time axis ticks in local time.
#include "graph/datetime_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "graph/axes.h"
#include "graph/text_draw.h"
#include "graph/text_table.h"
#include "interpreter/datetime.h"
#include "interpreter/dst_rules.h"
#include "interpreter/keywords.h"
#include "interpreter/named_vars.h"

datetime_tick_table datetime_ticks_x, datetime_ticks_y;

namespace {

const char month_names[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

int pick(double v, std::initializer_list<double> limits, std::initializer_list<int> steps) {
  auto s = steps.begin();
  for (double limit : limits) {
    if (v < limit) return *s;
    ++s;
  }
  return *s;
}

std::string month_name(double month) {
  int m = static_cast<int>(month);
  if (m < 1 || m > 12) return "";
  return std::string(month_names + 3 * (m - 1), 3);
}

std::string year_text(double year) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", std::fabs(year));
  std::string t = text;
  if (year < 0) t += " BC";
  else if (year < 100) t += " AD";
  return t;
}

datetime_fields local(double t) {
  datetime_fields f{};
  if (datetime_expand_local(f, t) < 0) f.year = NAN;
  return f;
}

double at(double year, double month, double day, double hour, double minute, double second, double dst) {
  datetime_fields f{};
  f.year = year, f.month = month, f.day = day, f.hour = hour, f.minute = minute, f.second = second;
  f.dst = dst;
  return datetime_from_fields(f);
}

// The year after year by step, skipping the year 0.
double next_year(double year, double step) {
  double from = (year == 1 && step > 1) ? 0 : year;
  double next = from + step;
  if (year < 0 && next >= 0 && step == 1) next = 1;
  return next == 0 ? 1 : next;
}

struct tick_adder {
  datetime_tick_table& out;
  void operator()(double position, unsigned flags, int index) {
    if (out.count >= max_datetime_ticks) return;
    out.ticks[out.count++] = {position, flags, index};
  }
};

// Hour ticks from the day of t0 on: from the hour of t0 rounded down to the
// step (from 00:00 on a day whose clocks change), adding the step in seconds.
// On a change day the hour is read again from the local time a quarter of an
// hour later; one that is off the step is moved by an hour, with the time,
// back when the clocks went forward, else forward; so the ticks stay on
// multiples of the step and a repeated hour shows twice.
void add_hour_ticks(const datetime_steps& st, const datetime_fields& f0, double t0, double t1, tick_adder& add) {
  const double step = st.hour;
  const unsigned flags = dt_tick_hour | (st.minute < 31 ? dt_tick_major : 0);
  datetime_fields day = f0;
  double hour = std::floor(f0.hour / step) * step;
  double dst = f0.dst;  // the first day as t0's own fields, later days unknown
  for (int n = 0; n < 1000 && add.out.count < max_datetime_ticks; ++n) {
    datetime_fields midnight = day;
    midnight.hour = midnight.minute = midnight.second = 0;
    const bool change = dst_change_on_day(midnight) != 0 && dst_day_bias_change != 0;
    const std::int32_t bias_change = dst_day_bias_change;
    if (change) hour = 0;
    double t = at(day.year, day.month, day.day, hour, 0, 0, dst);
    dst = -1;
    while (t <= t1 && hour < 24 && add.out.count < max_datetime_ticks) {
      if (hour != 0 && t >= t0) add(t, flags, static_cast<int>(hour));
      t += step * 3600;
      hour += step;
      if (!change) continue;
      const datetime_fields later = local(t + 900);
      if (std::isnan(later.year)) return;
      if (later.day != day.day) break;  // past the end of the day
      hour = later.hour;
      if (std::fmod(hour, step) != 0) {
        const double move = bias_change < 0 ? -1 : 1;
        hour += move;
        t += move * 3600;
      }
    }
    if (!(t <= t1)) return;
    // The next day, found past any change of the clocks.
    const datetime_fields next = local(at(day.year, day.month, day.day, 0, 0, 0, -1) + 86400 + 3 * 3600);
    if (std::isnan(next.year)) return;
    day = next;
    hour = 0;
  }
}

}  // namespace

datetime_steps axis_datetime_tick_steps(double scale, double size_in, double grid_density) {
  datetime_steps s;
  const double l = size_in < 7.5 ? 7.5 : size_in;
  const double f = (grid_density - 1) / 2 + 1;
  auto v = [&](double unit) { return f * (scale / unit) * l / 10; };
  s.month = pick(v(2592000), {1.5, 2.5, 5, 10}, {1, 2, 3, 6, 12});
  s.day = pick(v(86400), {1.5, 3, 7.5, 12.5, 20}, {1, 2, 5, 10, 15, 32});
  s.hour = pick(v(3600), {1.5, 2.8, 5.9, 11.5, 20}, {1, 2, 3, 6, 12, 26});
  s.minute = pick(v(60), {1.5, 2.8, 7.5, 12.5, 22, 40}, {1, 2, 5, 10, 15, 30, 61});
  s.second = pick(v(1), {1.5, 2.8, 7.5, 12.5, 22, 40}, {1, 2, 5, 10, 15, 30, 61});
  s.fine = choose_linear_step(v(1));
  if (s.fine.step >= 50) {
    s.fine.digit = 3, s.fine.exponent = 1, s.fine.pow = 10, s.fine.invpow = 1, s.fine.step = 30;
  }
  return s;
}

void datetime_tick_fill(const datetime_steps& st, double year_step, double t0, double t1, datetime_tick_table& out) {
  out.count = 0;
  out.month_labels = out.day_labels = 0;
  out.steps = st;
  out.date_text.clear();
  const datetime_fields f0 = local(t0), f1 = local(t1);
  if (std::isnan(f0.year) || std::isnan(f1.year)) return;
  tick_adder add{out};
  std::string year_part, month_part, day_part;
  const double ys = year_step >= 1 && std::isfinite(year_step) ? std::floor(year_step) : 1;

  // Years.
  double y = std::floor(f0.year / ys) * ys;
  if (y == 0) y = ys > 1 ? 0 : 1;
  if (y == f1.year) {
    year_part = year_text(y);
  } else {
    for (int n = 0; n < 10000 && out.count < max_datetime_ticks; ++n) {
      double t = at(y == 0 ? 1 : y, 1, 1, 0, 0, 0, 0);
      if (!(t <= t1)) break;
      add(t, dt_tick_year | (st.month < 7 ? dt_tick_major : 0), 1);
      y = next_year(y, ys);
    }
  }
  // Months.
  if (ys <= 1 && st.month < 12) {
    out.month_labels = 1;
    double year = f0.year;
    double month = std::floor((f0.month - 1) / st.month) * st.month + 1;
    const double dst = year >= 1066 ? -1 : 0;
    if (year == f1.year && month == f1.month) {
      month_part = month_name(month);
    } else {
      for (int n = 0; n < 10000 && out.count < max_datetime_ticks; ++n) {
        double t = at(year, month, 1, 0, 0, 0, dst);
        if (!(t <= t1)) break;
        if (month != 1 && t >= t0) add(t, dt_tick_month | (st.day < 16 ? dt_tick_major : 0), 1);
        month += st.month;
        if (month > 12) month -= 12, year = next_year(year, 1);
      }
    }
  }
  // Days.
  if (st.month < 2) {
    if (st.day < 3) out.day_labels = 1;
    if (f0.year == f1.year && f0.month == f1.month && f0.day == f1.day) {
      char text[32];
      std::snprintf(text, sizeof text, "%.0f", f0.day);
      day_part = text;
    } else if (st.day < 32) {
      double year = f0.year, month = f0.month;
      double day = std::floor((f0.day - 1) / st.day) * st.day;
      if (day < 1) day = 1;
      double dst = f0.dst;
      for (int n = 0; n < 10000 && out.count < max_datetime_ticks; ++n) {
        double t = at(year, month, day, 0, 0, 0, dst);
        if (!(t <= t1)) break;
        dst = -1;
        if (day != 1 && !(st.day == 15 && day == 30) && t >= t0)
          add(t, dt_tick_day | (st.hour < 13 ? dt_tick_major : 0), 1);
        double next = day == 1 ? day + st.day - 1 : day + st.day;
        datetime_fields nf = local(at(year, month, next, 12, 0, 0, -1));
        if (std::isnan(nf.year)) break;
        if (nf.month != month) {  // a change of month restarts at day 1
          year = nf.year, month = nf.month, day = 1;
        } else {
          day = next;
        }
      }
    }
  }
  // Hours.
  if (st.day < 2 && st.hour < 24 &&
      !(f0.year == f1.year && f0.month == f1.month && f0.day == f1.day && f0.hour == f1.hour))
    add_hour_ticks(st, f0, t0, t1, add);
  // Minutes.
  if (st.hour < 2 && st.minute < 60 &&
      !(f0.year == f1.year && f0.month == f1.month && f0.day == f1.day && f0.hour == f1.hour &&
        f0.minute == f1.minute)) {
    double hour_start = at(f0.year, f0.month, f0.day, f0.hour, 0, 0, f0.dst);
    for (int n = 0; n < 1000 && out.count < max_datetime_ticks && hour_start <= t1; ++n) {
      const datetime_fields h = local(hour_start);
      for (int mi = 0; mi < 60; mi += st.minute) {
        double t = hour_start + mi * 60.0;
        if (mi != 0 && t >= t0 && t <= t1) add(t, dt_tick_minute | (st.second < 31 ? dt_tick_major : 0), mi);
      }
      datetime_fields next = local(hour_start + 3600 + 900);
      if (std::isnan(next.year) || std::isnan(h.year)) break;
      hour_start = at(next.year, next.month, next.day, next.hour, 0, 0, next.dst);
    }
  }
  // Seconds and their fractions.
  const linear_step& fs = st.fine;
  if (st.minute < 2 && st.second < 60 &&
      !(f0.year == f1.year && f0.month == f1.month && f0.day == f1.day && f0.hour == f1.hour &&
        f0.minute == f1.minute && f0.second == f1.second)) {
    double minute_start = t0 - f0.second;
    double sec = std::floor(f0.second / fs.step) * fs.step;
    long long k = static_cast<long long>(sec * fs.invpow / fs.digit / fs.pow);
    for (int n = 0; n < 100000 && out.count < max_datetime_ticks; ++n) {
      double t = minute_start + sec;
      if (!(t < t1)) break;
      if (sec != 0 && t > t0) {
        const bool whole = fs.step <= 0.5 && std::fmod(k * fs.digit * fs.pow, fs.invpow) == 0;
        add(t, dt_tick_fine | (whole ? dt_tick_major : 0), static_cast<int>(k));
      }
      ++k;
      sec = k * fs.digit * fs.pow / fs.invpow;
      if (sec >= 60) minute_start += 60, sec = 0, k = 0;
    }
  }
  if (!day_part.empty()) out.date_text = month_part + " " + day_part + ", " + year_part;
  else if (!month_part.empty()) out.date_text = month_part + ", " + year_part;
  else out.date_text = year_part;
}

std::string axis_format_datetime_label(const datetime_tick& tick, const datetime_tick_table& table) {
  const datetime_fields f = local(tick.position);
  if (std::isnan(f.year)) return "";
  char text[96];
  const unsigned form = tick.flags & ~dt_tick_major;
  std::string s;
  switch (form) {
    case dt_tick_year:
      if (table.month_labels) {
        s = month_name(f.month);
        if (table.day_labels) std::snprintf(text, sizeof text, " %d", static_cast<int>(f.day)), s += text;
        s += ", ";
      }
      return s + year_text(f.year);
    case dt_tick_month:
      s = month_name(f.month);
      if (table.day_labels) std::snprintf(text, sizeof text, " %d", static_cast<int>(f.day)), s += text;
      return s;
    case dt_tick_day:
      if (table.day_labels) s = month_name(f.month) + " ";
      std::snprintf(text, sizeof text, "%d ", static_cast<int>(f.day));
      return s + text;
    case dt_tick_hour:
      std::snprintf(text, sizeof text, "%02d:%02d", tick.index, 0);
      return text;
    case dt_tick_minute:
      std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(f.hour), tick.index);
      return text;
    case dt_tick_fine: {
      int exponent_form = 0;
      const linear_step& fs = table.steps.fine;
      std::string seconds = axis_format_number(fs.digit, fs.exponent, tick.index, exponent_form);
      std::size_t point = seconds.find('.');
      std::size_t whole = point == std::string::npos ? seconds.size() : point;
      const char* pad = whole == 0 ? "00" : whole == 1 ? "0" : "";
      std::snprintf(text, sizeof text, "%02d:%02d:%s%s", static_cast<int>(f.hour), static_cast<int>(f.minute), pad,
                    seconds.c_str());
      return text;
    }
  }
  return "";
}

int axis_build_datetime_ticks(int axis) {
  const bool x_axis = axis == 0;
  const double scale = x_axis ? graph.graph_hscale_calc : graph.graph_vscale_calc;
  const double offset = x_axis ? graph.graph_hoffset_calc : graph.graph_voffset_calc;
  const double pps = x_axis ? render.px_per_unit_x : render.px_per_unit_y;
  const int size = x_axis ? render.plot_width_px : render.plot_height_px;
  const double size_in = std::max(render.plot_width_in, render.plot_height_in);
  datetime_tick_table& table = x_axis ? datetime_ticks_x : datetime_ticks_y;
  const double t0 = -offset;
  const double t1 = (size - 1) / pps - offset + 5e-7;
  const linear_step& years = x_axis ? axes.step_x : axes.step_y;
  datetime_tick_fill(axis_datetime_tick_steps(scale, size_in, graph.grid_density), years.step, t0, t1, table);
  // "&date" in this axis's title stands for the shared date (never longer
  // than a title may be).
  std::string& date_text = x_axis ? texts.xaxis_date_text : texts.yaxis_date_text;
  date_text.assign(table.date_text, 0, std::min(table.date_text.size(), text_title_limit));
  return 0;
}

double axis_zero_datetime() {
  double z = 0;
  if (get_named_var_double("zerodatetime", &z) == 0 && z != 0 && z >= datetime_min && z <= datetime_max) return z;
  return predefined_variables[PREDEF_DEFAULTZERODATETIME].value.number;
}
