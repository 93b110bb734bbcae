// Pango layout of the generator's and the label painter's text.
#include "TextArt.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <string>

namespace {

std::string& layoutLanguage() {
  static std::string language;
  return language;
}

PangoLayout* makeLayout(cairo_t* cr, const char* text, double boxWidth, double pixelSize, bool bold,
                        TextArt::Align align, const TextArt::Fitted* fitted) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoContext* context = pango_layout_get_context(layout);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  if (!layoutLanguage().empty()) pango_context_set_language(context, pango_language_from_string(layoutLanguage().c_str()));
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, "Helvetica");
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  const double size = fitted != nullptr ? fitted->pixelSize : pixelSize;
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  const double width = fitted != nullptr && fitted->wrapWidth > 0 ? fitted->wrapWidth : boxWidth;
  pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
  pango_layout_set_wrap(layout, fitted != nullptr && fitted->wrapped ? PANGO_WRAP_WORD_CHAR : PANGO_WRAP_WORD);
  if (fitted != nullptr && fitted->ellipsized) {
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_height(layout, 0);  // one line
  }
  pango_layout_set_alignment(layout, align == TextArt::CENTER  ? PANGO_ALIGN_CENTER
                                     : align == TextArt::RIGHT ? PANGO_ALIGN_RIGHT
                                                               : PANGO_ALIGN_LEFT);
  pango_layout_set_text(layout, text, -1);
  return layout;
}

// Places the pen so that the block's ink is centred on y when asked; returns the block height.
// A fitted block narrower than the box is moved to the box's middle (its lines keep the
// alignment within it).
double placePen(cairo_t* cr, PangoLayout* layout, double x, double y, bool centreY, double boxWidth,
                const TextArt::Fitted* fitted) {
  PangoRectangle ink;
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  const double top = centreY ? y - ink.y - ink.height / 2.0 : y;
  double left = x;
  if (fitted != nullptr && fitted->wrapWidth > 0) left += (boxWidth - fitted->wrapWidth) / 2.0;
  cairo_move_to(cr, left, top);
  return logical.height;
}

struct Measured {
  double width;
  double height;
  int lines;
  int unknown;
};

Measured measure(cairo_t* cr, const char* text, double pixelSize, bool bold, double wrapWidth, bool wrap) {
  TextArt::Fitted probe;
  probe.pixelSize = pixelSize;
  probe.wrapWidth = wrap ? wrapWidth : -1.0;
  probe.wrapped = wrap;
  PangoLayout* layout = makeLayout(cr, text, wrap ? wrapWidth : -1.0, pixelSize, bold, TextArt::LEFT, &probe);
  if (!wrap) pango_layout_set_width(layout, -1);
  PangoRectangle ink;
  PangoRectangle logical;
  pango_layout_get_extents(layout, &ink, &logical);
  Measured result{static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE,
                  pango_layout_get_line_count(layout), pango_layout_get_unknown_glyphs_count(layout)};
  g_object_unref(layout);
  return result;
}

}  // namespace

void TextArt::setLanguage(const char* language) { layoutLanguage() = language != nullptr ? language : ""; }

TextArt::Fitted TextArt::fit(cairo_t* cr, const char* text, const Space& space, double pixelSize, bool bold) {
  Fitted fitted;
  fitted.pixelSize = pixelSize;
  Measured line = measure(cr, text, pixelSize, bold, space.maxWidth, false);
  fitted.unknownGlyphs = line.unknown;
  // Explicit line breaks count as lines of their own.
  if (line.width <= space.maxWidth && line.lines <= space.maxLines) {
    fitted.inkWidth = line.width;
    fitted.inkHeight = line.height;
    return fitted;
  }
  // Smaller, in steps of a quarter pixel, down to the limit.
  const double smallest = pixelSize * space.minFactor;
  for (double size = pixelSize - 0.25; size >= smallest - 1e-9; size -= 0.25) {
    line = measure(cr, text, size, bold, space.maxWidth, false);
    if (line.width <= space.maxWidth && line.lines <= space.maxLines) {
      fitted.pixelSize = size;
      fitted.shrunk = true;
      fitted.inkWidth = line.width;
      fitted.inkHeight = line.height;
      return fitted;
    }
  }
  fitted.pixelSize = smallest;
  fitted.shrunk = smallest < pixelSize;
  fitted.wrapWidth = space.maxWidth;
  const Measured wrapped = measure(cr, text, smallest, bold, space.maxWidth, true);
  if (wrapped.lines <= space.maxLines && wrapped.width <= space.maxWidth + 0.5) {
    fitted.wrapped = wrapped.lines > line.lines || line.width > space.maxWidth;
    fitted.inkWidth = wrapped.width;
    fitted.inkHeight = wrapped.height;
    return fitted;
  }
  fitted.ellipsized = true;
  fitted.inkWidth = space.maxWidth;
  fitted.inkHeight = line.height / (line.lines > 0 ? line.lines : 1);
  return fitted;
}

double TextArt::draw(cairo_t* cr, const char* text, double x, double y, double boxWidth, double pixelSize,
                     bool bold, Align align, Rgb colour, double alpha, bool centreY, const Fitted* fitted) {
  PangoLayout* layout = makeLayout(cr, text, boxWidth, pixelSize, bold, align, fitted);
  const double height = placePen(cr, layout, x, y, centreY, boxWidth, fitted);
  cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  return height;
}

double TextArt::path(cairo_t* cr, const char* text, double x, double y, double boxWidth, double pixelSize,
                     bool bold, Align align, bool centreY, const Fitted* fitted) {
  PangoLayout* layout = makeLayout(cr, text, boxWidth, pixelSize, bold, align, fitted);
  const double height = placePen(cr, layout, x, y, centreY, boxWidth, fitted);
  pango_cairo_layout_path(cr, layout);
  g_object_unref(layout);
  return height;
}
