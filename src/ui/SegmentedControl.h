// SegmentedControl: a row of segments of which one is selected (for the high-score screen: 0
// local, 1 global). A tap on another segment selects it and calls the action; selecting from
// code calls no action.
// Created by a screen (held by a shared pointer) and added to the root; main thread only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "View.h"

namespace Ui {

class SegmentedControl : public View {
 public:
  static constexpr float SEGMENT_WIDTH = 80.0f;
  static constexpr float HEIGHT = 30.0f;

  // Segments with the given titles (UTF-8) in equal parts of the frame; nothing is selected.
  // Without a frame the control is SEGMENT_WIDTH per segment wide and HEIGHT high.
  explicit SegmentedControl(const std::vector<std::string>& titles, const ViewRect& frame = ViewRect());

  int numberOfSegments() const { return static_cast<int>(titles.size()); }
  const std::string& titleForSegmentAtIndex(int index) const;
  // -1 when no segment is selected.
  int selectedSegmentIndex() const { return selected; }
  // Selects `index` (-1 for none) without calling the action. An index that is not a segment is
  // a programming error.
  void setSelectedSegmentIndex(int index);
  // Called after a tap has changed the selection.
  void setAction(std::function<void(SegmentedControl&)> action);
  // Where segment `index` is on screen.
  ViewRect segmentFrame(int index) const;

  void touchDown(int x, int y) override;
  void touchDrag(int x, int y) override;
  void touchUp(int x, int y) override;
  void touchCancelled() override;

 protected:
  void draw(ViewPainter& painter, const ViewRect& screenFrame) override;

 private:
  int segmentAt(int x, int y) const;

  std::vector<std::string> titles;
  int selected = -1;
  int pressed = -1;  // the segment a touch began on
  bool pressedInside = false;
  std::function<void(SegmentedControl&)> changed;
};

}  // namespace Ui
