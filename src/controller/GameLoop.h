// GameLoop: one pass of the loop that runs the game, as the window shell runs it and as the
// tests follow it: the game's time step, then a frame only when the game or the controls over it
// ask for one (never more than 60 a second, on the loop's own clock), and otherwise the time the
// loop may sleep. The shell owns one for its window; the loop's clock, the controls' schedule
// and the drawing are passed in, so that tests drive the same code on a clock of their own.
#pragma once

#include <functional>

class GameController;

class GameLoop {
 public:
  // Frames while anything moves: 60 a second on the loop's own clock, because under a virtual X
  // server and with some drivers the swap does not wait for the display.
  static constexpr double FRAME_PERIOD_MS = 1000.0 / 60.0;

  struct Hooks {
    std::function<double()> nowMs;         // the loop's clock, in ms
    std::function<int()> viewsDelay;       // ms until the controls' picture changes; 0 now, -1 never
    std::function<void()> drawAndPresent;  // draws the game's frame and the controls, shows it
  };

  // `game` outlives the loop.
  GameLoop(GameController& game, Hooks hooks);

  // One pass while the window is active. Returns how long the loop may sleep: ms, or -1 until
  // the next input.
  int step();
  // A frame was shown outside step() (the launch's first frame): the next one waits its turn.
  void frameShown() { nextFrameAt = hooks.nowMs() + FRAME_PERIOD_MS; }

 private:
  GameController& game;
  Hooks hooks;
  // The earliest moment (on the loop's clock) at which the next frame may be shown.
  double nextFrameAt = 0.0;
};
