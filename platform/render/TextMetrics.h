// TextMetrics: sizes and cluster positions of text laid out exactly as the text rasteriser lays it
// out (Pango through TextLayout: the named font at a pixel size, words wrapped within a width).
// The view layer measures its texts through it for layout, centring, the caret and scrolling.
// Stateless; main thread (the same thread as the text textures). The text must be valid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class TextMetrics {
 public:
  struct Extent {
    int width = 0;   // logical width in pixels, rounded up
    int height = 0;  // logical height of all lines in pixels, rounded up
  };
  struct Cluster {
    size_t index = 0;   // byte offset where the drawn cluster starts
    float left = 0.0f;  // its left edge in pixels from the left edge of the line
  };

  // The extent of `text` (up to its first NUL byte, as drawn) wrapped within wrapWidth pixels;
  // wrapWidth <= 0 lays it out unwrapped.
  static Extent measure(const std::string& text, const char* fontName, int pixelSize, int wrapWidth);

  // The drawn clusters of the unwrapped `text` in index order, and the line's width.
  static std::vector<Cluster> clusters(const std::string& text, const char* fontName, int pixelSize, float& lineWidth);
};
