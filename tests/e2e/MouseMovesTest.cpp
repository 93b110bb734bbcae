// Moves with the mouse on the real game: clicking a ball and then its destination moves it, and
// so does dragging it, whatever the stored two-tap setting says; clicking the picked-up ball
// again puts it back. Checked in gameState.dat after a normal exit.
#include "GameTestFixture.h"
#include "TestBoards.h"

namespace {

using namespace ScreenLayout;

enum class Gesture { CLICKS, DRAG };

struct MoveCase {
  const char* name;
  Gesture gesture;
  bool twoTapStored;
};

// Test lists and failures name the case, not its bytes.
void PrintTo(const MoveCase& c, std::ostream* out) { *out << c.name; }

class MouseMovesTest : public GameTestFixture, public ::testing::WithParamInterface<MoveCase> {
 protected:
  void launchOnTheLine(bool twoTapStored) {
    launchWith(settingsRecord(0, true, twoTapStored, 0.5f), savedGame(TestBoards::almostALine(5)));
  }
  // A click on square (x, y) that the game answers on screen.
  void clickSquare(int x, int y, const char* what) {
    EXPECT_TRUE(answered([&] { session.tap(squareCentreX(x), squareCentreY(y)); })) << what << " changed nothing";
  }
};

TEST_P(MouseMovesTest, TheFifthBallCompletesTheLine) {
  const MoveCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(launchOnTheLine(c.twoTapStored));
  leaveStartScreen();
  if (c.gesture == Gesture::DRAG) {
    dragBall(4, 3, 4, 9);
  } else {
    clickSquare(4, 3, "the click on the ball");
    session.saveScreenshot(shotName("1-picked-up"));
    clickSquare(4, 9, "the click on the destination");
    EXPECT_TRUE(session.waitForRest(400, 15000)) << "the move did not come to rest";
  }
  session.saveScreenshot(shotName("2-moved"));
  closeAndExpectNormalExit();

  const std::vector<uint8_t> game = dataBytes("gameState.dat");
  ASSERT_EQ(1128u, game.size());
  for (int x = 0; x < 5; ++x) EXPECT_EQ(0, savedStone(game, x, 9)) << x;
  EXPECT_EQ(0, savedStone(game, 4, 3));
  EXPECT_EQ(6, savedScore(game));
  EXPECT_EQ(6, savedMoveCount(game));
  EXPECT_EQ(c.twoTapStored, settingsTwoTap(dataBytes("settings.dat"))) << "the stored two-tap setting changed";
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, MouseMovesTest,
    ::testing::Values(MoveCase{"ClicksWithDefaultSettings", Gesture::CLICKS, false},
                      MoveCase{"ClicksWithTwoTapStored", Gesture::CLICKS, true},
                      MoveCase{"DragWithTwoTapStored", Gesture::DRAG, true}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

// A second click on the picked-up ball puts it back: the click after it on the destination
// moves nothing.
TEST_F(MouseMovesTest, ClickingThePickedUpBallAgainPutsItBack) {
  ASSERT_NO_FATAL_FAILURE(launchOnTheLine(false));
  leaveStartScreen();
  const ScreenImage resting = session.screen();
  clickSquare(4, 3, "the click on the ball");
  clickSquare(4, 3, "the second click on the ball");
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(resting, 8) < 0.002; }, 5000))
      << "the ball did not come to rest again";
  session.tap(squareCentreX(4), squareCentreY(9));
  EXPECT_TRUE(session.waitForRest(400, 5000));
  closeAndExpectNormalExit();

  const std::vector<uint8_t> game = dataBytes("gameState.dat");
  ASSERT_EQ(1128u, game.size());
  EXPECT_NE(0, savedStone(game, 4, 3)) << "the ball moved";
  EXPECT_EQ(5, savedMoveCount(game));
}

}  // namespace
