// FrameCounter: counts the frames a window shows, as the X server sees them. It follows the
// window's damage (XDamage) on a connection of its own: every presented frame draws the window's
// picture, and the drawing requests of one frame arrive together, so damage reports less than a
// few milliseconds apart are one frame. Used by the benchmarks and end-to-end tests to check
// that the game draws nothing at rest and a steady rate while something moves.
// Created for one window of a running display; the window may go away while it counts.
#pragma once

#include <string>

class FrameCounter {
 public:
  // Follows `window` on display `displayName`; ready() is false when the display has no
  // damage extension or cannot be reached.
  FrameCounter(const std::string& displayName, unsigned long window);
  ~FrameCounter();
  FrameCounter(const FrameCounter&) = delete;
  FrameCounter& operator=(const FrameCounter&) = delete;

  bool ready() const { return damage != 0; }
  // Forgets what was drawn so far, then counts the frames shown during the next `ms`.
  int countFrames(int ms);
  // Waits for a frame drawn over the whole window at `width` x `height`, reported since the
  // counter was made or last counted (so a counter made before a resize sees the first frame
  // after it); false after `timeoutMs`.
  bool waitForWholeFrame(int width, int height, int timeoutMs);

 private:
  void* display = nullptr;  // Display*
  unsigned long damage = 0; // Damage
  int eventBase = 0;
};
