// Text measuring for the controls: the UTF-8 rules of the view layer over platform/render's
// TextMetrics, which lays the text out as the text textures do.
#include "TextMeasurer.h"

#include "TextMetrics.h"
#include "Utf8Text.h"

namespace Ui {

TextMeasurer::Extent TextMeasurer::measure(const std::string& text, const char* fontName, int pixelSize,
                                           int wrapWidth) {
  // Pango refuses invalid UTF-8 outright; measure what would actually be drawn.
  const TextMetrics::Extent laidOut =
      TextMetrics::measure(Utf8Text::sanitize(text, false), fontName, pixelSize, wrapWidth);
  Extent extent;
  extent.width = laidOut.width;
  extent.height = laidOut.height;
  return extent;
}

std::vector<TextMeasurer::CaretStop> TextMeasurer::caretStops(const std::string& text, const char* fontName,
                                                             int pixelSize) {
  float lineWidth = 0.0f;
  const std::vector<TextMetrics::Cluster> clusters = TextMetrics::clusters(text, fontName, pixelSize, lineWidth);

  // One pass over the characters and the clusters together (linear in the text): a character
  // inside a cluster gets the cluster's left edge.
  std::vector<CaretStop> stops;
  size_t cluster = 0;
  float x = 0.0f;
  for (size_t index = 0;; index = Utf8Text::nextBoundary(text, index)) {
    while (cluster < clusters.size() && clusters[cluster].index <= index) {
      x = clusters[cluster].left;
      ++cluster;
    }
    CaretStop stop;
    stop.index = index;
    stop.x = index >= text.size() ? lineWidth : x;
    stops.push_back(stop);
    if (index >= text.size()) break;
  }
  return stops;
}

}  // namespace Ui
