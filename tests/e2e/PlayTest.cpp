// The real game under a virtual X server: a line completed with real pointer events, a normal
// exit by window close and by signal, and a clear refusal without a display.
#include <gtest/gtest.h>
#include <signal.h>

#include "GameSession.h"
#include "SavedFiles.h"

namespace {

const int RED = 4;

int squareCentreX(int column) { return 4 + 39 * column + 19; }
int squareCentreY(int row) { return 45 + 39 * row + 19; }

// Four red balls on the bottom row and a fifth up the board, ready to complete the line.
SavedBoard almostALine() {
  SavedBoard board;
  for (int x = 0; x < 4; ++x) board.stones[9][x] = RED;
  board.stones[3][4] = RED;
  board.stones[0][7] = 2;
  board.moveCount = 5;
  return board;
}

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!session.displayReady()) GTEST_SKIP() << "Xvfb could not be started";
    ASSERT_TRUE(writeBytes(session.dataFolder() + "/settings.dat", settingsRecord(0, true, false, 0.5f)));
    ASSERT_TRUE(writeBytes(session.dataFolder() + "/gameState.dat", savedGame(almostALine())));
    ASSERT_TRUE(session.launch());
    ASSERT_TRUE(session.waitForFirstFrame(20000)) << session.errorOutput();
    // A player's first click comes a moment after the window appears; a press sent in the very
    // same instant can reach the window before it takes pointer input.
    session.moveTo(160, 240);
    GameSession::pause(500);
  }

  // Taps the start screen and completes the line by dragging the fifth ball down.
  void playTheLine() {
    session.press(160, 240);
    GameSession::pause(80);
    session.release(160, 240);
    GameSession::pause(300);
    session.drag(squareCentreX(4), squareCentreY(3), squareCentreX(4), squareCentreY(9), 12);
    // The ball travels, the line vanishes and the points are credited.
    GameSession::pause(2000);
  }

  void expectTheLineScored() {
    const std::vector<uint8_t> game = readBytes(session.dataFolder() + "/gameState.dat");
    ASSERT_EQ(1128u, game.size());
    for (int x = 0; x < 5; ++x) EXPECT_EQ(0, savedStone(game, x, 9)) << x;
    EXPECT_EQ(0, savedStone(game, 4, 3));
    EXPECT_EQ(2, savedStone(game, 7, 0));
    EXPECT_EQ(6, savedScore(game));
    EXPECT_EQ(6, savedMoveCount(game));
  }

  GameSession session;
};

TEST_F(PlayTest, DraggingABallCompletesALineAndClosingTheWindowSavesIt) {
  playTheLine();
  session.closeWindow();
  EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
  expectTheLineScored();
  EXPECT_EQ(36u, readBytes(session.dataFolder() + "/settings.dat").size());
  EXPECT_FALSE(readBytes(session.dataFolder() + "/hiScores.dat").empty());
}

TEST_F(PlayTest, TerminationSignalsEndTheGameNormally) {
  playTheLine();
  session.signal(SIGTERM);
  EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
  expectTheLineScored();
}

TEST(NoDisplayTest, RefusesClearlyWithoutADisplay) {
  GameSession session;
  ASSERT_TRUE(session.launch(false));
  EXPECT_NE(0, session.waitForExit(20000));
  EXPECT_NE(std::string::npos, session.errorOutput().find("display")) << session.errorOutput();
}

}  // namespace
