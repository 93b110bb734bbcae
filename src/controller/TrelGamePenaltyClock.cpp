// The penalty clock: a period, shortened at every level, after which an extra ball is announced;
// moves push it back; twenty seconds without a move drop a ball straight onto the board.
// Also the clock's moments for the frame schedule.
#include <cmath>

#include "TrelGame.h"

namespace {

const int IDLE_BALL_MS = 20000;

// How much each level rise speeds the clock up: 1.28 at level 2, then less, at least 1.03.
float levelDivisor(int level) {
  float divisor = 3.0f;
  for (int i = 1; i < level; ++i) {
    const float speedUp = static_cast<float>(i) * -0.02f + 1.3f;
    divisor *= speedUp > 1.03f ? speedUp : 1.03f;
  }
  return divisor;
}

}  // namespace

float TrelGame::clockSpeedFactor() const {
  switch (board.settings.clockSpeed) {
    case 1: return 1.6f;
    case 2: return 1.0f;
    case 3: return 0.75f;
    case 4: return 0.1f;
    default: return 0.0f;  // no clock
  }
}

float TrelGame::penaltyPeriod() const {
  const float factor = clockSpeedFactor();
  if (factor == 0.0f) return 0.0f;
  // Levels beyond any reachable game would only shrink the period further; the loop stays cheap.
  return factor * 92500.0f / levelDivisor(board.level);
}

float TrelGame::getSecondsTillNextPenaltyBall() {
  const float period = penaltyPeriod();
  if (period <= 0.0f) return -1.0f;
  const int now = clock.gameTime();
  const int periods = static_cast<int>(static_cast<float>(now - lastPenaltyTime) / period);
  lastPenaltyTime += static_cast<int>(period * static_cast<float>(periods));
  // One ball, however many periods passed at once (a very long frame).
  if (periods != 0) board.addPendingBall(board.getRandomStoneColour());
  return static_cast<float>(now - lastPenaltyTime) / period;
}

void TrelGame::creditMove() {
  const int now = clock.gameTime();
  const float factor = clockSpeedFactor();
  if (factor != 0.0f) {
    // A quick move gives back the time it took, a slow one at most `credit`.
    const float credit = factor * 10000.0f / (static_cast<float>(board.level) + 2.0f);
    const float idle = static_cast<float>(now - lastMoveTime);
    lastPenaltyTime += static_cast<int>(credit < idle ? credit : idle);
  }
  lastMoveTime = now;
}

bool TrelGame::dropIdleBall() {
  if (board.settings.clockSpeed == 0) return true;
  const int now = clock.gameTime();
  if (now - lastMoveTime <= IDLE_BALL_MS) return true;
  if (board.addBallAtRandomPos() && !board.freeSquares.empty()) {
    lastMoveTime = now;
    return true;
  }
  handleGameFinish(true, true);
  return false;
}

void TrelGame::schedulePenaltyClock(FrameSchedule& schedule) const {
  const float period = penaltyPeriod();
  // The strip and the penalty balls exist outside the start screen only (the clock is paused
  // there anyway).
  if (period > 0.0f && gameState != STATE_SPLASH) {
    const int now = clock.gameTime();
    const auto frameAt = [&](int gameTime) {
      return BallGraphics::timerFrame(static_cast<float>(gameTime - lastPenaltyTime) / period);
    };
    const int frame = frameAt(now);
    if (frame != shownTimerFrame) schedule.drawNow();
    if (!clock.isPaused()) {
      // Game time runs on nowMs less the time spent paused.
      const int toNowMs = clock.pausedTotal();
      // The next penalty ball, which also starts the strip again.
      int ballAt = lastPenaltyTime + static_cast<int>(std::ceil(period));
      // Single-precision division may put the moment a millisecond either side of the ceiling.
      for (int guard = 0; guard < 4 && ballAt - 1 > now &&
                          static_cast<int>(static_cast<float>(ballAt - 1 - lastPenaltyTime) / period) >= 1;
           ++guard)
        --ballAt;
      schedule.wakeAt(ballAt + toNowMs);
      // The strip's next step: the first whole millisecond at which it shows another frame.
      if (frame < 10) {
        int stepAt = lastPenaltyTime + static_cast<int>(std::ceil(static_cast<double>(period) * (frame + 1) / 11.0));
        if (stepAt <= now) stepAt = now + 1;
        for (int guard = 0; guard < 4 && frameAt(stepAt) == frame; ++guard) ++stepAt;
        for (int guard = 0; guard < 4 && stepAt - 1 > now && frameAt(stepAt - 1) != frame; ++guard) --stepAt;
        if (stepAt < ballAt) schedule.wakeAt(stepAt + toNowMs);
      }
    }
  }
  // The idle ball falls once more than IDLE_BALL_MS of game time passed without a move.
  if (gameState == STATE_PLAYING && board.settings.clockSpeed != 0 && !clock.isPaused())
    schedule.wakeAt(lastMoveTime + IDLE_BALL_MS + 1 + clock.pausedTotal());
}
