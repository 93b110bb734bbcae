// Paints the pictures that show the game itself: the start picture ("Default.png") and the two
// instruction pictures (the 16-frame move animation and the drag-and-drop illustration).
#pragma once

#include <string>

class ScenePainter {
 public:
  static bool splash(const std::string& folder);
  static bool instructionAnimation(const std::string& folder);
  static bool dragIllustration(const std::string& folder);
};
