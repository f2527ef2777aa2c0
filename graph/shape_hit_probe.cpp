// The one-pixel device of the hit test (see shape_hit_probe.h).
#include "graph/shape_hit_probe.h"

#include <cmath>

namespace {
constexpr int bezier_steps = 24;  // straight pieces per cubic when flattened
}

void ShapeHitProbe::set_clip_rect(int left, int top, int right, int bottom) {
  clipped_out_ = !(probe_x_ >= left && probe_x_ < right && probe_y_ >= top && probe_y_ < bottom);
}

void ShapeHitProbe::move_to(int x, int y) {
  current_ = {static_cast<double>(x), static_cast<double>(y)};
  if (in_path_) figures_.push_back(figure{{current_}, false});
}

void ShapeHitProbe::add_line(pointf to) {
  if (in_path_) {
    if (figures_.empty() || figures_.back().closed) figures_.push_back(figure{{current_}, false});
    figures_.back().points.push_back(to);
  } else {
    stroke_run({current_, to}, false);
  }
  current_ = to;
}

void ShapeHitProbe::add_bezier(pointf p1, pointf p2, pointf p3) {
  const pointf p0 = current_;
  for (int i = 1; i <= bezier_steps; ++i) {
    const double u = static_cast<double>(i) / bezier_steps, v = 1 - u;
    const double w0 = v * v * v, w1 = 3 * v * v * u, w2 = 3 * v * u * u, w3 = u * u * u;
    add_line({w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x, w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y});
  }
}

void ShapeHitProbe::line_to(int x, int y) { add_line({static_cast<double>(x), static_cast<double>(y)}); }

void ShapeHitProbe::polyline(const draw_point* p, std::size_t n) {
  if (n == 0) return;
  const pointf saved = current_;
  const bool saved_path = in_path_;
  in_path_ = false;  // a polyline is drawn at once, even while a path records
  current_ = {static_cast<double>(p[0].x), static_cast<double>(p[0].y)};
  for (std::size_t i = 1; i < n; ++i) line_to(p[i].x, p[i].y);
  in_path_ = saved_path;
  current_ = saved;
}

void ShapeHitProbe::polyline_to(const draw_point* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) line_to(p[i].x, p[i].y);
}

void ShapeHitProbe::poly_bezier(const draw_point* p, std::size_t n) {
  if (n < 4) return;
  const pointf saved = current_;
  const bool saved_path = in_path_;
  in_path_ = false;
  current_ = {static_cast<double>(p[0].x), static_cast<double>(p[0].y)};
  poly_bezier_to(p + 1, n - 1);
  in_path_ = saved_path;
  current_ = saved;
}

void ShapeHitProbe::poly_bezier_to(const draw_point* p, std::size_t n) {
  auto f = [](draw_point q) { return pointf{static_cast<double>(q.x), static_cast<double>(q.y)}; };
  for (std::size_t i = 0; i + 3 <= n; i += 3) add_bezier(f(p[i]), f(p[i + 1]), f(p[i + 2]));
}

void ShapeHitProbe::stroke_run(const std::vector<pointf>& run, bool closed) {
  if (pen_.style == pen_style::none || run.empty()) return;
  const double reach = (pen_.width > 1 ? pen_.width : 1) / 2.0 + 0.5;
  const double px = probe_x_ + 0.5, py = probe_y_ + 0.5;
  const std::size_t n = run.size();
  const std::size_t segments = closed ? n : n - 1;
  if (n == 1) {
    if (std::hypot(run[0].x - px, run[0].y - py) <= reach) paint(pen_.color);
    return;
  }
  for (std::size_t i = 0; i < segments; ++i) {
    const pointf a = run[i], b = run[(i + 1) % n];
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    if (std::hypot(a.x + t * dx - px, a.y + t * dy - py) <= reach) {
      paint(pen_.color);
      return;
    }
  }
}

void ShapeHitProbe::fill_outline(const std::vector<const std::vector<pointf>*>& outlines) {
  if (brush_.kind == brush_kind::none) return;
  const double px = probe_x_ + 0.5, py = probe_y_ + 0.5;
  int winding = 0, crossings = 0;
  for (const std::vector<pointf>* run : outlines) {
    const std::size_t n = run->size();
    for (std::size_t i = 0; i < n; ++i) {
      const pointf a = (*run)[i], b = (*run)[(i + 1) % n];
      if ((a.y <= py) != (b.y <= py)) {
        const double x = a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y);
        if (x > px) {
          ++crossings;
          winding += b.y > a.y ? 1 : -1;
        }
      }
    }
  }
  if (winding_ ? winding != 0 : (crossings & 1) != 0) paint(brush_.color);
}

void ShapeHitProbe::rectangle(int l, int t, int r, int b) {
  std::vector<pointf> run = {{double(l), double(t)}, {double(r), double(t)}, {double(r), double(b)}, {double(l), double(b)}};
  fill_outline({&run});
  stroke_run(run, true);
}

void ShapeHitProbe::ellipse(int l, int t, int r, int b) {
  std::vector<pointf> run;
  const double cx = (l + r) / 2.0, cy = (t + b) / 2.0, a = (r - l) / 2.0, bb = (b - t) / 2.0;
  for (int i = 0; i < 96; ++i) {
    const double u = 6.283185307179586 * i / 96;
    run.push_back({cx + a * std::cos(u), cy + bb * std::sin(u)});
  }
  fill_outline({&run});
  stroke_run(run, true);
}

void ShapeHitProbe::polygon(const draw_point* p, std::size_t n) {
  std::vector<pointf> run;
  for (std::size_t i = 0; i < n; ++i) run.push_back({double(p[i].x), double(p[i].y)});
  fill_outline({&run});
  stroke_run(run, true);
}

void ShapeHitProbe::fill_rect(int l, int t, int r, int b, draw_color color) {
  if (probe_x_ >= l && probe_x_ < r && probe_y_ >= t && probe_y_ < b) paint(color);
}

void ShapeHitProbe::begin_path() {
  figures_.clear();
  in_path_ = true;
}

void ShapeHitProbe::end_path() { in_path_ = false; }

void ShapeHitProbe::close_figure() {
  if (!figures_.empty()) {
    figures_.back().closed = true;
    current_ = figures_.back().points.front();
  }
}

void ShapeHitProbe::stroke_figures() {
  for (const figure& f : figures_) stroke_run(f.points, f.closed);
}

void ShapeHitProbe::fill_figures() {
  std::vector<const std::vector<pointf>*> outlines;
  for (const figure& f : figures_) outlines.push_back(&f.points);
  fill_outline(outlines);
}

// A path that is still recording cannot be stroked or filled.
void ShapeHitProbe::stroke_path() {
  if (in_path_) return;
  stroke_figures();
  figures_.clear();
}

void ShapeHitProbe::fill_path() {
  if (in_path_) return;
  fill_figures();
  figures_.clear();
}

void ShapeHitProbe::stroke_and_fill_path() {
  if (in_path_) return;
  fill_figures();
  stroke_figures();
  figures_.clear();
}

bool ShapeHitProbe::get_pixel(int x, int y, draw_color& color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  color = (x == probe_x_ && y == probe_y_) ? colour_ : 0;
  return true;
}
