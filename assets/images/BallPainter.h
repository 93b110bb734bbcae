// Paints the glossy balls, their symbols and the shine overlay, at any radius, so that the same
// look serves the 64-pixel ball images, the 32-pixel symbols, the splash picture and the
// instruction pictures.
#pragma once

#include <cairo.h>

class BallPainter {
 public:
  // Symbols of the ball images: F1 to F9, and the bomb's star.
  enum Symbol { F1 = 1, F2, F3, F4, F5, F6, F7, F8, F9, STAR };

  // The ball body of stone colour 1-11 (no shine, no symbol) filling a circle of radius r.
  static void paintBall(cairo_t* cr, double cx, double cy, double r, int colour);
  // The specular shine the game adds over every ball (drawn additively by the game).
  static void paintShine(cairo_t* cr, double cx, double cy, double r);
  // The symbol over a ball of radius r; `dark` paints it dark for the white ball.
  static void paintSymbol(cairo_t* cr, double cx, double cy, double r, Symbol symbol, bool dark);
  // Ball, symbol and shine together, as the game shows a stone (for pictures of the game).
  static void paintStone(cairo_t* cr, double cx, double cy, double r, int colour);
  // The symbol the game shows on stone colour 1-11.
  static Symbol symbolOf(int colour);
};
