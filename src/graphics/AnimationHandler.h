// AnimationHandler: draws one board square's animation for the current moment. Animations are
// pure functions of the clock, so a slow frame rate never slows them down.
// Called by the game controller once per frame for every square whose record is active, on the
// rendering thread; draws through the renderer and may only end the record (clear `active`) or,
// for a selection, drop its shrink start size.
#pragma once

#include "AnimationInfo.h"

class BallGraphics;

class AnimationHandler {
 public:
  // Draws square (x, y) whose record is `animInfo`; stoneNow is the colour now on the square
  // (0 when empty). Returns 1 when a grow finished in this call (the record is then inactive).
  static int handleAnimation(BallGraphics& graphics, AnimationInfo& animInfo, int x, int y, int stoneNow);

  // The stone size of a grow `t` ms after its start: forwards when the stone is on the square,
  // backwards (a removal) when it is empty. `finished` receives whether the grow is over.
  static float growSize(double t, int stoneNow, bool* finished);
  // The breathing size of a pulsing faded stone at game time `gameTime`.
  static float pulseSize(int gameTime);
  // The bouncing size of the selected stone `t` ms into the selection.
  static float selectionSize(double t, bool twoTapMoves);
};
