// What a player sees of the game starting: the window appears with the start screen already in
// it (no empty or half-drawn window first), and that picture is presented once, not again
// unchanged. The whole X screen is watched from before the launch, at 1x and at 2x art.
#include <gtest/gtest.h>

#include "GameSession.h"
#include "SavedFiles.h"
#include "SettledScreenWatch.h"
#include "TestEnvironment.h"

namespace {

class FirstPictureTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(FirstPictureTest, TheWindowAppearsWithTheWholeStartScreenPresentedOnce) {
  GameSession session(GetParam().first, GetParam().second);
  if (!session.displayReady()) PELLIX_MISSING_PREREQUISITE("Xvfb could not be started: " << session.setupProblem());
  ASSERT_TRUE(writeBytes(session.dataFolder() + "/settings.dat", settingsRecord(0, false, false, 0.5f)));
  SettledScreenWatch watch(session.xDisplayName());
  ASSERT_TRUE(watch.ready()) << "the X server has no damage extension";
  watch.start();
  ASSERT_TRUE(session.launch());
  // Started: the window shows something and has its icon (given once all the art is made), and
  // nothing has been drawn for a while.
  ASSERT_TRUE(watch.follow(500, testenv::scaledMs(30000),
                           [&] { return session.waitForFirstFrame(1000) && session.windowIconWidth() > 0; }))
      << session.errorOutput();

  const SettledScreenWatch::Outcome outcome = watch.outcome();
  EXPECT_EQ(0, outcome.picturesBefore) << "the screen showed another picture before the start screen";
  EXPECT_EQ(outcome.firstChangeMs, outcome.settledMs) << "the first change of the screen was not the start screen";
  EXPECT_EQ(0, outcome.reportsAfter) << "the start screen was drawn again without a change";
  session.closeWindow();
  EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
}

// Displays on which the window opens at 320 x 480 (1x art) and at 640 x 960 (2x art).
INSTANTIATE_TEST_SUITE_P(Displays, FirstPictureTest,
                         ::testing::Values(std::make_pair(800, 565), std::make_pair(1000, 1130)));

}  // namespace
