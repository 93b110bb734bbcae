// ActivityIndicator: the spinning wheel shown while something loads (the global high scores,
// an upload). Twelve spokes whose bright one runs round once a second, centred in the frame.
// It takes no touches: they go on to whatever lies below.
// Created by a screen (held by a shared pointer) and added to the root; main thread only.
#pragma once

#include "View.h"

namespace Ui {

class ActivityIndicator : public View {
 public:
  enum Style { STYLE_WHITE_LARGE = 0, STYLE_WHITE = 1, STYLE_GRAY = 2 };
  // One step of the spokes (a twelfth of a turn) lasts this long.
  static constexpr int STEP_MS = 83;

  explicit ActivityIndicator(Style style = STYLE_WHITE, const ViewRect& frame = ViewRect());

  void startAnimating();
  void stopAnimating();
  bool isAnimating() const { return animating; }
  // When set (the default), a stopped indicator is not drawn.
  void setHidesWhenStopped(bool value) { hideWhenStopped = value; }
  bool hidesWhenStopped() const { return hideWhenStopped; }
  Style style() const { return wheelStyle; }
  // The wheel's diameter in pixels for the style.
  int wheelSize() const;

 protected:
  void draw(ViewPainter& painter, const ViewRect& screenFrame) override;
  // The next step of the spokes while it turns.
  int msUntilChange(int nowMs) override;

 private:
  Style wheelStyle;
  bool animating = false;
  bool hideWhenStopped = true;
  bool startPending = false;  // the turning starts at the next drawn frame
  int startTime = 0;
};

}  // namespace Ui
