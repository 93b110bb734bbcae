// Switch: an on/off control. A tap (touch-down and touch-up on it) flips it and calls its
// action; the knob slides to the new side. Setting the value from code calls no action.
// Created by a screen (held by a shared pointer), added to the root while the screen is up.
// Main thread only.
#pragma once

#include <functional>

#include "View.h"

namespace Ui {

class Switch : public View {
 public:
  static constexpr float WIDTH = 64.0f;
  static constexpr float HEIGHT = 30.0f;
  // The knob takes this long to slide across.
  static constexpr int SLIDE_MS = 150;

  // A switch of the standard size with its top-left corner at (x, y), off.
  explicit Switch(float x = 0.0f, float y = 0.0f);

  bool isOn() const { return on; }
  // Sets the value without calling the action; `animated` lets the knob slide.
  void setOn(bool value, bool animated = false);
  // Called after every change made by a tap, with the switch (read isOn() for the value).
  void setAction(std::function<void(Switch&)> action);

  void touchDown(int x, int y) override;
  void touchDrag(int x, int y) override;
  void touchUp(int x, int y) override;
  void touchCancelled() override;

 protected:
  void draw(ViewPainter& painter, const ViewRect& screenFrame) override;
  // Every frame while the knob slides.
  int msUntilChange(int nowMs) override;

 private:
  // Knob position from 0 (off, left) to 1 (on, right) at time `now`.
  float knobPosition(int now);

  bool on = false;
  bool pressed = false;     // a touch that began on the switch is down on it
  bool tracking = false;    // a touch began on the switch
  float slideFrom = 0.0f;   // where the knob was when the slide started
  bool slidePending = false;  // the slide starts at the next drawn frame
  int slideStart = 0;
  bool sliding = false;
  float lastPosition = 0.0f;
  std::function<void(Switch&)> changed;
};

}  // namespace Ui
