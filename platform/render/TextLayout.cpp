// The game's Pango layout settings.
#include "TextLayout.h"

#include <string>

#include "Translation.h"

PangoLayout* TextLayout::create(cairo_t* cr, const char* fontName, int pixelSize) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  // The language of the words shown picks the fonts for their script (Japanese or Chinese forms).
  const std::string language = Translation::catalogueLanguage();
  if (language != "en") pango_context_set_language(pango_layout_get_context(layout), pango_language_from_string(language.c_str()));
  pango_layout_context_changed(layout);

  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, fontName != nullptr && fontName[0] ? fontName : "Helvetica");
  // An absolute size in pixels, not points: the texts are laid out for the game's 320 x 480 screen.
  pango_font_description_set_absolute_size(font, static_cast<double>(pixelSize > 0 ? pixelSize : 1) * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  return layout;
}
