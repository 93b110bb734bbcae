// PenaltyClock: the game clock's rules for one game, as a value with time passed in. A penalty
// period, shortened at every level, ends with an extra announced ball; a move gives back the time
// it took, up to a credit; twenty seconds of game time without a move drop a ball straight onto
// the board. The controller keeps one per game and asks it at every time step; times are game
// times in ms.
#pragma once

class PenaltyClock {
 public:
  static constexpr int IDLE_BALL_MS = 20000;

  // The penalty period in ms at clock speed `clockSpeed` (1 to 4; anything else: no clock) and
  // `level`; 0 when there is no clock.
  static float period(int clockSpeed, int level);

  // A new game at `now`: both the period and the wait for a move start.
  void restart(int now) { lastPenaltyMs = lastMoveMs = now; }
  // A game resumed at `now` whose last move and current period began that long ago.
  void resumeFrom(int now, int sinceLastMove, int sinceLastPenalty) {
    lastMoveMs = now - sinceLastMove;
    lastPenaltyMs = now - sinceLastPenalty;
  }
  int sinceLastMove(int now) const { return now - lastMoveMs; }
  int sinceLastPenalty(int now) const { return now - lastPenaltyMs; }

  // Ends every period of length `periodMs` that ran out by `now`; true when a penalty ball falls
  // (one, however many periods ended at once, as after a very long frame).
  bool takeEndedPeriods(int now, float periodMs);
  // The fraction of the current period that has run at `now`; -1 without a clock.
  float fraction(int now, float periodMs) const;
  // A move at `now` at clock speed `clockSpeed` and `level`: the period is pushed back by the
  // time the move took, at most by the level's credit.
  void creditMove(int now, int clockSpeed, int level);
  // Whether the idle ball falls at `now` (only with a clock).
  bool idleBallDue(int now, int clockSpeed) const;
  // The idle ball fell at `now`: the wait for a move starts again.
  void idleBallDropped(int now) { lastMoveMs = now; }

  // The first game time at which takeEndedPeriods lets a ball fall.
  int nextBallAt(int now, float periodMs) const;
  // The first game time after `now` at which the timer strip (11 frames over a period) shows
  // another frame than `frame`, or -1 when it shows its last frame until the ball.
  int nextStripStepAt(int now, float periodMs, int frame, int (*frameOf)(float fraction)) const;
  // The game time at which the idle ball falls.
  int idleBallAt() const { return lastMoveMs + IDLE_BALL_MS + 1; }

 private:
  int lastPenaltyMs = 0;
  int lastMoveMs = 0;
};
