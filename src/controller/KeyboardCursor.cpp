// The keyboard cursor's square and its ring.
#include "KeyboardCursor.h"

#include "BlendMode.h"
#include "Scaling.h"
#include "ScreenGeometry.h"

namespace {

// Thickness of the frame around a settings control, in screen pixels.
const float LINE_WIDTH = 2.0f;

int clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

}  // namespace

void KeyboardCursor::reset() {
  at = Square(0, 0);
  visible = false;
}

void KeyboardCursor::moveBy(int dx, int dy, int width, int height) {
  at = Square(clamp(at.x + dx, 0, width - 1), clamp(at.y + dy, 0, height - 1));
}

void KeyboardCursor::clampTo(int width, int height) { moveBy(0, 0, width, height); }

bool KeyboardCursor::ensureTextures() {
  if (!ring) ring.reset(new Texture("FocusRing_39x39.png", 1.0f, false));
  if (!line) line.reset(new Texture("FocusLine_4x4.png", 1.0f, false));
  return ring->width > 0 && line->width > 0;
}

void KeyboardCursor::drawOnBoard(float boardScale) {
  if (!ensureTextures()) return;
  // The ring picture covers one square of the 8-column board; other boards scale it.
  const float x = ScreenGeometry::BOARD_LEFT + ScreenGeometry::SQUARE_PITCH * static_cast<float>(at.x) * boardScale;
  const float y = ScreenGeometry::BOARD_TOP + ScreenGeometry::SQUARE_PITCH * static_cast<float>(at.y) * boardScale;
  ring->drawToScreen(x, y, Scaling(boardScale), BLEND_PREMULTIPLIED, true);
}

void KeyboardCursor::drawAround(float x, float y, float width, float height) {
  if (!ensureTextures()) return;
  // A solid piece stretched into each side stays crisp at any size, unlike a stretched ring.
  const float size = static_cast<float>(line->width);
  const Scaling across(width / size, LINE_WIDTH / size);
  const Scaling down(LINE_WIDTH / size, height / size);
  line->drawToScreen(x, y, across, BLEND_PREMULTIPLIED, true);
  line->drawToScreen(x, y + height - LINE_WIDTH, across, BLEND_PREMULTIPLIED, true);
  line->drawToScreen(x, y, down, BLEND_PREMULTIPLIED, true);
  line->drawToScreen(x + width - LINE_WIDTH, y, down, BLEND_PREMULTIPLIED, true);
}
