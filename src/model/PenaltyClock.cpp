// The penalty clock's arithmetic: single-precision periods, as the saved games and the strip
// expect them.
#include "PenaltyClock.h"

#include <cmath>

namespace {

// How much faster each clock speed runs: 1 slowest to 4 fastest; 0 for no clock.
float speedFactor(int clockSpeed) {
  switch (clockSpeed) {
    case 1: return 1.6f;
    case 2: return 1.0f;
    case 3: return 0.75f;
    case 4: return 0.1f;
    default: return 0.0f;
  }
}

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

float PenaltyClock::period(int clockSpeed, int level) {
  const float factor = speedFactor(clockSpeed);
  if (factor == 0.0f) return 0.0f;
  // Levels beyond any reachable game would only shrink the period further; the loop stays cheap.
  return factor * 92500.0f / levelDivisor(level);
}

bool PenaltyClock::takeEndedPeriods(int now, float periodMs) {
  if (periodMs <= 0.0f) return false;
  const int periods = static_cast<int>(static_cast<float>(now - lastPenaltyMs) / periodMs);
  lastPenaltyMs += static_cast<int>(periodMs * static_cast<float>(periods));
  return periods != 0;
}

float PenaltyClock::fraction(int now, float periodMs) const {
  if (periodMs <= 0.0f) return -1.0f;
  return static_cast<float>(now - lastPenaltyMs) / periodMs;
}

void PenaltyClock::creditMove(int now, int clockSpeed, int level) {
  const float factor = speedFactor(clockSpeed);
  if (factor != 0.0f) {
    // A quick move gives back the time it took, a slow one at most `credit`.
    const float credit = factor * 10000.0f / (static_cast<float>(level) + 2.0f);
    const float idle = static_cast<float>(now - lastMoveMs);
    lastPenaltyMs += static_cast<int>(credit < idle ? credit : idle);
  }
  lastMoveMs = now;
}

bool PenaltyClock::idleBallDue(int now, int clockSpeed) const {
  return clockSpeed != 0 && now - lastMoveMs > IDLE_BALL_MS;
}

int PenaltyClock::nextBallAt(int now, float periodMs) const {
  int ballAt = lastPenaltyMs + static_cast<int>(std::ceil(periodMs));
  // Single-precision division may put the moment a millisecond either side of the ceiling.
  for (int guard = 0; guard < 4 && ballAt - 1 > now &&
                      static_cast<int>(static_cast<float>(ballAt - 1 - lastPenaltyMs) / periodMs) >= 1;
       ++guard)
    --ballAt;
  return ballAt;
}

int PenaltyClock::nextStripStepAt(int now, float periodMs, int frame, int (*frameOf)(float fraction)) const {
  if (frame >= 10) return -1;
  const auto frameAt = [&](int gameTime) { return frameOf(fraction(gameTime, periodMs)); };
  int stepAt = lastPenaltyMs + static_cast<int>(std::ceil(static_cast<double>(periodMs) * (frame + 1) / 11.0));
  if (stepAt <= now) stepAt = now + 1;
  for (int guard = 0; guard < 4 && frameAt(stepAt) == frame; ++guard) ++stepAt;
  for (int guard = 0; guard < 4 && stepAt - 1 > now && frameAt(stepAt - 1) != frame; ++guard) --stepAt;
  return stepAt;
}
