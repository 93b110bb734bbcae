// Paints the keyboard's focus ring: the rounded frame that marks the board square under the
// keyboard cursor and the highlighted control of the settings screen. Used by the image
// generator; the game scales the one picture to each square or control.
#pragma once

#include <string>

class FocusRingPainter {
 public:
  // Writes FocusRing_39x39.png (one board square) into `folder`; false when it cannot.
  static bool focusRing(const std::string& folder);
};
