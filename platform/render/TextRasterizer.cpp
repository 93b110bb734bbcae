// Pango-on-cairo text rendering into an A8 surface.
#include "TextRasterizer.h"

#include "TextFitLog.h"
#include "TextLayout.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstring>
#include <string>

namespace {

double layoutHeight(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return static_cast<double>(logical.height) / PANGO_SCALE;
}

double layoutWidth(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return static_cast<double>(logical.x + logical.width) / PANGO_SCALE;
}

void setPixelSize(PangoLayout* layout, double pixelSize) {
  PangoFontDescription* font = pango_font_description_copy(pango_layout_get_font_description(layout));
  pango_font_description_set_absolute_size(font, pixelSize * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
}

// A text taller than its box is set smaller, down to three quarters of its size, and cut with an
// ellipsis at the box's last line when even that is too tall.
void fitToHeight(PangoLayout* layout, const char* text, int boxWidth, int boxHeight, int pixelSize, bool oneLineFirst) {
  TextFitLog::Entry entry;
  entry.nominalSize = pixelSize;
  entry.usedSize = pixelSize;
  if (oneLineFirst) {
    // As many lines as paragraphs: nothing wrapped.
    int paragraphs = 1;
    for (const char* c = text; *c != '\0'; ++c) paragraphs += *c == '\n';
    const double smallest = pixelSize * 0.75;
    for (double size = pixelSize - 0.25; pango_layout_get_line_count(layout) > paragraphs && size >= smallest - 1e-9;
         size -= 0.25) {
      setPixelSize(layout, size);
      entry.usedSize = size;
      entry.shrunk = true;
    }
    entry.wrapped = pango_layout_get_line_count(layout) > paragraphs;
  }
  if (boxHeight > 0 && layoutHeight(layout) > boxHeight) {
    const double smallest = pixelSize * 0.75;
    for (double size = entry.usedSize - 0.25; size >= smallest - 1e-9; size -= 0.25) {
      setPixelSize(layout, size);
      entry.usedSize = size;
      entry.shrunk = true;
      if (layoutHeight(layout) <= boxHeight) break;
    }
    if (layoutHeight(layout) > boxHeight) {
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
      pango_layout_set_height(layout, boxHeight * PANGO_SCALE);
      entry.ellipsized = pango_layout_is_ellipsized(layout);
    }
  }
  if (!TextFitLog::recording()) return;
  entry.text = text;
  entry.boxWidth = boxWidth;
  entry.boxHeight = boxHeight;
  entry.unknownGlyphs = pango_layout_get_unknown_glyphs_count(layout);
  entry.overflows = (boxHeight > 0 && layoutHeight(layout) > boxHeight + 0.5) || layoutWidth(layout) > boxWidth + 0.5;
  TextFitLog::record(entry);
}

}  // namespace

bool TextRasterizer::render(const char* text, int boxWidth, int bufferWidth, int bufferHeight,
                            Alignment alignment, const char* fontName, int pixelSize, int scale,
                            uint8_t* coverage, int boxHeight, bool oneLineFirst) {
  if (text == nullptr || coverage == nullptr || bufferWidth <= 0 || bufferHeight <= 0 ||
      boxWidth <= 0 || pixelSize <= 0 || scale <= 0) {
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, bufferWidth, bufferHeight);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return false;
  }
  cairo_t* cr = cairo_create(surface);
  // Screen units from here on; Pango takes the scale from the context and draws finer glyphs.
  if (scale != 1) cairo_scale(cr, scale, scale);
  const double unitsWide = static_cast<double>(bufferWidth) / scale;
  // Clip to the requested box width as well: the layout wraps there.
  cairo_rectangle(cr, 0, 0, boxWidth < unitsWide ? boxWidth : unitsWide, static_cast<double>(bufferHeight) / scale);
  cairo_clip(cr);

  PangoLayout* layout = TextLayout::create(cr, fontName, pixelSize);

  pango_layout_set_width(layout, boxWidth * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_alignment(layout, alignment == CENTER  ? PANGO_ALIGN_CENTER
                                     : alignment == RIGHT ? PANGO_ALIGN_RIGHT
                                                          : PANGO_ALIGN_LEFT);
  // Under a scaled matrix Pango gives an empty line (the blank line between two paragraphs) the
  // height of the font at scale 1, so at 2x the paragraphs below it moved up. A line holding one
  // space is as tall as any other line at every scale, and draws nothing.
  std::string lines(text);
  for (size_t at = lines.find("\n\n"); at != std::string::npos; at = lines.find("\n\n", at + 2)) lines.insert(at + 1, " ");
  pango_layout_set_text(layout, lines.c_str(), -1);
  fitToHeight(layout, text, boxWidth, boxHeight, pixelSize, oneLineFirst);

  cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 1.0);
  cairo_move_to(cr, 0, 0);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  cairo_destroy(cr);

  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < bufferHeight; ++y) {
    std::memcpy(coverage + static_cast<size_t>(y) * bufferWidth, data + static_cast<size_t>(y) * stride,
                static_cast<size_t>(bufferWidth));
  }
  cairo_surface_destroy(surface);
  return true;
}

int TextRasterizer::unknownGlyphs(const char* text, const char* fontName, int pixelSize) {
  if (text == nullptr) return 0;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(surface);
  PangoLayout* layout = TextLayout::create(cr, fontName, pixelSize);
  pango_layout_set_text(layout, text, -1);
  const int unknown = pango_layout_get_unknown_glyphs_count(layout);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return unknown;
}
