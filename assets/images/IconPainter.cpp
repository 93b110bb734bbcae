// The application icon's drawing.
#include "IconPainter.h"

#include "BallPainter.h"
#include "Palette.h"
#include "Shapes.h"

namespace {

struct IconBall {
  double x;  // centre, as a fraction of the icon's size
  double y;
  int colour;
};

// Three red balls in a diagonal row, the game's five-in-a-row in small, and two loose balls.
const IconBall BALLS[] = {
    {0.30, 0.30, 4}, {0.50, 0.50, 4}, {0.70, 0.70, 4}, {0.70, 0.30, 1}, {0.30, 0.70, 2},
};

}  // namespace

void IconPainter::paintIcon(cairo_t* cr, double size) {
  cairo_save(cr);
  cairo_scale(cr, size, size);
  // The board tile, a little inside the square so that its rounded corners stay whole.
  const double inset = 0.04;
  Shapes::roundedRect(cr, inset, inset, 1.0 - 2 * inset, 1.0 - 2 * inset, 0.16);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, inset, 0, 1.0 - inset);
  const Rgb top = Palette::mix(Palette::tones().boardFill, Palette::WHITE, 0.18);
  const Rgb bottom = Palette::scale(Palette::tones().boardFill, 0.7);
  cairo_pattern_add_color_stop_rgb(fill, 0.0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(fill, 1.0, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, fill);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(fill);
  cairo_set_source_rgba(cr, Palette::tones().boardEdge.r, Palette::tones().boardEdge.g, Palette::tones().boardEdge.b, 0.9);
  cairo_set_line_width(cr, 0.025);
  cairo_stroke(cr);

  // The squares of a 4 x 4 board behind the balls, faint so that small icons stay clear.
  const double cell = 0.2;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      Shapes::roundedRect(cr, 0.1 + column * cell + 0.01, 0.1 + row * cell + 0.01, cell - 0.02, cell - 0.02, 0.03);
      cairo_set_source_rgba(cr, 0, 0, 0, (row + column) % 2 ? 0.10 : 0.18);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);

  // The balls in pixels: the ball painter's rim and shine widths are pixel sizes.
  for (const IconBall& ball : BALLS) {
    // Symbols would be noise at 16 pixels; ball and shine carry the look.
    const double radius = 0.125 * size;
    BallPainter::paintBall(cr, ball.x * size, ball.y * size, radius, ball.colour);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    BallPainter::paintShine(cr, ball.x * size, ball.y * size, radius);
    cairo_restore(cr);
  }
}
