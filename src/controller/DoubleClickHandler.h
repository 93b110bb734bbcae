// DoubleClickHandler: the menu strip below the board while a press on it is down (one click, or
// the first of a double click, opens the game menu on release). The controller owns one; the
// strip is drawn highlighted while `pressed`.
#pragma once

class DoubleClickHandler {
 public:
  // The strip is no longer held.
  void reset() { pressed = false; }

  bool pressed = false;  // a press on the strip is down (the strip is drawn highlighted)
};
