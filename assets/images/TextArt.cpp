// Pango layout of the generator's text.
#include "TextArt.h"

#include <pango/pangocairo.h>

namespace {

PangoLayout* makeLayout(cairo_t* cr, const char* text, double boxWidth, double pixelSize, bool bold,
                        TextArt::Align align) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, "Helvetica");
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font, pixelSize * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_width(layout, static_cast<int>(boxWidth * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  pango_layout_set_alignment(layout, align == TextArt::CENTER  ? PANGO_ALIGN_CENTER
                                     : align == TextArt::RIGHT ? PANGO_ALIGN_RIGHT
                                                               : PANGO_ALIGN_LEFT);
  pango_layout_set_text(layout, text, -1);
  return layout;
}

// Places the pen so that the block's ink is centred on y when asked; returns the block height.
double placePen(cairo_t* cr, PangoLayout* layout, double x, double y, bool centreY) {
  PangoRectangle ink;
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  const double top = centreY ? y - ink.y - ink.height / 2.0 : y;
  cairo_move_to(cr, x, top);
  return logical.height;
}

}  // namespace

double TextArt::draw(cairo_t* cr, const char* text, double x, double y, double boxWidth, double pixelSize,
                     bool bold, Align align, Rgb colour, double alpha, bool centreY) {
  PangoLayout* layout = makeLayout(cr, text, boxWidth, pixelSize, bold, align);
  const double height = placePen(cr, layout, x, y, centreY);
  cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  return height;
}

double TextArt::path(cairo_t* cr, const char* text, double x, double y, double boxWidth, double pixelSize,
                     bool bold, Align align, bool centreY) {
  PangoLayout* layout = makeLayout(cr, text, boxWidth, pixelSize, bold, align);
  const double height = placePen(cr, layout, x, y, centreY);
  pango_cairo_layout_path(cr, layout);
  g_object_unref(layout);
  return height;
}
