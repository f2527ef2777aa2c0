// Logarithmic-axis ticks.
#include "graph/log_ticks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "interpreter/named_vars.h"

log_tick_steps log_tick_choose_steps(double s, double axisweight, double grid_density) {
  log_tick_steps t;
  const double w = axisweight > 1.5 ? (axisweight - 1.5) / 8.5 + 1 : 1;
  const double g = grid_density == 0 ? 1 : grid_density;
  if (s >= 4) {
    double e = std::trunc(s * g / 2 * w);
    t.exponent = e > 300 ? 300 : static_cast<int>(e);
    t.digit = 1;
    t.base = std::pow(10.0, t.exponent);
  } else {
    const double r = std::pow(10.0, 0.25 * g * w * s) - 1;
    char text[32];
    std::snprintf(text, sizeof text, "%.1e", r + 5e-13);
    const int m = (text[0] - '0') * 10 + (text[2] - '0');
    int e = std::atoi(text + 4);
    if (m < 11) t.digit = 1;
    else if (m < 21) t.digit = 2;
    else if (m < 52) t.digit = 5;
    else t.digit = 1, ++e;
    t.exponent = e;
    t.base = t.digit * std::pow(10.0, e);
  }
  if (t.base < 5) {
    if (t.digit == 1) t.d1 = 1, t.d2 = 2, t.d3 = 5, t.mod1 = 2, t.mod2 = 5, t.mod3 = 10;
    else if (t.digit == 2) t.d1 = 2, t.d2 = 5, t.d3 = 10, t.mod1 = 5, t.mod2 = 10, t.mod3 = 50;
    else t.d1 = 5, t.d2 = 10, t.d3 = 20, t.mod1 = 10, t.mod2 = 50, t.mod3 = 100;
  } else {
    t.d1 = t.d2 = t.d3 = t.digit;
    t.mod1 = t.mod2 = t.mod3 = 100;
  }
  if (t.base == 2 || t.base == 5) t.d1 = 4, t.d2 = 5, t.d3 = 10, t.lo = 5, t.hi = 10, t.mod1 = 10, t.mod2 = 10, t.mod3 = 100;
  if (t.d2 == 2 && t.exponent == 0) t.d3 = 2;
  if ((t.d3 == 2 && t.exponent == 0) || (t.d3 == 20 && t.exponent == -1)) t.hi = 6;
  t.thin = !(t.d1 == 1 && t.d2 == 1 && t.d3 == 1) &&
           std::log10(std::pow(10.0, t.exponent) * t.d1 + 1) / s < 0.33 * w;
  return t;
}

namespace {

constexpr int finest_exponent = -8;  // mantissas up to 10^9 + a step stay below 2^31

// The step and modulus for the mantissa ratio r (mantissa / unit).
void step_for(const log_tick_steps& t, int r, int& d, int& n) {
  if (r >= t.hi) d = t.d3, n = t.mod3;
  else if (r >= t.lo) d = t.d2, n = t.mod2;
  else d = t.d1, n = t.mod1;
}

}  // namespace

void log_tick_fill(const log_tick_steps& steps, double o, double ppd, int plot_size, log_tick_table& out) {
  out.count = 0;
  // Mantissas count in units of 10^exponent; ten decades of units still fit
  // a 32-bit mantissa. A finer step is walked in units of the finest unit
  // (fewer ticks, but each where its number says), so the decade always
  // moves by the exponent the unit stands for.
  log_tick_steps t = steps;
  if (t.exponent < finest_exponent) {
    t.exponent = finest_exponent;
    t.d1 = t.d2 = t.d3 = 1;
    t.mod1 = t.mod2 = t.mod3 = 1;
  }
  if (!std::isfinite(o) || !(ppd > 0) || !std::isfinite(ppd)) return;
  const double v = std::pow(10.0, -o);  // the value at the near edge
  double f = std::floor(-o);
  const double step_decades = std::log10(t.base);
  if (t.base >= 100) f = std::floor(f / step_decades) * step_decades;
  double xd = std::floor(-o);
  if (t.base >= 100 && t.exponent > 0) {
    const double e = t.exponent;
    xd = xd < 0 ? std::floor(xd / e) * e : std::ceil(xd / e) * e;  // away from zero
  }
  if (!(std::fabs(xd) < 1e6)) return;
  int x = static_cast<int>(xd);
  int u = 1;
  if (t.exponent < 0) {
    u = static_cast<int>(std::lround(std::pow(10.0, -t.exponent)));
    x += t.exponent;
  }
  int m = u;
  if (t.base < 10) {
    const double lead = v / std::pow(10.0, f);  // 1 <= lead < 10
    const int q = static_cast<int>(lead);
    int d = q >= t.hi ? t.d3 : q >= t.lo ? t.d2 : t.d1;
    m = static_cast<int>(u * lead);
    m = m / d * d;
    if (m < 1) m = 1;
    if (t.d1 == 4 && m / u < 5) m = u;
  }
  int d = 0, n = 0;
  step_for(t, m / u, d, n);
  auto flags_of = [&](bool decade) {
    unsigned flags = 0;
    if (decade || m == u || !(t.thin && m % n != 0)) flags |= log_tick_numbered;
    if (m == u) flags |= log_tick_decade;
    return flags;
  };
  auto store = [&](unsigned flags) {
    log_tick& tick = out.ticks[out.count++];
    tick.value = std::log10(static_cast<double>(m)) + x;
    tick.mantissa = m;
    tick.exponent = x;
    tick.flags = flags;
  };
  store(flags_of(m == u));
  while (out.count < max_log_ticks) {
    const log_tick& last = out.ticks[out.count - 1];
    if (!((o + last.value) * ppd + 0.5 < plot_size)) break;
    bool decade = false;
    if (t.base < 10) {
      m += d;
    } else {
      m = 1;
      x += t.exponent;
      decade = true;
    }
    step_for(t, m / u, d, n);
    if (m / u > 9) {
      d = t.d1, n = t.mod1;
      if (t.base < 10) ++x, m = u;
      decade = true;
    }
    store(flags_of(decade));
  }
}

int axis_build_log_ticks(int axis) {
  const bool x_axis = axis == 0;
  const double s = x_axis ? graph.graph_hscale_calc : graph.graph_vscale_calc;
  const log_tick_steps t = log_tick_choose_steps(s, graph.graph_axisweight, graph.grid_density);
  set_named_var_double("tick_size_base", t.base);
  set_named_var_double("tick_incr", std::pow(10.0, t.exponent) * t.d1);
  set_named_var_double("tick_incr_1", t.d1);
  set_named_var_double("tick_incr_2", t.d2);
  set_named_var_double("tick_incr_3", t.d3);
  set_named_var_double("suppress_some_numbers", t.thin ? 1 : 0);
  log_tick_fill(t, x_axis ? graph.graph_hoffset_calc : graph.graph_voffset_calc,
                x_axis ? render.px_per_unit_x : render.px_per_unit_y,
                x_axis ? render.plot_width_px : render.plot_height_px, x_axis ? axes.log_ticks_x : axes.log_ticks_y);
  return 0;
}
