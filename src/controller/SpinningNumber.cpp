// The count-up of a number on screen.
#include "SpinningNumber.h"

float SpinningNumber::numberToShow(int target, int nowMs) {
  if (reached == -1 || reached == target) {
    reached = target;
    countSinceMs = -1;
    return static_cast<float>(target);
  }
  if (countSinceMs == -1) countSinceMs = nowMs;
  const float shown = static_cast<float>(static_cast<double>(static_cast<float>(reached)) + (nowMs - countSinceMs) / 300.0);
  if (shown >= static_cast<float>(target)) {
    reached = target;
    countSinceMs = -1;
  }
  return shown;
}
