// DoubleClickHandler: detects the double tap on the menu strip below the board that opens the
// game menu. The controller owns one, feeds it presses and releases and ticks it every frame.
#pragma once

class DoubleClickHandler {
 public:
  // Forgets any attempt in progress.
  void reset();
  // Called every frame in play with the clock's nowMs: gives up an attempt whose second press
  // did not come within 1000 ms of the first release. True when it did so.
  bool tick(int nowMs);
  // The nowMs at which tick() will give up the attempt in progress; -1 when none is.
  int expiryTime() const;

  double firstClickTime = -1.0;  // nowMs of the first release; -1 = none
  int clickCount = 0;            // presses counted in this attempt
  bool pressed = false;          // the second press is down (the strip is drawn highlighted)
};
