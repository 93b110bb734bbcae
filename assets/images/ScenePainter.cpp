// Start picture and instruction pictures.
#include "ScenePainter.h"

#include <cmath>
#include <cstring>

#include "ArtCanvas.h"
#include "BallPainter.h"
#include "Palette.h"
#include "Shapes.h"
#include "TextArt.h"

namespace {

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void softGlow(cairo_t* cr, double cx, double cy, double radius, Rgb colour, double alpha) {
  cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(glow, 0.0, colour.r, colour.g, colour.b, alpha);
  cairo_pattern_add_color_stop_rgba(glow, 1.0, colour.r, colour.g, colour.b, 0.0);
  cairo_set_source(cr, glow);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
}

// A small board of columns x rows cells of `cell` pixels at (x, y), as the game draws it.
void miniBoard(cairo_t* cr, double x, double y, int columns, int rows, double cell) {
  Shapes::roundedRect(cr, x - 1.5, y - 1.5, columns * cell + 2, rows * cell + 2, 4);
  setColour(cr, Palette::tones().boardFill, 1.0);
  cairo_fill_preserve(cr);
  setColour(cr, Palette::tones().boardEdge, 0.9);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      Shapes::roundedRect(cr, x + column * cell, y + row * cell, cell - 1, cell - 1, 2.5);
      cairo_set_source_rgba(cr, 0, 0, 0, (row + column) % 2 ? 0.10 : 0.15);
      cairo_fill(cr);
    }
  }
}

// One frame of the move animation: a 5 x 5 board with stones and effects.
struct Cell {
  int x;
  int y;
  int colour;
};

struct Frame {
  Cell stones[12];
  int stoneCount;
  int selectedX, selectedY;      // ring around a picked-up stone, -1 for none
  int trail[4][2];               // lit path squares
  int trailCount;
  int glowRow;                   // row of five glowing, -1 for none
  int appearing[3][2];           // fresh stones with a soft glow
  int appearingCount;
  double appearStrength;
  const char* points;            // floating score, or null
  double pointsRise;
};

void paintMoveFrame(cairo_t* cr, double left, const Frame& f) {
  const double cell = 19.0;
  const double x0 = left + 2.0;
  const double y0 = 2.0;
  miniBoard(cr, x0, y0, 5, 5, cell);
  auto centre = [&](int x, int y, double& cx, double& cy) {
    cx = x0 + x * cell + (cell - 1) / 2.0;
    cy = y0 + y * cell + (cell - 1) / 2.0;
  };
  for (int i = 0; i < f.trailCount; ++i) {
    Shapes::roundedRect(cr, x0 + f.trail[i][0] * cell, y0 + f.trail[i][1] * cell, cell - 1, cell - 1, 2.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_fill(cr);
  }
  if (f.glowRow >= 0) {
    double cx;
    double cy;
    for (int x = 0; x < 5; ++x) {
      centre(x, f.glowRow, cx, cy);
      softGlow(cr, cx, cy, 14, Palette::WHITE, 0.45);
    }
  }
  for (int i = 0; i < f.appearingCount; ++i) {
    double cx;
    double cy;
    centre(f.appearing[i][0], f.appearing[i][1], cx, cy);
    softGlow(cr, cx, cy, 15, Palette::WHITE, 0.5 * f.appearStrength);
  }
  for (int i = 0; i < f.stoneCount; ++i) {
    double cx;
    double cy;
    centre(f.stones[i].x, f.stones[i].y, cx, cy);
    BallPainter::paintStone(cr, cx, cy, 8.2, f.stones[i].colour);
  }
  if (f.selectedX >= 0) {
    double cx;
    double cy;
    centre(f.selectedX, f.selectedY, cx, cy);
    softGlow(cr, cx, cy, 16, Palette::tones().accent, 0.45);
    cairo_arc(cr, cx, cy, 10.5, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
  }
  if (f.points != nullptr) {
    cairo_save(cr);
    TextArt::draw(cr, f.points, x0, y0 + 2 * cell + 9 - f.pointsRise, 5 * cell, 15, true, TextArt::CENTER,
                  Palette::tones().gold, 1.0 - f.pointsRise / 30.0, true);
    cairo_restore(cr);
  }
}

}  // namespace

bool ScenePainter::splash(const std::string& folder) {
  ArtCanvas canvas(320, 480);
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* screen = cairo_pattern_create_linear(0, 0, 0, 480);
  cairo_pattern_add_color_stop_rgb(screen, 0.0, 0.10, 0.13, 0.19);
  cairo_pattern_add_color_stop_rgb(screen, 1.0, 0.03, 0.04, 0.06);
  cairo_set_source(cr, screen);
  cairo_paint(cr);
  cairo_pattern_destroy(screen);

  // A faint board in the background.
  for (int row = 0; row < 12; ++row) {
    for (int column = 0; column < 8; ++column) {
      Shapes::roundedRect(cr, 4 + 39 * column, 6 + 39 * row, 38, 38, 5);
      cairo_set_source_rgba(cr, 1, 1, 1, (row + column) % 2 ? 0.018 : 0.032);
      cairo_fill(cr);
    }
  }
  softGlow(cr, 160, 150, 190, Palette::tones().accent, 0.18);

  // The name.
  for (int pass = 0; pass < 3; ++pass) {
    TextArt::path(cr, "Pellix", 0, 128, 320, 74, true, TextArt::CENTER, true);
    cairo_set_line_width(cr, 12.0 - 4.0 * pass);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, Palette::tones().accent, 0.08 + 0.06 * pass);
    cairo_stroke(cr);
  }
  TextArt::path(cr, "Pellix", 0, 128, 320, 74, true, TextArt::CENTER, true);
  cairo_pattern_t* face = cairo_pattern_create_linear(0, 95, 0, 160);
  cairo_pattern_add_color_stop_rgb(face, 0.0, 1.0, 1.0, 1.0);
  cairo_pattern_add_color_stop_rgb(face, 1.0, 0.62, 0.78, 1.0);
  cairo_set_source(cr, face);
  cairo_fill(cr);
  cairo_pattern_destroy(face);

  // Five in a row, with the special balls beneath.
  const int row[5] = {1, 2, 3, 4, 5};
  for (int i = 0; i < 5; ++i) {
    const double cx = 68 + 46 * i;
    softGlow(cr, cx, 238, 34, Palette::WHITE, 0.10);
  }
  for (int i = 0; i < 5; ++i) BallPainter::paintStone(cr, 68 + 46 * i, 238, 20, row[i]);
  const int more[4] = {6, 7, 8, 9};
  for (int i = 0; i < 4; ++i) BallPainter::paintStone(cr, 91 + 46 * i, 286, 14, more[i]);
  softGlow(cr, 132, 334, 30, Palette::tones().gold, 0.15);
  BallPainter::paintStone(cr, 132, 334, 16, 10);
  BallPainter::paintStone(cr, 188, 334, 16, 11);

  // The line under the balls is painted by the game in the player's language (LabelArt).
  return canvas.save(folder, "Default.png");
}

bool ScenePainter::instructionAnimation(const std::string& folder) {
  // 16 frames of 98 x 98, shown in groups of four: the first of a group stays for 2.55 s,
  // the other three flash by at 150 ms. Group 1: a blue ball is picked up and completes a row;
  // group 2: the row vanishes for points; group 3: a move that completes nothing; group 4:
  // three new balls drop in.
  const Cell start[] = {{0, 0, 4}, {1, 0, 2}, {0, 2, 1}, {1, 2, 1}, {2, 2, 1}, {3, 2, 1},
                        {4, 0, 1}, {1, 3, 2}, {1, 4, 2}, {3, 4, 3}};
  const Cell afterRow[] = {{0, 0, 4}, {1, 0, 2}, {1, 3, 2}, {1, 4, 2}, {3, 4, 3}};
  Frame frames[16];
  std::memset(frames, 0, sizeof(frames));
  for (Frame& f : frames) {
    f.selectedX = f.selectedY = -1;
    f.glowRow = -1;
  }
  auto setStones = [](Frame& f, const Cell* cells, int count) {
    for (int i = 0; i < count; ++i) f.stones[i] = cells[i];
    f.stoneCount = count;
  };
  // Group 1.
  for (int k = 0; k < 4; ++k) setStones(frames[k], start, 10);
  frames[1].selectedX = 4;
  frames[1].selectedY = 0;
  frames[2].stones[6] = {4, 1, 1};
  frames[2].trail[0][0] = 4;
  frames[2].trail[0][1] = 0;
  frames[2].trail[1][0] = 4;
  frames[2].trail[1][1] = 1;
  frames[2].trailCount = 2;
  frames[3].stones[6] = {4, 2, 1};
  frames[3].glowRow = 2;
  // Group 2.
  for (int k = 4; k < 8; ++k) setStones(frames[k], afterRow, 5);
  frames[4].points = "+6";
  frames[5].points = "+6";
  frames[5].pointsRise = 8;
  frames[6].points = "+6";
  frames[6].pointsRise = 16;
  frames[7].points = "+6";
  frames[7].pointsRise = 24;
  // Group 3: the orange ball moves up two squares.
  for (int k = 8; k < 12; ++k) setStones(frames[k], afterRow, 5);
  frames[9].selectedX = 3;
  frames[9].selectedY = 4;
  frames[10].stones[4] = {3, 3, 3};
  frames[10].trail[0][0] = 3;
  frames[10].trail[0][1] = 4;
  frames[10].trail[1][0] = 3;
  frames[10].trail[1][1] = 3;
  frames[10].trailCount = 2;
  frames[11].stones[4] = {3, 2, 3};
  // Group 4: three new balls.
  const Cell withNew[] = {{0, 0, 4}, {1, 0, 2}, {1, 3, 2}, {1, 4, 2}, {3, 2, 3}, {2, 1, 6}, {4, 4, 5}, {0, 3, 7}};
  for (int k = 12; k < 16; ++k) {
    setStones(frames[k], withNew, 8);
    frames[k].appearing[0][0] = 2;
    frames[k].appearing[0][1] = 1;
    frames[k].appearing[1][0] = 4;
    frames[k].appearing[1][1] = 4;
    frames[k].appearing[2][0] = 0;
    frames[k].appearing[2][1] = 3;
    frames[k].appearingCount = 3;
    frames[k].appearStrength = 1.0 - (k - 12) / 4.0;
  }

  ArtCanvas canvas(1568, 98);
  for (int k = 0; k < 16; ++k) {
    cairo_save(canvas.cr());
    cairo_rectangle(canvas.cr(), 98 * k, 0, 98, 98);
    cairo_clip(canvas.cr());
    paintMoveFrame(canvas.cr(), 98 * k, frames[k]);
    cairo_restore(canvas.cr());
  }
  return canvas.save(folder, "Instructions-Page1Animation_1568x98-16.png");
}

bool ScenePainter::dragIllustration(const std::string& folder) {
  ArtCanvas canvas(220, 135);
  cairo_t* cr = canvas.cr();
  const double cell = 26.0;
  const double x0 = 6.0;
  const double y0 = 3.5;
  miniBoard(cr, x0, y0, 8, 5, cell);
  auto centre = [&](int x, int y, double& cx, double& cy) {
    cx = x0 + x * cell + (cell - 1) / 2.0;
    cy = y0 + y * cell + (cell - 1) / 2.0;
  };
  double cx;
  double cy;
  const Cell stones[] = {{0, 0, 2}, {3, 0, 4}, {5, 1, 3}, {2, 2, 6}, {6, 3, 5}, {0, 4, 7}, {4, 4, 8}, {7, 0, 9}};
  // The path from the picked ball (1, 3) to its destination (6, 1), one square at a time.
  const int path[][2] = {{2, 3}, {3, 3}, {4, 3}, {4, 2}, {5, 2}, {6, 2}, {6, 1}};
  for (const auto& p : path) {
    Shapes::roundedRect(cr, x0 + p[0] * cell, y0 + p[1] * cell, cell - 1, cell - 1, 3);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
    cairo_fill(cr);
  }
  cairo_set_line_width(cr, 2.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  const double dash[] = {0.1, 6.0};
  cairo_set_dash(cr, dash, 2, 0);
  centre(1, 3, cx, cy);
  cairo_move_to(cr, cx, cy);
  for (const auto& p : path) {
    centre(p[0], p[1], cx, cy);
    cairo_line_to(cr, cx, cy);
  }
  cairo_set_source_rgba(cr, 1, 1, 1, 0.75);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);

  for (const Cell& s : stones) {
    centre(s.x, s.y, cx, cy);
    BallPainter::paintStone(cr, cx, cy, 11, s.colour);
  }
  // The picked ball, lifted and glowing under the finger.
  centre(1, 3, cx, cy);
  softGlow(cr, cx, cy, 22, Palette::tones().accent, 0.5);
  BallPainter::paintStone(cr, cx, cy, 12.5, 1);
  // The large translucent ghost over the destination.
  centre(6, 1, cx, cy);
  softGlow(cr, cx, cy, 30, Palette::WHITE, 0.35);
  cairo_push_group(cr);
  BallPainter::paintStone(cr, cx, cy, 19, 1);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, 0.55);
  // The fingertip, resting on the destination.
  cairo_save(cr);
  cairo_translate(cr, cx + 9, cy + 13);
  cairo_rotate(cr, -0.55);
  Shapes::roundedRect(cr, -8, -2, 16, 60, 8);
  cairo_pattern_t* skin = cairo_pattern_create_linear(-8, 0, 8, 0);
  cairo_pattern_add_color_stop_rgba(skin, 0.0, 0.93, 0.80, 0.70, 0.92);
  cairo_pattern_add_color_stop_rgba(skin, 1.0, 0.78, 0.62, 0.52, 0.92);
  cairo_set_source(cr, skin);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(skin);
  cairo_set_source_rgba(cr, 0.25, 0.15, 0.10, 0.6);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  Shapes::roundedRect(cr, -5, 1, 10, 11, 4);
  cairo_set_source_rgba(cr, 1, 0.95, 0.92, 0.65);
  cairo_fill(cr);
  cairo_restore(cr);
  return canvas.save(folder, "InstructionsPage3_220x135.png");
}
