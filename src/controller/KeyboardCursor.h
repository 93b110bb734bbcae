// KeyboardCursor: the board square the keyboard points at and the focus ring that shows it (the
// same ring marks the highlighted control of the settings screen). The controller owns one,
// moves it on arrow keys, hides it while the mouse moves and draws it from its frame tick;
// the ring's texture is made at the first draw, so drawing needs the GL context.
#pragma once

#include "Square.h"
#include "TexturePtr.h"

class KeyboardCursor {
 public:
  // Back to the top-left square, hidden until the next key: a new game starts. (Play resumed
  // from a menu or the start screen keeps the square where it was.)
  void reset();
  // One step of (dx, dy), stopping at the edges of a width x height board.
  void moveBy(int dx, int dy, int width, int height);
  // Keeps the square on a width x height board (a mode change can make the board smaller).
  void clampTo(int width, int height);
  const Square& square() const { return at; }

  // The ring on the cursor's square, for a board drawn at `boardScale` (8/7, 1 or 8/9).
  void drawOnBoard(float boardScale);
  // A thin frame around a rectangle of the screen (a control of the settings screen).
  void drawAround(float x, float y, float width, float height);

  // The display moved to another art scale: the ring's textures are made again at the next draw.
  void followArtScale() {
    ring.reset();
    line.reset();
  }

  // Hidden until the first key, and while the mouse moves; any game key shows it again.
  bool visible = false;

 private:
  bool ensureTextures();

  Square at = Square(0, 0);
  TexturePtr ring;
  TexturePtr line;
};
