// GameClock: the game's time base in milliseconds. `nowMs` follows the wall clock from the last
// reset and runs always (animations and timed board events use it); game time stands still
// while the clock is paused, so menus and the background cost the player nothing.
// The controller owns one and reads the wall clock through the function it was given (the real
// clock in the game, a hand-moved one in tests); the board and the renderer read it by reference.
// Main thread only.
#pragma once

#include <functional>

class GameClock {
 public:
  // Milliseconds of some wall clock; only differences count (the value may wrap in 32 bits).
  using WallClock = std::function<int()>;

  explicit GameClock(WallClock wallClock);

  // Game time: the paused-at time while paused, else nowMs, less the accumulated pause time.
  int gameTime() const { return (paused ? pauseStartMs : currentMs) - pausedTotalMs; }
  // The moment of the last refresh, in ms since the last reset.
  int nowMs() const { return currentMs; }
  bool isPaused() const { return paused; }
  // Game time runs on nowMs less this (the time spent paused).
  int pausedTotal() const { return pausedTotalMs; }
  // nowMs = wall-clock time - start; called at the start of every frame and every input.
  void refresh();
  // The wall-clock time since the start right now (what refresh() would set nowMs to).
  int wallClockSinceStart() const;
  // Stops game time (does nothing when already paused).
  void pause();
  // Lets game time run again, adding the pause to the paused total.
  void resume();
  // Restarts the clock at 0 from now; whether it is paused stays as it was.
  void reset();

 private:
  WallClock wallClock;
  int startMs = 0;
  int pausedTotalMs = 0;
  int pauseStartMs = 0;
  int currentMs = 0;
  bool paused = false;
};
