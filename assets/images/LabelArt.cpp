// The labels' styles: the same faces, sizes, colours and glows the menu art always had.
#include "LabelArt.h"

#include "Palette.h"

namespace {

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

// Words on a pressed (accent-filled) button: white, or black on the high-contrast yellow.
Rgb pressedText() { return Palette::look() == Palette::Look::HIGH_CONTRAST ? Palette::BLACK : Palette::WHITE; }

// Text with a soft coloured halo, centred in a box.
TextArt::Fitted glowingText(cairo_t* cr, const char* words, double x, double cy, double width, double size, Rgb glow,
                            const TextArt::Space& space) {
  const TextArt::Fitted fitted = TextArt::fit(cr, words, space, size, true);
  for (int pass = 0; pass < 3; ++pass) {
    TextArt::path(cr, words, x, cy, width, size, true, TextArt::CENTER, true, &fitted);
    cairo_set_line_width(cr, 7.0 - 2.5 * pass);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, glow, 0.10 + 0.08 * pass);
    cairo_stroke(cr);
  }
  TextArt::draw(cr, words, x, cy, width, size, true, TextArt::CENTER, Palette::tones().textLight, 1.0, true, &fitted);
  return fitted;
}

TextArt::Fitted plainText(cairo_t* cr, const char* words, double x, double cy, double width, double size, bool bold,
                          Rgb colour, const TextArt::Space& space) {
  const TextArt::Fitted fitted = TextArt::fit(cr, words, space, size, bold);
  TextArt::draw(cr, words, x, cy, width, size, bold, TextArt::CENTER, colour, 1.0, true, &fitted);
  return fitted;
}

TextArt::Fitted gameOverHeading(cairo_t* cr, const char* words) {
  const TextArt::Fitted fitted = TextArt::fit(cr, words, TextArt::Space{250, 2, 0.6}, 46, true);
  for (int pass = 0; pass < 3; ++pass) {
    TextArt::path(cr, words, 24, 228, 272, 46, true, TextArt::CENTER, true, &fitted);
    cairo_set_line_width(cr, 10.0 - 3.0 * pass);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgba(cr, 1.0, 0.35, 0.15, 0.08 + 0.06 * pass);
    cairo_stroke(cr);
  }
  TextArt::path(cr, words, 24, 228, 272, 46, true, TextArt::CENTER, true, &fitted);
  cairo_pattern_t* fire = cairo_pattern_create_linear(0, 205, 0, 252);
  cairo_pattern_add_color_stop_rgb(fire, 0.0, 1.0, 0.90, 0.45);
  cairo_pattern_add_color_stop_rgb(fire, 1.0, 1.0, 0.42, 0.12);
  cairo_set_source(cr, fire);
  cairo_fill(cr);
  cairo_pattern_destroy(fire);
  return fitted;
}

}  // namespace

TextArt::Fitted LabelArt::paint(cairo_t* cr, Kind kind, const char* words) {
  switch (kind) {
    case Kind::TITLE:
      return glowingText(cr, words, 0, 26, 200, 25, Palette::tones().accent, TextArt::Space{186, 2, 0.7});
    case Kind::MENU_OPTION:
    case Kind::MENU_OPTION_PRESSED:
      // Inside the pill (183 wide, 37 high), clear of its rounded ends.
      return plainText(cr, words, 0, 26, 200, 18, true,
                       kind == Kind::MENU_OPTION ? Palette::tones().textLight : pressedText(), TextArt::Space{166, 2, 0.7});
    case Kind::BAR:
    case Kind::BAR_PRESSED:
      // Inside the bar's pill (271 wide, 29 high).
      return plainText(cr, words, 24, 24, 272, 14, true, kind == Kind::BAR ? Palette::tones().textLight : pressedText(),
                       TextArt::Space{250, 2, 0.75});
    case Kind::COMPACT_BAR:
    case Kind::COMPACT_BAR_PRESSED:
      // Inside the slim pill (271 wide, 20 high).
      return plainText(cr, words, 24, 15.5, 272, 12, true, kind == Kind::COMPACT_BAR ? Palette::tones().textLight : pressedText(),
                       TextArt::Space{250, 1, 0.75});
    case Kind::GAME_OVER_HEADING: return gameOverHeading(cr, words);
    case Kind::GAME_OVER_LINE:
      return plainText(cr, words, 24, 274, 272, 15, false, Palette::tones().textDim, TextArt::Space{250, 2, 0.75});
    case Kind::TAGLINE:
      return plainText(cr, words, 0, 386, 320, 16, false, Palette::tones().textDim, TextArt::Space{296, 2, 0.75});
    case Kind::SCORE_CAPTION:
    case Kind::LEVEL_CAPTION: {
      // Left of the digits (the score's from x 42.5, the level's from x 156.5).
      const double x = kind == Kind::SCORE_CAPTION ? 8 : 126;
      const TextArt::Fitted fitted = TextArt::fit(cr, words, TextArt::Space{33, 1, 0.7}, 8.5, true);
      TextArt::draw(cr, words, x, 21, 40, 8.5, true, TextArt::LEFT, Palette::tones().textDim, 1.0, true, &fitted);
      return fitted;
    }
  }
  return TextArt::Fitted();
}
