// TextMeasurer: sizes of text laid out exactly as the game's text textures lay it out (through
// platform/render's TextMetrics: the named font at a pixel size, words wrapped within a width),
// and the caret positions of one line of text. The controls use it for layout, centring, the
// caret and scrolling.
// Stateless; main thread (the same thread as the text textures).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Ui {

class TextMeasurer {
 public:
  struct Extent {
    int width = 0;   // logical width in pixels, rounded up
    int height = 0;  // logical height of all lines in pixels, rounded up
  };
  struct CaretStop {
    size_t index = 0;  // byte offset of a character boundary in the text
    float x = 0.0f;    // caret x in pixels from the left edge of the line
  };

  // The extent of `text` wrapped within wrapWidth pixels; wrapWidth <= 0 lays it out unwrapped.
  // Invalid UTF-8 is measured as U+FFFD, as it would be drawn.
  static Extent measure(const std::string& text, const char* fontName, int pixelSize, int wrapWidth);

  // One stop per character boundary of the unwrapped `text` (valid UTF-8), in index order, the
  // first at index 0 and the last at text.size() (x = the line's width). Characters that share
  // one drawn cluster (a letter with combining marks) put their inner stops at the cluster start.
  static std::vector<CaretStop> caretStops(const std::string& text, const char* fontName, int pixelSize);
};

}  // namespace Ui
