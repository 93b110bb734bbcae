// The focus ring picture.
#include "FocusRingPainter.h"

#include "ArtCanvas.h"
#include "Palette.h"
#include "Shapes.h"

bool FocusRingPainter::focusRing(const std::string& folder) {
  ArtCanvas canvas(39, 39);
  cairo_t* cr = canvas.cr();
  // A dark outer line under a bright inner one, so the ring shows on light and dark squares.
  // The high-contrast look: an opaque black line and a wider bright line.
  const bool strong = Palette::look() == Palette::Look::HIGH_CONTRAST;
  const Rgb focus = Palette::tones().focus;
  Shapes::roundedRect(cr, 1.5, 1.5, 36, 36, 6);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, strong ? 1.0 : 0.55);
  cairo_set_line_width(cr, 3.0);
  cairo_stroke(cr);
  Shapes::roundedRect(cr, strong ? 3.0 : 2.5, strong ? 3.0 : 2.5, strong ? 33 : 34, strong ? 33 : 34, 5);
  cairo_set_source_rgba(cr, focus.r, focus.g, focus.b, 1.0);
  cairo_set_line_width(cr, strong ? 3.0 : 2.0);
  cairo_stroke(cr);
  bool ok = canvas.save(folder, "FocusRing_39x39.png");
  ArtCanvas line(4, 4);
  cairo_set_source_rgba(line.cr(), focus.r, focus.g, focus.b, 1.0);
  cairo_paint(line.cr());
  return line.save(folder, "FocusLine_4x4.png") && ok;
}
