// AnimationHandler: one board square's animation. Animations are pure functions of the clock, so
// a slow frame rate never slows them down. The controller's time step calls `settle` for every
// active record, which may end it; its drawing calls `draw`, which changes nothing. Main thread.
#pragma once

#include "AnimationInfo.h"

class BallGraphics;

class AnimationHandler {
 public:
  // Draws square (x, y) whose record is `animInfo` at the renderer's moment; stoneNow is the
  // colour now on the square (0 when empty).
  static void draw(BallGraphics& graphics, const AnimationInfo& animInfo, int x, int y, int stoneNow);
  // The record's time step at `nowMs`: one that starts implausibly far ahead (the clock went
  // back) starts now; a record ends once its last picture was drawn, in the frame drawn at
  // `lastDrawnMs` (a trail's after the ball passed, a grow's at full size), and a selection whose
  // ghost had shrunk onto the ball by then drops it. True when a grow ended: its square's final picture belongs in the board image now.
  static bool settle(AnimationInfo& animInfo, int nowMs, int lastDrawnMs, int stoneNow);

  // The stone size of a grow `t` ms after its start: forwards when the stone is on the square,
  // backwards (a removal) when it is empty. `finished` receives whether the grow is over.
  static float growSize(double t, int stoneNow, bool* finished);
  // The breathing size of a pulsing faded stone at game time `gameTime`.
  static float pulseSize(int gameTime);
  // The bouncing size of the selected stone `t` ms into the selection.
  static float selectionSize(double t);
};
