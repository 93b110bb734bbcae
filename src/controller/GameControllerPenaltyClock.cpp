// The controller's side of the penalty clock (PenaltyClock holds the rules): a due penalty ball
// is announced, moves push the period back, the idle ball falls, and the clock's moments go into
// the frame schedule.
#include "GameController.h"

float GameController::penaltyPeriod() const { return PenaltyClock::period(board.settings.clockSpeed, board.level); }

float GameController::announceDuePenaltyBall() {
  const float period = penaltyPeriod();
  if (penalty.takeEndedPeriods(clock.gameTime(), period)) board.addPendingBall(board.getRandomStoneColour());
  return penalty.fraction(clock.gameTime(), period);
}

float GameController::penaltyFraction() const { return penalty.fraction(clock.gameTime(), penaltyPeriod()); }

void GameController::creditMove() { penalty.creditMove(clock.gameTime(), board.settings.clockSpeed, board.level); }

bool GameController::dropIdleBall() {
  const int now = clock.gameTime();
  if (!penalty.idleBallDue(now, board.settings.clockSpeed)) return true;
  if (board.addBallAtRandomPos() && !board.freeSquares.empty()) {
    penalty.idleBallDropped(now);
    return true;
  }
  handleGameFinish(true, true);
  return false;
}

void GameController::schedulePenaltyClock(FrameSchedule& schedule) const {
  const float period = penaltyPeriod();
  // Game time runs on nowMs less the time spent paused.
  const int toNowMs = clock.pausedTotal();
  // The strip and the penalty balls exist outside the start screen only (the clock is paused
  // there anyway).
  if (period > 0.0f && flow.current() != STATE_SPLASH) {
    const int now = clock.gameTime();
    const int frame = BallGraphics::timerFrame(penalty.fraction(now, period));
    if (frame != drawState.timerFrameShown()) schedule.drawNow();
    if (!clock.isPaused()) {
      // The next penalty ball, which also starts the strip again, and the strip's next step.
      const int ballAt = penalty.nextBallAt(now, period);
      schedule.wakeAt(ballAt + toNowMs);
      const int stepAt = penalty.nextStripStepAt(now, period, frame, &BallGraphics::timerFrame);
      if (stepAt != -1 && stepAt < ballAt) schedule.wakeAt(stepAt + toNowMs);
    }
  }
  if (flow.current() == STATE_PLAYING && board.settings.clockSpeed != 0 && !clock.isPaused())
    schedule.wakeAt(penalty.idleBallAt() + toNowMs);
}
