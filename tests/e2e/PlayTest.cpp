// The real game under a virtual X server: a line completed with real pointer events, a normal
// exit by window close and by signal, and a clear refusal without a display.
#include <signal.h>

#include "GameTestFixture.h"
#include "TestBoards.h"

namespace {

class PlayTest : public GameTestFixture {
 protected:
  void SetUp() override {
    GameTestFixture::SetUp();
    if (IsSkipped()) return;
    launchWith(settingsRecord(0, true, false, 0.5f), savedGame(TestBoards::almostALine(5)));
  }

  // Taps the start screen and completes the line by dragging the fifth ball down.
  void playTheLine() {
    leaveStartScreen();
    dragBall(4, 3, 4, 9);
  }

  void expectTheLineScored() {
    const std::vector<uint8_t> game = dataBytes("gameState.dat");
    ASSERT_EQ(1128u, game.size());
    for (int x = 0; x < 5; ++x) EXPECT_EQ(0, savedStone(game, x, 9)) << x;
    EXPECT_EQ(0, savedStone(game, 4, 3));
    EXPECT_EQ(2, savedStone(game, 7, 0));
    EXPECT_EQ(6, savedScore(game));
    EXPECT_EQ(6, savedMoveCount(game));
  }
};

TEST_F(PlayTest, DraggingABallCompletesALineAndClosingTheWindowSavesIt) {
  playTheLine();
  closeAndExpectNormalExit();
  expectTheLineScored();
  EXPECT_EQ(36u, dataBytes("settings.dat").size());
  EXPECT_FALSE(dataBytes("hiScores.dat").empty());
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
