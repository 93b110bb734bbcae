// The empty board (320 x 480), square tiles and the timer strip.
#include "BoardPainter.h"

#include <cmath>

#include "ArtCanvas.h"
#include "Palette.h"
#include "Shapes.h"
#include "TextArt.h"

namespace {

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

// A recessed header panel.
void panel(cairo_t* cr, double x, double y, double w, double h) {
  Shapes::roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 7);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(fill, 0.0, 0.045, 0.058, 0.085);
  cairo_pattern_add_color_stop_rgb(fill, 1.0, 0.085, 0.105, 0.150);
  cairo_set_source(cr, fill);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(fill);
  setColour(cr, Palette::tones().boardEdge, 0.55);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

}  // namespace

bool BoardPainter::emptyBoard(const std::string& folder) {
  ArtCanvas canvas(320, 480);
  cairo_t* cr = canvas.cr();

  cairo_pattern_t* screen = cairo_pattern_create_linear(0, 0, 0, 480);
  cairo_pattern_add_color_stop_rgb(screen, 0.0, Palette::tones().screenTop.r, Palette::tones().screenTop.g, Palette::tones().screenTop.b);
  cairo_pattern_add_color_stop_rgb(screen, 1.0, Palette::tones().screenBottom.r, Palette::tones().screenBottom.g,
                                   Palette::tones().screenBottom.b);
  cairo_set_source(cr, screen);
  cairo_paint(cr);
  cairo_pattern_destroy(screen);

  // Header: score (digits from x 42.5), level (digits from x 156.5), the timer (x 201) and the
  // announced balls (x 231 to 311).
  panel(cr, 3, 3, 116, 36);
  // The captions "SCORE" and "LEVEL" are painted by the game in the player's language (LabelArt).
  panel(cr, 122, 3, 75, 36);
  panel(cr, 199, 3, 28, 38);
  panel(cr, 230, 3, 87, 36);

  // The board: a flat, calm field (the game lays its checker tiles over it). It varies only
  // across, never down, so that the nine-row layout can stretch its middle invisibly.
  Shapes::roundedRect(cr, 1.5, 42.5, 317, 396, 6);
  cairo_pattern_t* field = cairo_pattern_create_linear(1, 0, 319, 0);
  const Rgb edge = Palette::scale(Palette::tones().boardFill, 0.80);
  cairo_pattern_add_color_stop_rgb(field, 0.0, edge.r, edge.g, edge.b);
  cairo_pattern_add_color_stop_rgb(field, 0.5, Palette::tones().boardFill.r, Palette::tones().boardFill.g, Palette::tones().boardFill.b);
  cairo_pattern_add_color_stop_rgb(field, 1.0, edge.r, edge.g, edge.b);
  cairo_set_source(cr, field);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(field);
  setColour(cr, Palette::tones().boardEdge, 0.9);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // A faint inner line gives the frame some depth.
  Shapes::roundedRect(cr, 2.5, 43.5, 315, 394, 5);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_stroke(cr);
  return canvas.save(folder, "EmptyBoard.png");
}

bool BoardPainter::squares(const std::string& folder) {
  if (Palette::look() == Palette::Look::HIGH_CONTRAST) {
    // Drawn opaque by the game in this look: a black tile inside a light edge, so that every
    // square's outline stands out on the near-black board.
    ArtCanvas tile(38, 38);
    Shapes::roundedRect(tile.cr(), 0, 0, 38, 38, 3);
    cairo_set_source_rgb(tile.cr(), 0.62, 0.62, 0.62);
    cairo_fill(tile.cr());
    Shapes::roundedRect(tile.cr(), 1.5, 1.5, 35, 35, 2);
    cairo_set_source_rgb(tile.cr(), 0.0, 0.0, 0.0);
    cairo_fill(tile.cr());
    ArtCanvas white(38, 38);
    Shapes::roundedRect(white.cr(), 0, 0, 38, 38, 3);
    cairo_set_source_rgba(white.cr(), 1, 1, 1, 1);
    cairo_fill(white.cr());
    return white.save(folder, "BoardWhite_38x38.png") && tile.save(folder, "BoardBlack_38x38.png");
  }
  ArtCanvas white(38, 38);
  Shapes::roundedRect(white.cr(), 0, 0, 38, 38, 5);
  cairo_set_source_rgba(white.cr(), 1, 1, 1, 1);
  cairo_fill(white.cr());
  ArtCanvas black(38, 38);
  Shapes::roundedRect(black.cr(), 0, 0, 38, 38, 5);
  cairo_set_source_rgba(black.cr(), 0, 0, 0, 1);
  cairo_fill(black.cr());
  return white.save(folder, "BoardWhite_38x38.png") && black.save(folder, "BoardBlack_38x38.png");
}

bool BoardPainter::timerStrip(const std::string& folder) {
  // Eleven 22 x 24 cells at a 20-pixel pitch from column 1; neighbouring cells share two columns,
  // so each clock stays inside its own 18 middle columns.
  ArtCanvas canvas(224, 24);
  cairo_t* cr = canvas.cr();
  for (int k = 0; k <= 10; ++k) {
    const double cx = 1 + 20 * k + 11;
    const double cy = 12;
    const double r = 8.4;
    const double fraction = k / 10.0;
    // Calm blue turning to a warning red as the penalty draws near.
    const Rgb hot = Palette::mix(Palette::tones().accent, Palette::tones().warning, std::pow(fraction, 1.4));

    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.02, 0.03, 0.05, 0.9);
    cairo_fill(cr);
    if (k > 0) {
      cairo_move_to(cr, cx, cy);
      cairo_arc(cr, cx, cy, r - 1.6, -M_PI / 2, -M_PI / 2 + 2 * M_PI * fraction);
      cairo_close_path(cr);
      cairo_pattern_t* fill = cairo_pattern_create_radial(cx - 2, cy - 3, 0, cx, cy, r);
      const Rgb light = Palette::mix(hot, Palette::WHITE, 0.35);
      cairo_pattern_add_color_stop_rgb(fill, 0.0, light.r, light.g, light.b);
      cairo_pattern_add_color_stop_rgb(fill, 1.0, hot.r, hot.g, hot.b);
      cairo_set_source(cr, fill);
      cairo_fill(cr);
      cairo_pattern_destroy(fill);
    }
    cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, Palette::mix(Palette::tones().boardEdge, hot, 0.5), 1.0);
    cairo_stroke(cr);
    // The hand at twelve o'clock.
    cairo_move_to(cr, cx, cy - r + 1.5);
    cairo_line_to(cr, cx, cy - 2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_stroke(cr);
  }
  return canvas.save(folder, "TimerStrip_224x24.png");
}
