// The real game with a selected or held ball that a dropped ball's line removes: the idle ball
// falls into the only free square beside four rainbow balls while the player holds (or has
// selected) the fourth. Dropping afterwards is an ordinary touch, the game plays on and exits
// normally, and its saved game loads.
#include "GameTestFixture.h"

namespace {

const int RAINBOW = 10;

// Four rainbow balls at (0..3, 0), (4, 0) free, every other square filled without a line.
SavedBoard rainbowRowBoard() {
  SavedBoard board;
  board.clockDisabled = false;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 8; ++x) board.stones[y][x] = (x + 2 * y) % 4 + 1;
  for (int x = 0; x < 4; ++x) board.stones[0][x] = RAINBOW;
  board.stones[0][4] = 0;
  return board;
}

class VanishedSelectionTest : public GameTestFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(VanishedSelectionTest, TheGamePlaysOnAndItsSavedGameLoads) {
  const bool twoTap = GetParam();
  ASSERT_NO_FATAL_FAILURE(launchWith(settingsRecord(0, false, twoTap, 0.5f), savedGame(rainbowRowBoard())));
  leaveStartScreen();
  const int fromX = ScreenLayout::squareCentreX(3), toX = ScreenLayout::squareCentreX(4);
  const int y = ScreenLayout::squareCentreY(0);
  // (4, 0) is the board's only free square: what an empty square looks like there.
  const ScreenImage board = session.screen();
  const Rgb empty = board.at(toX, y);
  const auto rowRemoved = [&](const ScreenImage& now) {
    // Squares (0, 0) and (2, 0) are drawn like (4, 0) (the board's pattern repeats every two
    // squares) once their rainbow balls are gone; (3, 0) may still show the held ball.
    return now.matches(ScreenLayout::squareCentreX(0), y, empty, 12) &&
           now.matches(ScreenLayout::squareCentreX(2), y, empty, 12);
  };
  ASSERT_FALSE(rowRemoved(board)) << "the rainbow balls do not show";
  if (twoTap) {
    session.tap(fromX, y);
  } else {
    session.press(fromX, y);
  }
  // The idle ball falls after 20 s of game time without a move and completes the rainbow row.
  // The game shows no count-down to wait for, so the test watches for the row to go.
  EXPECT_TRUE(session.waitForScreen(rowRemoved, 40000)) << "the idle ball did not remove the rainbow row";
  settle();
  if (twoTap) {
    session.tap(toX, y);
  } else {
    session.moveTo(toX, y);
    GameSession::pause(400);  // a hand moving on before it lets go
    session.release(toX, y);
  }
  // X delivers the touch ahead of the close message sent after it, so the game handles the touch
  // (and whatever move it makes) before it saves and exits.
  closeAndExpectNormalExit();

  const std::vector<uint8_t> game = dataBytes("gameState.dat");
  ASSERT_EQ(1128u, game.size());
  for (int x = 0; x < 5; ++x) EXPECT_EQ(0, savedStone(game, x, 0)) << x;
  // Five balls or more, as the idle ball's colour may extend the line: the points are saved.
  EXPECT_GE(savedScore(game), 6);
  EXPECT_EQ(0, savedMoveCount(game));

  ASSERT_TRUE(session.launch());
  ASSERT_TRUE(session.waitForFirstFrame(20000)) << session.errorOutput();
  closeAndExpectNormalExit();
}

INSTANTIATE_TEST_SUITE_P(BothMoveModes, VanishedSelectionTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "TwoTap" : "Drag"; });

}  // namespace
