// The double-tap detector of the menu strip.
#include "DoubleClickHandler.h"


namespace {
const int DOUBLE_TAP_WINDOW_MS = 1000;
}

void DoubleClickHandler::reset() {
  clickCount = 0;
  pressed = false;
  firstClickTime = -1.0;
}

bool DoubleClickHandler::tick(int nowMs) {
  if (clickCount != 0 && firstClickTime != -1.0 &&
      nowMs - static_cast<int>(firstClickTime) > DOUBLE_TAP_WINDOW_MS) {
    reset();
    return true;
  }
  return false;
}

int DoubleClickHandler::expiryTime() const {
  if (clickCount == 0 || firstClickTime == -1.0) return -1;
  // tick() gives up only once more than the window has passed.
  return static_cast<int>(firstClickTime) + DOUBLE_TAP_WINDOW_MS + 1;
}
