// Path construction for the generated art.
#include "Shapes.h"

#include <cmath>

void Shapes::roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::fmin(radius, std::fmin(w, h) / 2.0);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2.0, 0.0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0.0, M_PI / 2.0);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2.0, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void Shapes::polygon(cairo_t* cr, double cx, double cy, double radius, int corners, double angle) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < corners; ++i) {
    const double a = angle + 2.0 * M_PI * i / corners;
    cairo_line_to(cr, cx + radius * std::cos(a), cy + radius * std::sin(a));
  }
  cairo_close_path(cr);
}

void Shapes::star(cairo_t* cr, double cx, double cy, double outer, double inner, int points) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < 2 * points; ++i) {
    const double a = -M_PI / 2.0 + M_PI * i / points;
    const double r = (i % 2 == 0) ? outer : inner;
    cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

void Shapes::heart(cairo_t* cr, double cx, double cy, double size) {
  const double s = size;
  cairo_new_sub_path(cr);
  cairo_move_to(cr, cx, cy + 0.95 * s);
  cairo_curve_to(cr, cx - 0.15 * s, cy + 0.7 * s, cx - 1.05 * s, cy + 0.25 * s, cx - 1.0 * s, cy - 0.3 * s);
  cairo_curve_to(cr, cx - 0.95 * s, cy - 0.95 * s, cx - 0.15 * s, cy - 1.05 * s, cx, cy - 0.45 * s);
  cairo_curve_to(cr, cx + 0.15 * s, cy - 1.05 * s, cx + 0.95 * s, cy - 0.95 * s, cx + 1.0 * s, cy - 0.3 * s);
  cairo_curve_to(cr, cx + 1.05 * s, cy + 0.25 * s, cx + 0.15 * s, cy + 0.7 * s, cx, cy + 0.95 * s);
  cairo_close_path(cr);
}

void Shapes::cross(cairo_t* cr, double cx, double cy, double size, double thickness, double angle) {
  const double a = size;
  const double t = thickness / 2.0;
  const double outline[12][2] = {{-t, -a}, {t, -a}, {t, -t}, {a, -t}, {a, t},  {t, t},
                                 {t, a},   {-t, a}, {-t, t}, {-a, t}, {-a, -t}, {-t, -t}};
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  cairo_new_sub_path(cr);
  for (const auto& p : outline) cairo_line_to(cr, cx + p[0] * c - p[1] * s, cy + p[0] * s + p[1] * c);
  cairo_close_path(cr);
}
