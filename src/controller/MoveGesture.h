// MoveGesture: the pointer's move in progress on the board: the square it names now and the one
// before, with the game time each was reached, whether two-tap play waits for its first tap, and
// how long the held ball's ghost has hovered over its square. The controller owns one and
// changes it from input and the time step; drawing only reads it.
#pragma once

#include "Square.h"

class MoveGesture {
 public:
  // A fresh game: no square, no hover, the next tap picks a ball; times count from `nowMs`.
  void restart(int nowMs);

  // The square the pointer names; (-1, -1) when none.
  Square target() const { return current; }
  Square previousTarget() const { return previous; }
  // The pointer reached `square` at game time `nowMs`; the square it left becomes the previous one.
  void pointTo(Square square, int nowMs);
  // The pointer names no square any more (a ball was picked up or put down).
  void clearTarget() { current = Square(); }
  // Both squares are forgotten (the selection ended).
  void forgetSquares() { current = previous = Square(); }

  // A release at `nowMs` came just after the pointer reached its square: either it slid off its
  // target while lifting or it was a quick swipe.
  bool arrivedJustBefore(int nowMs) const;
  // The pointer came from a neighbouring square it left only just before `nowMs`: the release
  // means that square.
  bool slidOffNeighbour(int nowMs) const;

  // Two-tap moves: no ball is picked up, the next tap picks one.
  bool waitingForFirstTap() const { return firstTapAwaited; }
  void setWaitingForFirstTap(bool waiting) { firstTapAwaited = waiting; }

  // How long the ghost has hovered over the target at `nowMs`; 0 when it just arrived.
  int hoverMs(int nowMs) const;
  // The time step's part: the hover starts over when the ghost arrives on a square and ends
  // when it is not shown.
  void followHover(bool ghostShown, int nowMs);

 private:
  Square current;
  Square previous;
  int currentSinceMs = -1;
  int previousSinceMs = -1;
  bool firstTapAwaited = true;
  int hoverStartMs = -1;
  Square hoverSquare;
};
