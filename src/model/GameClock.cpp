// The game clock; wall-clock differences are taken modulo 2^32 because the millisecond time
// wraps in 32 bits.
#include "GameClock.h"

#include "IntTimer.h"

GameClock GameClock::instance;

GameClock::GameClock() : startMs(IntTimer::getGlobalTimeInMs()) {}

int GameClock::wallClockSinceStart() const {
  const unsigned now = static_cast<unsigned>(IntTimer::getGlobalTimeInMs());
  return static_cast<int>(now - static_cast<unsigned>(startMs));
}

void GameClock::refresh() { nowMs = wallClockSinceStart(); }

void GameClock::pause() {
  if (paused) return;
  pauseStartMs = wallClockSinceStart();
  paused = true;
}

void GameClock::resume() {
  paused = false;
  pausedTotalMs += wallClockSinceStart() - pauseStartMs;
}

void GameClock::reset() {
  startMs = IntTimer::getGlobalTimeInMs();
  pausedTotalMs = 0;
  pauseStartMs = 0;
  nowMs = 0;
}
