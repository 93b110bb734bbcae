// The penalty clock: a period, shortened at every level, after which an extra ball is announced;
// moves push it back; twenty seconds without a move drop a ball straight onto the board.
#include "GameClock.h"
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
  const int now = GameClock::instance.gameTime();
  const int periods = static_cast<int>(static_cast<float>(now - lastPenaltyTime) / period);
  lastPenaltyTime += static_cast<int>(period * static_cast<float>(periods));
  // One ball, however many periods passed at once (a very long frame).
  if (periods != 0) board.addPendingBall(board.getRandomStoneColour());
  return static_cast<float>(now - lastPenaltyTime) / period;
}

void TrelGame::creditMove() {
  const int now = GameClock::instance.gameTime();
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
  const int now = GameClock::instance.gameTime();
  if (now - lastMoveTime <= IDLE_BALL_MS) return true;
  if (board.addBallAtRandomPos() && !board.freeSquares.empty()) {
    lastMoveTime = now;
    return true;
  }
  handleGameFinish(true, true);
  return false;
}
