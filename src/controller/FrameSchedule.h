// FrameSchedule: the game's answer to the shell's loop after a frame tick: whether a frame must
// be drawn now (something visible changed since the last drawn frame, or something moves on
// every frame), and otherwise how long the loop may sleep before the game must run again (the
// next timed event, or the next moment at which the picture changes by itself).
// Filled by the controller (GameController::frameSchedule) and read by the shell; a plain value.
#pragma once

class FrameSchedule {
 public:
  // `nowMs`: the clock reading (GameClock nowMs scale) that the moments below are measured from.
  explicit FrameSchedule(int nowMs) : fromMs(nowMs) {}

  // Something visible changed or moves: a frame is due now.
  void drawNow() { frameDue = true; }
  // The game must run again at `atMs` (GameClock nowMs scale): a timed event falls due then.
  // A moment already past asks for a run in 1 ms.
  void wakeAt(int atMs);
  // The picture changes by itself at `atMs`: a frame now if that moment has come, else a
  // wake-up then.
  void changesAt(int atMs);

  bool isFrameDue() const { return frameDue; }
  // Milliseconds until the game must run again: 0 when a frame is due, -1 when nothing is
  // scheduled (only input or another thread's wake-up can change anything).
  int msUntilWake() const;

 private:
  int fromMs;
  bool frameDue = false;
  int earliestDelay = -1;
};
