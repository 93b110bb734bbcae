// The penalty clock's rules without GL: periods by speed and level, one ball however many
// periods end at once, the move credit and the idle ball.
#include <gtest/gtest.h>

#include "PenaltyClock.h"

namespace {

TEST(PenaltyClockTest, PeriodFollowsClockSpeedAndShrinksWithTheLevel) {
  EXPECT_FLOAT_EQ(1.6f * 92500.0f / 3.0f, PenaltyClock::period(1, 1));
  EXPECT_FLOAT_EQ(92500.0f / 3.0f, PenaltyClock::period(2, 1));
  EXPECT_NEAR(92500.0f / (3.0f * 1.28f), PenaltyClock::period(2, 2), 0.01f);
  for (int speed : {0, 5, -1}) EXPECT_EQ(0.0f, PenaltyClock::period(speed, 1)) << speed;
  // Every level is faster than the one before, and a level far beyond any real game still has a clock.
  for (int level = 1; level < 60; ++level) EXPECT_LT(PenaltyClock::period(3, level + 1), PenaltyClock::period(3, level));
  EXPECT_GT(PenaltyClock::period(1, 1000), 0.0f);
}

TEST(PenaltyClockTest, EndedPeriodsLetOneBallFallAndTheNextPeriodStartsOnTime) {
  PenaltyClock clock;
  clock.restart(1000);
  const float period = 1000.0f;
  EXPECT_FALSE(clock.takeEndedPeriods(1999, period));
  EXPECT_NEAR(0.999f, clock.fraction(1999, period), 1e-4f);
  EXPECT_EQ(2000, clock.nextBallAt(1999, period));
  EXPECT_TRUE(clock.takeEndedPeriods(2000, period));
  EXPECT_EQ(0.0f, clock.fraction(2000, period));
  // A very long frame: one ball for three periods, and the period keeps its grid.
  EXPECT_TRUE(clock.takeEndedPeriods(5500, period));
  EXPECT_FLOAT_EQ(0.5f, clock.fraction(5500, period));
  EXPECT_FALSE(clock.takeEndedPeriods(5500, period));
  // Without a clock nothing falls.
  EXPECT_FALSE(clock.takeEndedPeriods(100000, 0.0f));
  EXPECT_EQ(-1.0f, clock.fraction(100000, 0.0f));
}

TEST(PenaltyClockTest, AMoveGivesBackItsTimeUpToTheCredit) {
  // Speed 1 at level 1: a credit of 1.6 * 10000 / 3 = 5333 ms.
  const struct {
    int moveTook;
    int pushedBack;
  } cases[] = {{1000, 1000}, {5333, 5333}, {9000, 5333}};
  for (const auto& c : cases) {
    PenaltyClock clock;
    clock.restart(0);
    clock.creditMove(c.moveTook, 1, 1);
    EXPECT_EQ(c.moveTook - c.pushedBack, clock.sinceLastPenalty(c.moveTook)) << c.moveTook;
    EXPECT_EQ(0, clock.sinceLastMove(c.moveTook));
  }
  PenaltyClock off;
  off.restart(0);
  off.creditMove(3000, 0, 1);
  EXPECT_EQ(3000, off.sinceLastPenalty(3000));
}

TEST(PenaltyClockTest, IdleBallFallsOnlyAfterTwentySecondsWithAClock) {
  PenaltyClock clock;
  clock.resumeFrom(50000, 0, 0);
  EXPECT_FALSE(clock.idleBallDue(70000, 1));
  EXPECT_TRUE(clock.idleBallDue(70001, 1));
  EXPECT_EQ(70001, clock.idleBallAt());
  EXPECT_FALSE(clock.idleBallDue(1000000, 0));
  clock.idleBallDropped(70001);
  EXPECT_FALSE(clock.idleBallDue(90001, 1));
}

}  // namespace
