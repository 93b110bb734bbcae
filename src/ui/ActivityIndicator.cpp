// The turning spokes of the activity indicator.
#include "ActivityIndicator.h"

#include "ViewPainter.h"
#include "ViewStyle.h"

namespace Ui {

ActivityIndicator::ActivityIndicator(Style style, const ViewRect& frame) : View(frame), wheelStyle(style) {
  setUserInteractionEnabled(false);
  if (frame.w <= 0.0f || frame.h <= 0.0f) {
    const float size = static_cast<float>(wheelSize());
    setFrame(ViewRect(frame.x, frame.y, size, size));
  }
}

int ActivityIndicator::wheelSize() const { return wheelStyle == STYLE_WHITE_LARGE ? 37 : 20; }

void ActivityIndicator::startAnimating() {
  if (animating) return;
  animating = true;
  startPending = true;
}

void ActivityIndicator::stopAnimating() { animating = false; }

int ActivityIndicator::msUntilChange(int nowMs) {
  if (!animating) return -1;
  if (startPending) return 0;
  const unsigned elapsed = static_cast<unsigned>(nowMs) - static_cast<unsigned>(startTime);
  return STEP_MS - static_cast<int>(elapsed % STEP_MS);
}

void ActivityIndicator::draw(ViewPainter& painter, const ViewRect& frame) {
  if (!animating && hideWhenStopped) return;
  int step = 0;
  if (animating) {
    if (startPending) {
      startPending = false;
      startTime = painter.nowMs();
    }
    const unsigned elapsed = static_cast<unsigned>(painter.nowMs()) - static_cast<unsigned>(startTime);
    step = static_cast<int>((elapsed / STEP_MS) % 12);
  }
  const ViewColour colour = wheelStyle == STYLE_GRAY ? ViewColour(0.55f, 0.58f, 0.62f, 1.0f) : ViewStyle::textLight();
  painter.drawSpinner(frame.centerX(), frame.centerY(), wheelSize(), step, colour);
}

}  // namespace Ui
