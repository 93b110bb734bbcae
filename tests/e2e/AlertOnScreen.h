// Finds a shown alert's buttons in a screen picture by their colours: the preferred (last)
// button wears the accent, the cancel button the plain control fill beside it. Used by the
// tests to see that an alert is up and to click its buttons.
#pragma once

#include "ScreenImage.h"

struct AlertOnScreen {
  PixelRect preferredButton;  // "OK"; empty when no alert is shown
  PixelRect cancelButton;     // empty when there is none
  bool shown() const { return !preferredButton.empty(); }

  static AlertOnScreen find(const ScreenImage& image);
};
