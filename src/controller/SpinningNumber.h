// SpinningNumber: a number on screen (the score, the level) that counts up instead of jumping.
// Part of the draw state: only drawing moves it on.
#pragma once

class SpinningNumber {
 public:
  // The number to show on the frame at `nowMs` on the way to `target`; its fraction rolls the
  // digits. It climbs by one every 300 ms from the last value reached.
  float numberToShow(int target, int nowMs);
  // Whether the last frame reached `target` (nothing is left to spin).
  bool shows(int target) const { return reached == target; }
  // The next number shown appears at once, without spinning (a new game).
  void restart() { reached = -1; }

 private:
  int reached = -1;        // the number last reached; -1 = none yet
  int countSinceMs = -1;   // when the current count-up began; -1 = not counting
};
