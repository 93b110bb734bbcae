// DragGhost: what a drag with the pointer shows of the held ball: the ball itself, lifted and
// following the pointer at its own size, and a see-through ball over the square it would land
// on: whether they show (only while the pointer drags; never for a click, a key or a pad),
// whether that square is out of reach, how long it has hovered there and its swinging size.
// The time step reads it (a selection shrinks back from the ghost's size) and drawing draws it.
#pragma once

#include "Board.h"
#include "MoveGesture.h"
#include "ScreenPoint.h"

class DragGhost {
 public:
  // The ghost of `board`'s held ball over `gesture`'s target at game time `gameTimeMs`.
  DragGhost(const Board& board, const MoveGesture& gesture, int gameTimeMs)
      : board(board), gesture(gesture), gameTimeMs(gameTimeMs) {}

  // A ball is held, the pointer drags it and names a square of the board.
  bool shown() const;
  Square square() const { return gesture.target(); }
  // The square is not on a path from the held ball (only meaningful while shown).
  bool isBad() const;
  // How long the ghost has hovered over its square; 0 when it just arrived.
  int hoverMs() const { return gesture.hoverMs(gameTimeMs); }
  // Its size after hovering `hoverMs` (0.5 is one square, a ball's own size): it swings a
  // little, smaller over a bad square.
  float size(int hoverMs) const;
  // The lifted ball's centre in screen pixels: a little above and left of the pointer's tip,
  // kept over the board.
  ScreenPoint liftedBallCentre() const;

 private:
  const Board& board;
  const MoveGesture& gesture;
  int gameTimeMs;
};
