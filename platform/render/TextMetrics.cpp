// Text measuring with Pango on a scratch surface, configured like the text textures' layouts.
#include "TextMetrics.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>

#include "TextLayout.h"

namespace {

// A layout on a 1 x 1 scratch surface, configured like the text textures' layouts.
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

TextMetrics::Extent TextMetrics::measure(const std::string& text, const char* fontName, int pixelSize, int wrapWidth) {
  ScratchLayout scratch(text, fontName, pixelSize, wrapWidth);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(scratch.layout, nullptr, &logical);
  Extent extent;
  extent.width = std::max(0, logical.x + logical.width);
  extent.height = std::max(0, logical.y + logical.height);
  return extent;
}

std::vector<TextMetrics::Cluster> TextMetrics::clusters(const std::string& text, const char* fontName, int pixelSize,
                                                         float& lineWidth) {
  ScratchLayout scratch(text, fontName, pixelSize, 0);

  // Cluster starts and their left edges, in one pass over the line (linear in the text).
  std::vector<Cluster> found;
  PangoLayoutIter* iter = pango_layout_get_iter(scratch.layout);
  do {
    if (pango_layout_iter_get_run_readonly(iter) == nullptr) continue;  // the end-of-line position
    PangoRectangle logical;
    pango_layout_iter_get_cluster_extents(iter, nullptr, &logical);
    Cluster cluster;
    cluster.index = static_cast<size_t>(pango_layout_iter_get_index(iter));
    cluster.left = static_cast<float>(std::min(logical.x, logical.x + logical.width)) / PANGO_SCALE;
    found.push_back(cluster);
  } while (pango_layout_iter_next_cluster(iter));
  pango_layout_iter_free(iter);
  std::sort(found.begin(), found.end(), [](const Cluster& a, const Cluster& b) {
    return a.index != b.index ? a.index < b.index : a.left < b.left;
  });

  PangoRectangle line;
  pango_layout_get_extents(scratch.layout, nullptr, &line);
  lineWidth = static_cast<float>(line.x + line.width) / PANGO_SCALE;
  return found;
}
