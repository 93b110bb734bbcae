// TextLayout: the one way the game lays out text with Pango: grey antialiasing, unhinted metrics,
// the font family named (Helvetica when none) at a size in screen pixels. Used by the text
// textures and by the text measuring, so both agree to the pixel.
#pragma once

#include <pango/pangocairo.h>

class TextLayout {
 public:
  // A new layout on `cr` (the caller unrefs it), before text, width and wrapping are set.
  static PangoLayout* create(cairo_t* cr, const char* fontName, int pixelSize);
};
