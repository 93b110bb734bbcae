// The earliest of the moments the controller names.
#include "FrameSchedule.h"

void FrameSchedule::wakeAt(int atMs) {
  // Wrap-safe difference; a moment already past must not make the shell spin.
  int delay = static_cast<int>(static_cast<unsigned>(atMs) - static_cast<unsigned>(fromMs));
  if (delay < 1) delay = 1;
  if (earliestDelay == -1 || delay < earliestDelay) earliestDelay = delay;
}

void FrameSchedule::changesAt(int atMs) {
  if (static_cast<int>(static_cast<unsigned>(atMs) - static_cast<unsigned>(fromMs)) <= 0) {
    drawNow();
  } else {
    wakeAt(atMs);
  }
}

int FrameSchedule::msUntilWake() const { return frameDue ? 0 : earliestDelay; }
