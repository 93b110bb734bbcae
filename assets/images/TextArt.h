// Text for the generated pictures, laid out with Pango in the game's sans-serif face.
#pragma once

#include <cairo.h>

#include "Palette.h"

class TextArt {
 public:
  enum Align { LEFT, CENTER, RIGHT };

  // Draws `text` in a box of boxWidth starting at x, with the first line's top at y (or, with
  // centreY, the text block centred vertically on y). Returns the block's height in pixels.
  static double draw(cairo_t* cr, const char* text, double x, double y, double boxWidth, double pixelSize,
                     bool bold, Align align, Rgb colour, double alpha, bool centreY = false);
  // The same text as a path (for outlines and gradient fills); returns the block's height.
  static double path(cairo_t* cr, const char* text, double x, double y, double boxWidth, double pixelSize,
                     bool bold, Align align, bool centreY = false);
};
