// Renders UTF-8 text into an 8-bit coverage buffer with Pango: the named font at a pixel size,
// word-wrapped within a box width, aligned left, centred or right, top-aligned.
// Called by the game's text textures; the caller owns the buffer.
#pragma once

#include <cstdint>

class TextRasterizer {
 public:
  enum Alignment { LEFT = 0, CENTER = 1, RIGHT = 2 };

  // Draws `text` white-on-transparent into `coverage`, a zero-filled buffer of bufferWidth x
  // bufferHeight bytes (row 0 at the top), laying it out in a box `boxWidth` wide at the
  // top-left corner; lines are broken at words (inside a word only when it alone is too wide).
  // Text beyond the buffer is clipped. Returns false for bad sizes or a null text.
  // With a boxHeight above 0, text taller than it is first set smaller (down to three quarters
  // of pixelSize), then cut at the box's last line with an ellipsis; each text's fit is
  // recorded in TextFitLog. With oneLineFirst, a label that would wrap is first set smaller
  // (down to three quarters) to keep each paragraph on one line, and wraps only below that.
  // With a scale above 1 the text is laid out in the same screen units (box width, pixel size)
  // and rasterised with `scale` buffer pixels per unit: the buffer sizes count those pixels.
  static bool render(const char* text, int boxWidth, int bufferWidth, int bufferHeight,
                     Alignment alignment, const char* fontName, int pixelSize, int scale, uint8_t* coverage,
                     int boxHeight = 0, bool oneLineFirst = false);

  // How many characters of `text` no installed font can show in `fontName` at `pixelSize`
  // (they would be drawn as boxes), laid out in the language of the catalogue in use.
  static int unknownGlyphs(const char* text, const char* fontName, int pixelSize);
};
