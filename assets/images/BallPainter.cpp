// Glossy ball, symbol and shine painting.
#include "BallPainter.h"

#include <cmath>

#include "Palette.h"
#include "Shapes.h"

namespace {

Rgb colourOf(int colour) {
  return colour >= 1 && colour <= 9 ? Palette::tones().balls[colour - 1] : Palette::tones().ballBlack;
}

bool highContrast() { return Palette::look() == Palette::Look::HIGH_CONTRAST; }

// The high-contrast ball: a flat disc inside a white and a black ring, so that it stands out on
// any square and from its neighbours.
void paintFlatBall(cairo_t* cr, double cx, double cy, double r, Rgb base) {
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, r * 0.93, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, r * 0.86, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, base.r, base.g, base.b);
  cairo_fill(cr);
}

void setStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0) {
  cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, alpha);
}

// Light from the upper left, a dark rim and a soft reflected light at the bottom.
void shadeSphere(cairo_t* cr, double cx, double cy, double r, Rgb base, double lightAmount) {
  // The colour-blind look shades more softly, so that the whole ball shows its body colour.
  const bool soft = Palette::look() == Palette::Look::COLOUR_BLIND;
  cairo_pattern_t* body = cairo_pattern_create_radial(cx - 0.32 * r, cy - 0.38 * r, 0.0, cx, cy, r * 1.02);
  setStop(body, 0.0, Palette::mix(base, Palette::WHITE, soft ? 0.25 : lightAmount));
  setStop(body, soft ? 0.3 : 0.42, base);
  setStop(body, soft ? 0.8 : 0.86, Palette::scale(base, soft ? 0.85 : 0.62));
  setStop(body, 1.0, Palette::scale(base, soft ? 0.6 : 0.42));
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_set_source(cr, body);
  cairo_fill(cr);
  cairo_pattern_destroy(body);

  cairo_save(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_clip(cr);
  cairo_pattern_t* bounce = cairo_pattern_create_radial(cx + 0.1 * r, cy + 0.78 * r, 0.0, cx, cy + 0.78 * r, 0.62 * r);
  setStop(bounce, 0.0, Palette::mix(base, Palette::WHITE, 0.35), 0.55);
  setStop(bounce, 1.0, Palette::mix(base, Palette::WHITE, 0.35), 0.0);
  cairo_set_source(cr, bounce);
  cairo_paint(cr);
  cairo_pattern_destroy(bounce);
  cairo_restore(cr);

  cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.28);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

void paintRainbow(cairo_t* cr, double cx, double cy, double r) {
  // The rainbow keeps the glossy hues in every look: it stands for all colours, not for one.
  const Rgb* glossy = Palette::tonesOf(Palette::Look::GLOSSY).balls;
  const Rgb hues[7] = {glossy[3], glossy[2], {1.0, 0.88, 0.15}, glossy[1], glossy[5], glossy[0], glossy[4]};
  // Soft-edged wedges: a mesh pattern gives a smooth colour wheel.
  cairo_pattern_t* wheel = cairo_pattern_create_mesh();
  const int segments = 28;
  for (int i = 0; i < segments; ++i) {
    const double a0 = -M_PI / 2 + 2 * M_PI * i / segments;
    const double a1 = -M_PI / 2 + 2 * M_PI * (i + 1) / segments;
    const double f0 = 7.0 * i / segments;
    const double f1 = 7.0 * (i + 1) / segments;
    auto hueAt = [&](double f) {
      const int k = static_cast<int>(std::floor(f)) % 7;
      return Palette::mix(hues[k], hues[(k + 1) % 7], f - std::floor(f));
    };
    const Rgb c0 = hueAt(f0);
    const Rgb c1 = hueAt(f1);
    const Rgb centre = Palette::mix(hueAt((f0 + f1) / 2), Palette::WHITE, 0.55);
    cairo_mesh_pattern_begin_patch(wheel);
    cairo_mesh_pattern_move_to(wheel, cx, cy);
    cairo_mesh_pattern_line_to(wheel, cx + 1.05 * r * std::cos(a0), cy + 1.05 * r * std::sin(a0));
    cairo_mesh_pattern_line_to(wheel, cx + 1.05 * r * std::cos(a1), cy + 1.05 * r * std::sin(a1));
    cairo_mesh_pattern_line_to(wheel, cx, cy);
    cairo_mesh_pattern_set_corner_color_rgb(wheel, 0, centre.r, centre.g, centre.b);
    cairo_mesh_pattern_set_corner_color_rgb(wheel, 1, c0.r, c0.g, c0.b);
    cairo_mesh_pattern_set_corner_color_rgb(wheel, 2, c1.r, c1.g, c1.b);
    cairo_mesh_pattern_set_corner_color_rgb(wheel, 3, centre.r, centre.g, centre.b);
    cairo_mesh_pattern_end_patch(wheel);
  }
  cairo_save(cr);
  cairo_arc(cr, cx, cy, highContrast() ? r * 0.86 : r, 0, 2 * M_PI);
  cairo_clip(cr);
  cairo_set_source(cr, wheel);
  cairo_paint(cr);
  cairo_pattern_destroy(wheel);
  // Sphere shading over the wheel: lighter upper left, darker rim.
  cairo_pattern_t* shade = cairo_pattern_create_radial(cx - 0.32 * r, cy - 0.38 * r, 0.0, cx, cy, r * 1.02);
  cairo_pattern_add_color_stop_rgba(shade, 0.0, 1, 1, 1, 0.35);
  cairo_pattern_add_color_stop_rgba(shade, 0.45, 1, 1, 1, 0.0);
  cairo_pattern_add_color_stop_rgba(shade, 0.8, 0, 0, 0, 0.18);
  cairo_pattern_add_color_stop_rgba(shade, 1.0, 0, 0, 0, 0.5);
  cairo_set_source(cr, shade);
  cairo_paint(cr);
  cairo_pattern_destroy(shade);
  cairo_restore(cr);
  cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.28);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

void paintBomb(cairo_t* cr, double cx, double cy, double r) {
  if (highContrast()) {
    paintFlatBall(cr, cx, cy, r, Palette::tones().ballBlack);
    return;
  }
  shadeSphere(cr, cx, cy, r, Palette::tones().ballBlack, 0.30);
  // A thin warm ring hints at the charge inside.
  cairo_arc(cr, cx, cy, r * 0.86, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 1.0, 0.55, 0.15, 0.35);
  cairo_set_line_width(cr, std::fmax(1.0, r * 0.05));
  cairo_stroke(cr);
}

}  // namespace

BallPainter::Symbol BallPainter::symbolOf(int colour) {
  switch (colour) {
    case 1: return F1;
    case 2: return F2;
    case 3: return F3;
    case 4: return F4;
    case 5: return F5;
    case 6: return F6;
    case 7: return F8;
    case 8: return F7;
    case 9: return F1;
    case 10: return F9;
    default: return STAR;
  }
}

void BallPainter::paintBall(cairo_t* cr, double cx, double cy, double r, int colour) {
  if (colour == 10 && highContrast()) {
    paintFlatBall(cr, cx, cy, r, Palette::BLACK);
    paintRainbow(cr, cx, cy, r);
  } else if (colour == 10) {
    paintRainbow(cr, cx, cy, r);
  } else if (colour == 11) {
    paintBomb(cr, cx, cy, r);
  } else if (highContrast()) {
    paintFlatBall(cr, cx, cy, r, colourOf(colour));
  } else {
    shadeSphere(cr, cx, cy, r, colourOf(colour), colour == 8 ? 0.9 : 0.5);
  }
}

void BallPainter::paintShine(cairo_t* cr, double cx, double cy, double r) {
  // Flat balls have no shine: the picture stays empty.
  if (highContrast()) return;
  cairo_save(cr);
  // The broad specular spot, upper left.
  const double sx = cx - 0.30 * r;
  const double sy = cy - 0.44 * r;
  cairo_translate(cr, sx, sy);
  cairo_rotate(cr, -0.5);
  cairo_scale(cr, 1.0, 0.62);
  cairo_pattern_t* spot = cairo_pattern_create_radial(0, 0, 0, 0, 0, 0.46 * r);
  cairo_pattern_add_color_stop_rgba(spot, 0.0, 1, 1, 1, 0.95);
  cairo_pattern_add_color_stop_rgba(spot, 0.45, 1, 1, 1, 0.55);
  cairo_pattern_add_color_stop_rgba(spot, 1.0, 1, 1, 1, 0.0);
  cairo_arc(cr, 0, 0, 0.46 * r, 0, 2 * M_PI);
  cairo_set_source(cr, spot);
  cairo_fill(cr);
  cairo_pattern_destroy(spot);
  cairo_restore(cr);

  // A crisp small glint inside it.
  cairo_pattern_t* glint = cairo_pattern_create_radial(cx - 0.36 * r, cy - 0.48 * r, 0, cx - 0.36 * r,
                                                       cy - 0.48 * r, 0.13 * r);
  cairo_pattern_add_color_stop_rgba(glint, 0.0, 1, 1, 1, 1.0);
  cairo_pattern_add_color_stop_rgba(glint, 1.0, 1, 1, 1, 0.0);
  cairo_arc(cr, cx - 0.36 * r, cy - 0.48 * r, 0.13 * r, 0, 2 * M_PI);
  cairo_set_source(cr, glint);
  cairo_fill(cr);
  cairo_pattern_destroy(glint);

  // A faint rim light along the lower right edge.
  cairo_save(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_clip(cr);
  cairo_set_line_width(cr, 0.10 * r);
  cairo_arc(cr, cx, cy, r * 0.93, 0.15 * M_PI, 0.6 * M_PI);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void BallPainter::paintSymbol(cairo_t* cr, double cx, double cy, double r, Symbol symbol, bool dark) {
  // Symbol half-size: larger in the colour-blind and high-contrast looks, where the symbol
  // carries as much of the ball's identity as its colour.
  const double s = r * (Palette::look() == Palette::Look::GLOSSY ? 0.34 : 0.44);
  auto buildPath = [&](double ox, double oy) {
    const double x = cx + ox;
    const double y = cy + oy;
    switch (symbol) {
      case F1:  // dot
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, s * 0.72, 0, 2 * M_PI);
        break;
      case F2:  // triangle
        Shapes::polygon(cr, x, y + s * 0.12, s * 1.05, 3, -M_PI / 2);
        break;
      case F3:  // square
        Shapes::roundedRect(cr, x - s * 0.72, y - s * 0.72, s * 1.44, s * 1.44, s * 0.15);
        break;
      case F4:  // diamond
        Shapes::polygon(cr, x, y, s * 1.0, 4, -M_PI / 2);
        break;
      case F5:  // plus
        Shapes::cross(cr, x, y, s * 0.95, s * 0.6, 0.0);
        break;
      case F6:  // ring
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, s * 0.9, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, x, y, s * 0.48, 2 * M_PI, 0);
        break;
      case F7:  // x
        Shapes::cross(cr, x, y, s * 0.95, s * 0.55, M_PI / 4);
        break;
      case F8:  // heart
        Shapes::heart(cr, x, y + s * 0.05, s * 0.85);
        break;
      case F9:  // four-pointed sparkle
        Shapes::star(cr, x, y, s * 1.15, s * 0.38, 4);
        break;
      case STAR:
        Shapes::star(cr, x, y, r * 0.62, r * 0.30, 8);
        break;
    }
  };
  cairo_save(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  if (symbol == STAR) {
    // The bomb's burning star: gold rays with a hot centre and a dark edge.
    buildPath(0, 0);
    cairo_pattern_t* fire = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r * 0.62);
    cairo_pattern_add_color_stop_rgba(fire, 0.0, 1.0, 0.98, 0.80, 1.0);
    cairo_pattern_add_color_stop_rgba(fire, 0.35, 1.0, 0.80, 0.25, 1.0);
    cairo_pattern_add_color_stop_rgba(fire, 1.0, 0.95, 0.38, 0.05, 1.0);
    cairo_set_source(cr, fire);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fire);
    cairo_set_source_rgba(cr, 0.25, 0.08, 0.0, 0.6);
    cairo_set_line_width(cr, std::fmax(0.8, r * 0.03));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  } else if (Palette::look() != Palette::Look::GLOSSY) {
    // A bold symbol: an opaque fill inside a dark outline (light outline on the white ball),
    // thicker in the high-contrast look.
    buildPath(0, 0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, r * (highContrast() ? 0.12 : 0.08));
    cairo_set_source_rgb(cr, dark ? 1.0 : 0.0, dark ? 1.0 : 0.0, dark ? 1.0 : 0.0);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, dark ? 0.0 : 1.0, dark ? 0.0 : 1.0, dark ? 0.0 : 1.0);
    cairo_fill(cr);
  } else {
    // An engraved look: a soft shadow below, the symbol in translucent white (dark on white).
    const double off = std::fmax(0.6, r * 0.035);
    buildPath(0, off);
    cairo_set_source_rgba(cr, dark ? 1.0 : 0.0, dark ? 1.0 : 0.0, dark ? 1.0 : 0.0, dark ? 0.45 : 0.30);
    cairo_fill(cr);
    buildPath(0, 0);
    if (dark) {
      cairo_set_source_rgba(cr, 0.22, 0.25, 0.30, 0.85);
    } else {
      cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.82);
    }
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void BallPainter::paintStone(cairo_t* cr, double cx, double cy, double r, int colour) {
  paintBall(cr, cx, cy, r, colour);
  paintSymbol(cr, cx, cy, r, symbolOf(colour), colour == 8);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  paintShine(cr, cx, cy, r);
  cairo_restore(cr);
}
