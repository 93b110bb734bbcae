// Paints the playing-field art: the empty board with its score, level, timer and next-ball
// panels, the light and dark square tiles, and the penalty timer strip.
#pragma once

#include <string>

class BoardPainter {
 public:
  // Each writes its image(s) into `folder`; false when a file cannot be written.
  static bool emptyBoard(const std::string& folder);
  static bool squares(const std::string& folder);
  static bool timerStrip(const std::string& folder);
};
