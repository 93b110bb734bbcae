// The game menu on the real game: one click on the strip below the board opens it, and so do a
// double click, a right-click anywhere on the board and F10, each with its first entry highlighted at once (Return resumes); "Quit"
// ends the game as closing the window does, with the game saved.
#include <X11/keysym.h>

#include "GameTestFixture.h"
#include "TestBoards.h"

namespace {

using namespace ScreenLayout;

enum class Opening { CLICK, DOUBLE_CLICK, RIGHT_CLICK, F10 };

struct OpeningCase {
  const char* name;
  Opening opening;
};

// Test lists and failures name the case, not its bytes.
void PrintTo(const OpeningCase& c, std::ostream* out) { *out << c.name; }

class GameMenuTest : public GameTestFixture, public ::testing::WithParamInterface<OpeningCase> {
 protected:
  void SetUp() override {
    GameTestFixture::SetUp();
    if (IsSkipped()) return;
    launchWith(settingsRecord(0, true, false, 0.5f), savedGame(TestBoards::almostALine(5)));
  }
};

TEST_P(GameMenuTest, OpensWithItsFirstEntryHighlighted) {
  leaveStartScreen();
  const ScreenImage board = session.screen();
  switch (GetParam().opening) {
    case Opening::CLICK:
      session.tap(MENU_STRIP_X, MENU_STRIP_Y);
      break;
    case Opening::DOUBLE_CLICK:
      session.tap(MENU_STRIP_X, MENU_STRIP_Y);
      GameSession::pause(150);  // the gap between the two clicks of a double click
      session.tap(MENU_STRIP_X, MENU_STRIP_Y);
      break;
    case Opening::RIGHT_CLICK:
      session.rightClick(squareCentreX(4), squareCentreY(4));
      break;
    case Opening::F10:
      ASSERT_TRUE(session.pressKey(XK_F10));
      break;
  }
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(board, 8) > 0.2; }, 5000))
      << "the game menu did not open";
  settle();
  session.saveScreenshot(shotName("menu"));
  // "Resume Game" is highlighted: Return presses it.
  ASSERT_TRUE(session.pressKey(XK_Return));
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(board, 8) < 0.01; }, 5000))
      << "Return did not resume: nothing was highlighted";
  closeAndExpectNormalExit();
}

INSTANTIATE_TEST_SUITE_P(Openings, GameMenuTest,
                         ::testing::Values(OpeningCase{"OneClickOnTheStrip", Opening::CLICK},
                                           OpeningCase{"DoubleClickOnTheStrip", Opening::DOUBLE_CLICK},
                                           OpeningCase{"RightClickOnTheBoard", Opening::RIGHT_CLICK},
                                           OpeningCase{"F10", Opening::F10}),
                         [](const ::testing::TestParamInfo<OpeningCase>& info) { return std::string(info.param.name); });

TEST_F(GameMenuTest, QuitEndsTheGameWithEverythingSaved) {
  leaveStartScreen();
  dragBall(4, 3, 4, 9);
  openGameMenu();
  session.tap(MENU_BUTTON_X, gameMenuButtonY(QUIT));
  EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
  const std::vector<uint8_t> game = dataBytes("gameState.dat");
  ASSERT_EQ(1128u, game.size());
  EXPECT_EQ(6, savedScore(game));
  EXPECT_EQ(6, savedMoveCount(game));
}

}  // namespace
