// Tap handling and drawing of the on/off switch.
#include "Switch.h"

#include <algorithm>
#include <utility>

#include "ViewPainter.h"
#include "ViewStyle.h"

namespace Ui {

Switch::Switch(float x, float y) : View(ViewRect(x, y, WIDTH, HEIGHT)) {}

void Switch::setOn(bool value, bool animated) {
  if (value == on) return;
  on = value;
  if (animated) {
    // The slide's start time is the frame that first shows it.
    slideFrom = lastPosition;
    slidePending = true;
    sliding = true;
  } else {
    sliding = false;
    slidePending = false;
    lastPosition = on ? 1.0f : 0.0f;
  }
}

void Switch::setAction(std::function<void(Switch&)> action) { changed = std::move(action); }

void Switch::touchDown(int, int) {
  tracking = true;
  pressed = true;
}

void Switch::touchDrag(int x, int y) {
  if (tracking) pressed = screenFrame().contains(static_cast<float>(x), static_cast<float>(y));
}

void Switch::touchUp(int x, int y) {
  if (!tracking) return;
  tracking = false;
  pressed = false;
  // A touch that slid off the switch before lifting changes nothing.
  if (!screenFrame().contains(static_cast<float>(x), static_cast<float>(y))) return;
  setOn(!on, true);
  if (changed) {
    std::function<void(Switch&)> action = changed;  // the action may replace itself
    action(*this);
  }
}

void Switch::touchCancelled() {
  tracking = false;
  pressed = false;
}

float Switch::knobPosition(int now) {
  const float target = on ? 1.0f : 0.0f;
  if (!sliding) return target;
  if (slidePending) {
    slidePending = false;
    slideStart = now;
  }
  // Wrap-safe difference of two clock readings.
  const int elapsed = static_cast<int>(static_cast<unsigned>(now) - static_cast<unsigned>(slideStart));
  if (elapsed >= SLIDE_MS || elapsed < 0) {
    sliding = false;
    return target;
  }
  const float t = static_cast<float>(elapsed) / static_cast<float>(SLIDE_MS);
  const float eased = t * (2.0f - t);  // slows down as it arrives
  return slideFrom + (target - slideFrom) * eased;
}

int Switch::msUntilChange(int) { return sliding ? 0 : -1; }

void Switch::draw(ViewPainter& painter, const ViewRect& frame) {
  const float position = knobPosition(painter.nowMs());
  lastPosition = position;
  const float radius = frame.h / 2.0f;
  // The track: dark when off, the accent colour when on, blended while the knob slides.
  const ViewColour off = ViewStyle::controlFill();
  const ViewColour accent = ViewStyle::accent();
  const ViewColour track(off.r + (accent.r - off.r) * position, off.g + (accent.g - off.g) * position,
                         off.b + (accent.b - off.b) * position, 1.0f);
  painter.fillRoundedRect(frame, radius, track);
  painter.strokeRoundedRect(frame, radius, 1.0f,
                            position < 0.5f ? ViewStyle::panelEdge() : ViewStyle::accentDark());
  // The knob: a light disc that slides from the left end to the right end.
  const float inset = 3.0f;
  const float knob = frame.h - 2.0f * inset;
  const float travel = frame.w - 2.0f * inset - knob;
  const ViewRect knobRect(frame.x + inset + travel * position, frame.y + inset, knob, knob);
  painter.fillRoundedRect(knobRect, knob / 2.0f,
                          pressed ? ViewStyle::textDim() : ViewStyle::textLight());
}

}  // namespace Ui
