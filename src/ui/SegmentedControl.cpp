// Selection by tap and drawing of the segmented control.
#include "SegmentedControl.h"

#include <utility>

#include "Assert.h"
#include "Utf8Text.h"
#include "ViewPainter.h"
#include "ViewStyle.h"

namespace Ui {

namespace {

const float RADIUS = 7.0f;

}  // namespace

SegmentedControl::SegmentedControl(const std::vector<std::string>& segmentTitles, const ViewRect& frame)
    : View(frame) {
  for (const std::string& title : segmentTitles) titles.push_back(Utf8Text::sanitize(title, true));
  if (frame.w <= 0.0f || frame.h <= 0.0f) {
    setFrame(ViewRect(frame.x, frame.y, SEGMENT_WIDTH * static_cast<float>(titles.size()), HEIGHT));
  }
}

const std::string& SegmentedControl::titleForSegmentAtIndex(int index) const {
  MYTL_ASSERT(index >= 0 && index < numberOfSegments(), "SegmentedControl");
  return titles[static_cast<size_t>(index)];
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
  MYTL_ASSERT(index >= -1 && index < numberOfSegments(), "SegmentedControl");
  selected = index;
}

void SegmentedControl::setAction(std::function<void(SegmentedControl&)> action) { changed = std::move(action); }

ViewRect SegmentedControl::segmentFrame(int index) const {
  MYTL_ASSERT(index >= 0 && index < numberOfSegments(), "SegmentedControl");
  const ViewRect frame = screenFrame();
  const float width = frame.w / static_cast<float>(titles.size());
  return ViewRect(frame.x + width * static_cast<float>(index), frame.y, width, frame.h);
}

int SegmentedControl::segmentAt(int x, int y) const {
  for (int i = 0; i < numberOfSegments(); ++i) {
    if (segmentFrame(i).contains(static_cast<float>(x), static_cast<float>(y))) return i;
  }
  return -1;
}

void SegmentedControl::touchDown(int x, int y) {
  pressed = segmentAt(x, y);
  pressedInside = pressed >= 0;
}

void SegmentedControl::touchDrag(int x, int y) {
  if (pressed >= 0) pressedInside = segmentAt(x, y) == pressed;
}

void SegmentedControl::touchUp(int x, int y) {
  const int segment = pressed;
  pressed = -1;
  pressedInside = false;
  if (segment < 0 || segmentAt(x, y) != segment || segment == selected) return;
  selected = segment;
  if (changed) {
    std::function<void(SegmentedControl&)> action = changed;  // the action may replace itself
    action(*this);
  }
}

void SegmentedControl::touchCancelled() {
  pressed = -1;
  pressedInside = false;
}

void SegmentedControl::draw(ViewPainter& painter, const ViewRect& frame) {
  if (titles.empty()) return;
  painter.fillRoundedRect(frame, RADIUS, ViewStyle::controlFill());
  ViewPainter::TextStyle style;
  style.pixelSize = 14;
  painter.pushClip(frame);
  for (int i = 0; i < numberOfSegments(); ++i) {
    const ViewRect segment = segmentFrame(i);
    if (i == selected) {
      painter.fillRoundedRect(segment.insetBy(2.0f, 2.0f), RADIUS - 2.0f, ViewStyle::accentDark());
    } else if (i == pressed && pressedInside) {
      painter.fillRoundedRect(segment.insetBy(2.0f, 2.0f), RADIUS - 2.0f, ViewStyle::controlPressed());
    }
    if (i > 0) painter.fillRect(ViewRect(segment.x, segment.y + 6.0f, 1.0f, segment.h - 12.0f), ViewStyle::panelEdge());
    painter.pushClip(segment.insetBy(3.0f, 0.0f));
    painter.drawTextCentered(titles[static_cast<size_t>(i)], segment.insetBy(3.0f, 0.0f), style,
                             i == selected ? ViewStyle::textLight() : ViewStyle::textDim());
    painter.popClip();
  }
  painter.popClip();
  painter.strokeRoundedRect(frame, RADIUS, 1.0f, ViewStyle::panelEdge());
}

}  // namespace Ui
