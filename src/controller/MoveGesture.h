// MoveGesture: the pointer's move in progress on the board: where its press began and whether it
// has become a drag, where the pointer is, the square it names now and the one before, with the
// game time each was reached, whether a click on a ball is awaited, and
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

  // A press of the pointer on the board began on `square` at screen point (x, y); `onHeldBall`:
  // that square held the ball already picked up. The press is a click until the pointer moves
  // far enough to another square (markDragged).
  void beginPress(Square square, bool onHeldBall, float x, float y);
  bool pressActive() const { return pressed; }
  Square pressSquare() const { return pressedOn; }
  bool pressedOnHeldBall() const { return pressedHeld; }
  // How far (in screen pixels) the pointer at (x, y) is from where the press began.
  float distanceFromPress(float x, float y) const;
  void markDragged() { movedOff = true; }
  // The press has become a drag: the lifted ball follows the pointer.
  bool dragged() const { return pressed && movedOff; }
  // The pointer of the press is at (x, y) in screen pixels.
  void followPointer(float x, float y) {
    pointerX = x;
    pointerY = y;
  }
  float pointerAtX() const { return pointerX; }
  float pointerAtY() const { return pointerY; }
  // The press ended (the button went up, or a new game began).
  void endPress() {
    pressed = false;
    movedOff = false;
  }

  // No ball is held: the next click (or key) picks one up.
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
  bool pressed = false;
  Square pressedOn;
  bool pressedHeld = false;
  bool movedOff = false;
  float pressX = 0.0f;
  float pressY = 0.0f;
  float pointerX = 0.0f;
  float pointerY = 0.0f;
};
