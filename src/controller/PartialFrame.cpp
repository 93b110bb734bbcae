// The choice between a whole frame and one drawn only where its animated squares are.
#include "PartialFrame.h"

#include <algorithm>

void PartialFrame::Area::include(const Area& other) {
  if (other.empty()) return;
  if (empty()) {
    *this = other;
    return;
  }
  left = std::min(left, other.left);
  top = std::min(top, other.top);
  right = std::max(right, other.right);
  bottom = std::max(bottom, other.bottom);
}

void PartialFrame::allow(bool allowed) {
  enabled = allowed;
  haveLast = false;
}

bool PartialFrame::plan(const StillKey& key, const Area& animated, bool wholeFrame, Area& area) {
  const bool partial = enabled && haveLast && !wholeFrame && key == lastKey;
  area = animated;
  // Squares animated in the last frame are drawn again too: their animation may have ended.
  area.include(lastAnimated);
  lastKey = key;
  lastAnimated = animated;
  haveLast = enabled;
  return partial && !area.empty();
}
