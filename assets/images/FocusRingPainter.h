// Paints the keyboard's focus marks: the rounded ring that marks the board square under the
// keyboard cursor, and a solid piece of the same colour that the game stretches into the four
// sides of the frame around the highlighted control of the settings screen. Used by the image
// generator.
#pragma once

#include <string>

class FocusRingPainter {
 public:
  // Writes FocusRing_39x39.png (one board square) and FocusLine_4x4.png into `folder`; false
  // when it cannot.
  static bool focusRing(const std::string& folder);
};
