// Text for the generated pictures, laid out with Pango in the game's sans-serif face.
#pragma once

#include <cairo.h>

#include "Palette.h"

class TextArt {
 public:
  enum Align { LEFT, CENTER, RIGHT };

  // How a label is fitted into its space: set at its pixel size when it fits in maxWidth on one
  // line, else at a smaller size down to minFactor of it, else wrapped within maxWidth into at
  // most maxLines lines, else cut with an ellipsis on one line.
  struct Space {
    double maxWidth;
    int maxLines;
    double minFactor;
  };
  struct Fitted {
    double pixelSize = 0.0;
    double wrapWidth = -1.0;  // the width lines wrap within; -1: the box width, as unfitted text
    bool shrunk = false;
    bool wrapped = false;
    bool ellipsized = false;
    int unknownGlyphs = 0;  // characters the fonts have no glyph for
    double inkWidth = 0.0;
    double inkHeight = 0.0;
  };
  // Chooses the size and breaking of `text` for `space` (see Space).
  static Fitted fit(cairo_t* cr, const char* text, const Space& space, double pixelSize, bool bold);

  // The language the text is in ("de", "ja"; null or "" for the default): it picks the fonts
  // for its script and the rules of its line breaking. The runtime painter sets it.
  static void setLanguage(const char* language);

  // Draws `text` in a box of boxWidth starting at x, with the first line's top at y (or, with
  // centreY, the text block centred vertically on y). Returns the block's height in pixels.
  // With `fitted` (from fit), its size and breaking replace pixelSize and the box's wrapping.
  static double draw(cairo_t* cr, const char* text, double x, double y, double boxWidth, double pixelSize,
                     bool bold, Align align, Rgb colour, double alpha, bool centreY = false,
                     const Fitted* fitted = nullptr);
  // The same text as a path (for outlines and gradient fills); returns the block's height.
  static double path(cairo_t* cr, const char* text, double x, double y, double boxWidth, double pixelSize,
                     bool bold, Align align, bool centreY = false, const Fitted* fitted = nullptr);
};
