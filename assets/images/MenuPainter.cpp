// Menu and screen art.
#include "MenuPainter.h"

#include <cmath>

#include "ArtCanvas.h"
#include "Palette.h"
#include "Shapes.h"

namespace {

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

}  // namespace

bool MenuPainter::overlay(const std::string& folder) {
  ArtCanvas canvas(320, 480);
  cairo_t* cr = canvas.cr();
  // A deep veil over the board, lifted by a soft warm light from above (the "sun").
  cairo_set_source_rgba(cr, 0.01, 0.015, 0.03, 0.70);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  cairo_pattern_t* sun = cairo_pattern_create_radial(160, 60, 0, 160, 60, 420);
  cairo_pattern_add_color_stop_rgba(sun, 0.0, 0, 0, 0, 0.30);
  cairo_pattern_add_color_stop_rgba(sun, 1.0, 0, 0, 0, 0.0);
  cairo_set_source(cr, sun);
  cairo_paint(cr);
  cairo_pattern_destroy(sun);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_pattern_t* warm = cairo_pattern_create_radial(160, 40, 0, 160, 40, 300);
  cairo_pattern_add_color_stop_rgba(warm, 0.0, 1.0, 0.85, 0.6, 0.07);
  cairo_pattern_add_color_stop_rgba(warm, 1.0, 1.0, 0.85, 0.6, 0.0);
  cairo_set_source(cr, warm);
  cairo_paint(cr);
  cairo_pattern_destroy(warm);
  return canvas.save(folder, "SunOverlay_320x480.png");
}

bool MenuPainter::divider(const std::string& folder) {
  ArtCanvas canvas(200, 1);
  cairo_pattern_t* line = cairo_pattern_create_linear(0, 0, 200, 0);
  cairo_pattern_add_color_stop_rgba(line, 0.0, 0.6, 0.75, 1.0, 0.0);
  cairo_pattern_add_color_stop_rgba(line, 0.5, 0.6, 0.75, 1.0, 0.55);
  cairo_pattern_add_color_stop_rgba(line, 1.0, 0.6, 0.75, 1.0, 0.0);
  cairo_set_source(canvas.cr(), line);
  cairo_paint(canvas.cr());
  cairo_pattern_destroy(line);
  return canvas.save(folder, "MenuDivider_200x1.png");
}

bool MenuPainter::panel(const std::string& folder) {
  // The game stretches this panel by repeating its middle row and shifting its right part, so
  // everything between 40 pixels from each edge is flat.
  ArtCanvas canvas(270, 270);
  cairo_t* cr = canvas.cr();
  Shapes::roundedRect(cr, 1, 1, 268, 268, 16);
  setColour(cr, Palette::tones().panelFill, 0.95);
  cairo_fill(cr);
  // A light wash in the title area only (rows above 60 are never repeated).
  cairo_save(cr);
  Shapes::roundedRect(cr, 1, 1, 268, 268, 16);
  cairo_clip(cr);
  cairo_pattern_t* wash = cairo_pattern_create_linear(0, 1, 0, 60);
  cairo_pattern_add_color_stop_rgba(wash, 0.0, Palette::tones().accent.r, Palette::tones().accent.g, Palette::tones().accent.b, 0.16);
  cairo_pattern_add_color_stop_rgba(wash, 1.0, Palette::tones().accent.r, Palette::tones().accent.g, Palette::tones().accent.b, 0.0);
  cairo_set_source(cr, wash);
  cairo_rectangle(cr, 0, 0, 270, 60);
  cairo_fill(cr);
  cairo_pattern_destroy(wash);
  cairo_restore(cr);
  Shapes::roundedRect(cr, 1.5, 1.5, 267, 267, 15.5);
  setColour(cr, Palette::tones().boardEdge, 1.0);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  Shapes::roundedRect(cr, 3.5, 3.5, 263, 263, 13.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.06);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  return canvas.save(folder, "PopBackground_270x270.png");
}

namespace {

// A rounded button shape: at rest a translucent fill with an accent outline, pressed an accent
// gradient with a light outline.
void paintPill(cairo_t* cr, double x, double y, double w, double h, bool pressed, Rgb restFill, double restAlpha,
               double restOutlineAlpha, double lineWidth) {
  Shapes::roundedRect(cr, x, y, w, h, h / 2.0);
  if (!pressed) {
    cairo_set_source_rgba(cr, restFill.r, restFill.g, restFill.b, restAlpha);
    cairo_fill_preserve(cr);
    setColour(cr, Palette::tones().accent, restOutlineAlpha);
  } else {
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, y - 0.5, 0, y + h + 0.5);
    const Rgb top = Palette::mix(Palette::tones().accent, Palette::WHITE, 0.15);
    cairo_pattern_add_color_stop_rgb(fill, 0.0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(fill, 1.0, Palette::tones().accentDark.r, Palette::tones().accentDark.g, Palette::tones().accentDark.b);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_source_rgba(cr, 0.8, 0.9, 1.0, 0.9);
  }
  cairo_set_line_width(cr, lineWidth);
  cairo_stroke(cr);
}

}  // namespace

bool MenuPainter::menuOption(const std::string& folder) {
  bool ok = true;
  for (int state = 1; state <= 2; ++state) {
    ArtCanvas canvas(200, 52);
    paintPill(canvas.cr(), 8.5, 7.5, 183, 37, state == 2, Rgb{1, 1, 1}, 0.06, 0.55, 1.5);
    ok = canvas.save(folder, std::string("MenuOption") + (state == 1 ? "_01" : "_02") + "_200x52.png") && ok;
  }
  return ok;
}

bool MenuPainter::tapBar(const std::string& folder) {
  const Rgb fill = Palette::look() == Palette::Look::HIGH_CONTRAST ? Palette::BLACK : Rgb{0.06, 0.08, 0.12};
  bool ok = true;
  for (int state = 1; state <= 2; ++state) {
    const std::string suffix = state == 1 ? "_01" : "_02";
    {
      ArtCanvas canvas(320, 44);
      // The pill keeps to the lower rows: the bar may sit just over the board's bottom edge.
      paintPill(canvas.cr(), 24.5, 9.5, 271, 29, state == 2, fill, 0.92, 0.6, 1.2);
      ok = canvas.save(folder, "Button-Bar" + suffix + "_320x44.png") && ok;
    }
    // The same pill 20 rows high, centred in the bar, so that it keeps about 5 rows to the board
    // above and to the screen's edge below, as the full bar does under the 10-row board.
    ArtCanvas canvas(320, 31);
    paintPill(canvas.cr(), 24.5, 5.5, 271, 20, state == 2, fill, 0.92, 0.6, 1.2);
    ok = canvas.save(folder, "Button-BarCompact" + suffix + "_320x31.png") && ok;
  }
  return ok;
}

bool MenuPainter::selector(const std::string& folder) {
  // Drawn squeezed to about 69 x 106 behind the chosen mode's ball and label.
  ArtCanvas canvas(100, 163);
  cairo_t* cr = canvas.cr();
  for (int ring = 0; ring < 4; ++ring) {
    Shapes::roundedRect(cr, 2.5 + ring, 2.5 + ring, 95 - 2 * ring, 158 - 2 * ring, 20 - ring);
    setColour(cr, Palette::tones().accent, 0.10 + 0.05 * ring);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
  Shapes::roundedRect(cr, 6, 6, 88, 151, 16);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 6, 0, 157);
  cairo_pattern_add_color_stop_rgba(fill, 0.0, Palette::tones().accent.r, Palette::tones().accent.g, Palette::tones().accent.b, 0.32);
  cairo_pattern_add_color_stop_rgba(fill, 1.0, Palette::tones().accent.r, Palette::tones().accent.g, Palette::tones().accent.b, 0.12);
  cairo_set_source(cr, fill);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(fill);
  setColour(cr, Palette::mix(Palette::tones().accent, Palette::WHITE, 0.3), 0.95);
  cairo_set_line_width(cr, 3.0);
  cairo_stroke(cr);
  return canvas.save(folder, "GameSelector_100x163.png");
}

bool MenuPainter::sliderBar(const std::string& folder) {
  ArtCanvas canvas(203, 10);
  cairo_t* cr = canvas.cr();
  Shapes::roundedRect(cr, 0.5, 1.5, 202, 7, 3.5);
  cairo_pattern_t* ramp = cairo_pattern_create_linear(0, 0, 203, 0);
  cairo_pattern_add_color_stop_rgba(ramp, 0.0, 0.25, 0.30, 0.40, 1.0);
  cairo_pattern_add_color_stop_rgba(ramp, 1.0, Palette::tones().accent.r, Palette::tones().accent.g, Palette::tones().accent.b, 1.0);
  cairo_set_source(cr, ramp);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(ramp);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  cairo_move_to(cr, 4, 3);
  cairo_line_to(cr, 199, 3);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
  cairo_stroke(cr);
  return canvas.save(folder, "SliderBar_203x10.png");
}

bool MenuPainter::gameOver(const std::string& folder) {
  ArtCanvas canvas(320, 480);
  cairo_t* cr = canvas.cr();
  Shapes::roundedRect(cr, 24.5, 178.5, 271, 123, 18);
  setColour(cr, Palette::tones().panelFill, 0.92);
  cairo_fill_preserve(cr);
  setColour(cr, Palette::tones().warning, 0.75);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);

  return canvas.save(folder, "GameOver_320x480.png");
}
