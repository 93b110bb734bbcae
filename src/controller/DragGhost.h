// DragGhost: the see-through ball over the square a held ball would land on: whether it shows,
// whether that square is out of reach, how long it has hovered there and its swinging size.
// The time step reads it (a selection shrinks back from the ghost's size) and drawing draws it.
#pragma once

#include "Board.h"
#include "MoveGesture.h"

class DragGhost {
 public:
  // The ghost of `board`'s held ball over `gesture`'s target at game time `gameTimeMs`.
  DragGhost(const Board& board, const MoveGesture& gesture, bool twoTapMoves, int gameTimeMs)
      : board(board), gesture(gesture), twoTapMoves(twoTapMoves), gameTimeMs(gameTimeMs) {}

  // A ball is held and the pointer or the cursor names a square of the board.
  bool shown() const;
  Square square() const { return gesture.target(); }
  // The square is not on a path from the held ball (only meaningful while shown).
  bool isBad() const;
  // How long the ghost has hovered over its square; 0 when it just arrived.
  int hoverMs() const { return gesture.hoverMs(gameTimeMs); }
  // Its size, in squares, after hovering `hoverMs`: it swings, smaller over a bad square, and
  // grows in with two-tap moves.
  float size(int hoverMs) const;

 private:
  const Board& board;
  const MoveGesture& gesture;
  bool twoTapMoves;
  int gameTimeMs;
};
