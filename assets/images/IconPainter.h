// Paints the application icon: a rounded board tile with a diagonal row of balls, at any size,
// on any cairo context, so that the same drawing gives the PNG icons of every size, the
// scalable SVG icon and the window icon. Used by the icon generator.
#pragma once

#include <cairo.h>

class IconPainter {
 public:
  // The icon filling a `size` x `size` square at the context's origin.
  static void paintIcon(cairo_t* cr, double size);
};
