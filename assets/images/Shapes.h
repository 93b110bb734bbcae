// Path helpers shared by the painters: rounded rectangles, regular polygons, stars and the
// symbol outlines. Each adds a closed path to the context; the caller fills or strokes it.
#pragma once

#include <cairo.h>

class Shapes {
 public:
  static void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
  // A regular polygon of `corners` corners on a circle of `radius`, the first at `angle` radians.
  static void polygon(cairo_t* cr, double cx, double cy, double radius, int corners, double angle);
  // A star of `points` points between the outer and inner radius, first point straight up.
  static void star(cairo_t* cr, double cx, double cy, double outer, double inner, int points);
  static void heart(cairo_t* cr, double cx, double cy, double size);
  // A plus sign of arm length `size` and bar thickness `thickness`, turned by `angle`.
  static void cross(cairo_t* cr, double cx, double cy, double size, double thickness, double angle);
};
