// Pango layout metrics with the same font options as the game's text rasteriser.
#include "TextMeasurer.h"

#include "TextLayout.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "Utf8Text.h"

namespace Ui {

namespace {

// A layout on a scratch surface, configured like the text textures' layouts.
class ScratchLayout {
 public:
  ScratchLayout(const std::string& text, const char* fontName, int pixelSize, int wrapWidth) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cr = cairo_create(surface);
    layout = TextLayout::create(cr, fontName, pixelSize);
    if (wrapWidth > 0) {
      pango_layout_set_width(layout, wrapWidth * PANGO_SCALE);
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    // Up to the first NUL byte, as the text textures read their text.
    pango_layout_set_text(layout, text.c_str(), -1);
  }
  ~ScratchLayout() {
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  ScratchLayout(const ScratchLayout&) = delete;
  ScratchLayout& operator=(const ScratchLayout&) = delete;

  PangoLayout* layout = nullptr;

 private:
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
};

}  // namespace

TextMeasurer::Extent TextMeasurer::measure(const std::string& text, const char* fontName, int pixelSize,
                                           int wrapWidth) {
  // Pango refuses invalid UTF-8 outright; measure what would actually be drawn.
  ScratchLayout scratch(Utf8Text::sanitize(text, false), fontName, pixelSize, wrapWidth);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(scratch.layout, nullptr, &logical);
  Extent extent;
  extent.width = std::max(0, logical.x + logical.width);
  extent.height = std::max(0, logical.y + logical.height);
  return extent;
}

std::vector<TextMeasurer::CaretStop> TextMeasurer::caretStops(const std::string& text, const char* fontName,
                                                             int pixelSize) {
  ScratchLayout scratch(text, fontName, pixelSize, 0);

  // Cluster starts and their left edges, in one pass over the line (linear in the text).
  std::vector<std::pair<size_t, float>> clusters;
  PangoLayoutIter* iter = pango_layout_get_iter(scratch.layout);
  do {
    if (pango_layout_iter_get_run_readonly(iter) == nullptr) continue;  // the end-of-line position
    PangoRectangle logical;
    pango_layout_iter_get_cluster_extents(iter, nullptr, &logical);
    const float left = static_cast<float>(std::min(logical.x, logical.x + logical.width)) / PANGO_SCALE;
    clusters.emplace_back(static_cast<size_t>(pango_layout_iter_get_index(iter)), left);
  } while (pango_layout_iter_next_cluster(iter));
  pango_layout_iter_free(iter);
  std::sort(clusters.begin(), clusters.end());

  PangoRectangle line;
  pango_layout_get_extents(scratch.layout, nullptr, &line);
  const float lineWidth = static_cast<float>(line.x + line.width) / PANGO_SCALE;

  std::vector<CaretStop> stops;
  size_t cluster = 0;
  float x = 0.0f;
  for (size_t index = 0;; index = Utf8Text::nextBoundary(text, index)) {
    while (cluster < clusters.size() && clusters[cluster].first <= index) {
      x = clusters[cluster].second;
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
