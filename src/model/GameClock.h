// GameClock: the game's time base in milliseconds. `nowMs` follows the wall clock from the last
// reset and runs always (animations and timed board events use it); game time stands still
// while the clock is paused, so menus and the background cost the player nothing.
// One process-wide instance; used on the main thread only.
#pragma once

class GameClock {
 public:
  static GameClock instance;

  GameClock();

  // Game time: the paused-at time while paused, else nowMs, less the accumulated pause time.
  int gameTime() const { return (paused ? pauseStartMs : nowMs) - pausedTotalMs; }
  // nowMs = wall-clock time - startMs; called at the start of every frame and touch.
  void refresh();
  // The wall-clock time since startMs right now (what refresh() would set nowMs to).
  int wallClockSinceStart() const;
  // Stops game time (does nothing when already paused).
  void pause();
  // Lets game time run again, adding the pause to pausedTotalMs.
  void resume();
  // Restarts the clock at 0 from now; `paused` keeps its value.
  void reset();

  int startMs = 0;
  int pausedTotalMs = 0;
  int pauseStartMs = 0;
  int nowMs = 0;
  bool paused = false;
};
