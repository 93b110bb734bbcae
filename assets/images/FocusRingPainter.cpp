// The focus ring picture.
#include "FocusRingPainter.h"

#include "ArtCanvas.h"
#include "Shapes.h"

bool FocusRingPainter::focusRing(const std::string& folder) {
  ArtCanvas canvas(39, 39);
  cairo_t* cr = canvas.cr();
  // A dark outer line under a bright inner one, so the ring shows on light and dark squares.
  Shapes::roundedRect(cr, 1.5, 1.5, 36, 36, 6);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.55);
  cairo_set_line_width(cr, 3.0);
  cairo_stroke(cr);
  Shapes::roundedRect(cr, 2.5, 2.5, 34, 34, 5);
  cairo_set_source_rgba(cr, 1.0, 0.93, 0.55, 1.0);
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  bool ok = canvas.save(folder, "FocusRing_39x39.png");
  ArtCanvas line(4, 4);
  cairo_set_source_rgba(line.cr(), 1.0, 0.93, 0.55, 1.0);
  cairo_paint(line.cr());
  return line.save(folder, "FocusLine_4x4.png") && ok;
}
