// Finds a shown alert's buttons in a screen picture by their colours: the default button (the
// one Return chooses) wears the accent, the other one the plain control fill beside it, on
// either side. Used by the tests to see that an alert is up and to click its buttons.
#pragma once

#include "ScreenImage.h"

struct AlertOnScreen {
  PixelRect preferredButton;  // the default button; empty when no alert is shown
  PixelRect otherButton;      // the plain button beside it; empty when there is none
  bool shown() const { return !preferredButton.empty(); }

  static AlertOnScreen find(const ScreenImage& image);
};
