// The real game played with real key events only: starting, picking up and dropping a ball with
// the cursor, Escape to the game menu and back, Ctrl+Q to quit with everything saved; and the
// window's class and icon that the desktop matches to the launcher.
#include <X11/keysym.h>

#include "GameTestFixture.h"
#include "TestBoards.h"

namespace {

const char* const APP_ID = "io.github.pellix.Pellix";

// A red ball on the top-left square and four more on row 2 from column 1: the ball dropped
// on (0, 2) completes a line of five for 6 points.
SavedBoard lineFromTheCorner() {
  SavedBoard board;
  board.stones[0][0] = TestBoards::RED;
  for (int x = 1; x < 5; ++x) board.stones[2][x] = TestBoards::RED;
  board.stones[9][7] = 2;
  board.moveCount = 5;
  return board;
}

class KeyboardPlayTest : public GameTestFixture {
 protected:
  void SetUp() override {
    GameTestFixture::SetUp();
    if (IsSkipped()) return;
    launchWith(settingsRecord(0, true, false, 0.5f), savedGame(lineFromTheCorner()));
  }

  // Presses a key and waits for the game's answer on the screen.
  void key(unsigned long keysym) { EXPECT_TRUE(keyAnswered(keysym)) << "the key 0x" << std::hex << keysym << " changed nothing"; }
  // Presses a key that is to change nothing; the game handles keys in order, so the next key's
  // answer shows that this one has been handled.
  void keyChangingNothing(unsigned long keysym) { ASSERT_TRUE(session.pressKey(keysym)); }

  // Return on the start screen; waits until the board shows.
  void startWithReturn() {
    const ScreenImage start = session.screen();
    key(XK_Return);
    EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(start, 8) > 0.2; }, 5000))
        << "Return left the start screen up";
    settle();
  }

  // Space on (0, 0), down twice, Space: the ball goes to (0, 2) and completes the line.
  void moveTheCornerBallDownTwo() {
    key(XK_space);
    key(XK_Down);
    key(XK_Down);
    key(XK_space);
    // The ball travels, the line vanishes and the points are credited (and saved) frame by frame.
    EXPECT_TRUE(session.waitForRest(400, 15000)) << "the move did not come to rest";
  }

  void expectTheLineScored() {
    const std::vector<uint8_t> game = dataBytes("gameState.dat");
    EXPECT_EQ(0, savedStone(game, 0, 0));
    for (int x = 0; x < 5; ++x) EXPECT_EQ(0, savedStone(game, x, 2)) << x;
    EXPECT_EQ(6, savedScore(game));
    EXPECT_EQ(6, savedMoveCount(game));
  }
};

TEST_F(KeyboardPlayTest, ReturnSpaceDownDownSpaceMovesTheCornerBallAndCtrlQSavesAndQuits) {
  startWithReturn();
  moveTheCornerBallDownTwo();
  ASSERT_TRUE(session.pressKeyWithControl(XK_q));
  EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
  expectTheLineScored();
}

TEST_F(KeyboardPlayTest, CursorRingFollowsTheArrowsAndStopsAtTheEdge) {
  startWithReturn();
  const ScreenImage withoutRing = session.screen();
  // The ring appears at the first key, on the corner, where Left and Up go nowhere. A ring that
  // wrapped to another edge instead would show there after Right and Left below, not back on
  // the corner.
  key(XK_Left);
  session.saveScreenshot(shotName("ring-on-0-0"));
  const ScreenImage atCorner = session.screen();
  EXPECT_LT(atCorner.fractionDifferent(withoutRing, 8), 39.0 * 39 / (320.0 * 480.0));
  keyChangingNothing(XK_Up);
  key(XK_Right);
  session.saveScreenshot(shotName("ring-on-1-0"));
  const ScreenImage moved = session.screen();
  // The ring left square (0, 0) for (1, 0): only the pixels of those two squares changed.
  const double changed = moved.fractionDifferent(atCorner, 8);
  EXPECT_GT(changed, 0.002);
  EXPECT_LT(changed, 2.0 * 39 * 39 / (320.0 * 480.0));
  key(XK_Left);
  EXPECT_LT(session.screen().fractionDifferent(atCorner, 8), 0.002);
  closeAndExpectNormalExit();
}

TEST_F(KeyboardPlayTest, EscapeDropsTheBallThenOpensTheMenuAndEscapeResumesOnTheCorner) {
  startWithReturn();
  const ScreenImage board = session.screen();
  key(XK_space);
  key(XK_Down);
  session.saveScreenshot(shotName("ball-picked-cursor-below"));
  // The lifted ball pulses on its own, so a change on the screen does not show that Up or the
  // Escape that drops the ball was handled; the picture coming to rest does.
  ASSERT_TRUE(session.pressKey(XK_Up));
  ASSERT_TRUE(session.pressKey(XK_Escape));
  EXPECT_TRUE(session.waitForRest(400, 15000)) << "Escape did not drop the ball";
  EXPECT_LT(session.screen().fractionDifferent(board, 8), 0.01);
  key(XK_Escape);  // opens the game menu
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(board, 8) > 0.2; }, 3000))
      << "Escape did not open the game menu";
  keyChangingNothing(XK_Right);  // no use in a menu
  key(XK_Escape);  // resumes
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(board, 8) < 0.01; }, 3000))
      << "Escape did not resume the game";
  // The cursor is where it was before the menu: on (0, 0).
  moveTheCornerBallDownTwo();
  closeAndExpectNormalExit();
  expectTheLineScored();
}

TEST_F(KeyboardPlayTest, GameMenuIsWorkedWithTheArrowsAndReturn) {
  startWithReturn();
  const ScreenImage board = session.screen();
  key(XK_Escape);
  // "Resume Game" is lit at once; Down lights "New Game"; Up goes back; Return resumes.
  session.saveScreenshot(shotName("resume-lit"));
  const ScreenImage resumeLit = session.screen();
  key(XK_Down);
  EXPECT_GT(session.screen().fractionDifferent(resumeLit, 8), 0.01);
  key(XK_Up);
  EXPECT_LT(session.screen().fractionDifferent(resumeLit, 8), 0.002);
  key(XK_Return);
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(board, 8) < 0.01; }, 3000));
  closeAndExpectNormalExit();
  EXPECT_EQ(TestBoards::RED, savedStone(dataBytes("gameState.dat"), 0, 0)) << "the game went on as it was";
}

TEST_F(KeyboardPlayTest, SettingsAndInstructionsAreWorkedWithTheKeys) {
  startWithReturn();
  key(XK_Escape);
  // Settings is the third entry, two below the lit first one; Medium is one column right of Easy.
  key(XK_Down);
  key(XK_Down);
  key(XK_Return);
  const ScreenImage settings = session.screen();
  key(XK_Tab);
  session.saveScreenshot(shotName("mode-focused"));
  EXPECT_GT(session.screen().fractionDifferent(settings, 8), 0.005) << "no focus ring around the modes";
  key(XK_Right);
  key(XK_Up);  // Done, after the volume, wrapping around
  // Five moves into the game: the mode change asks first; its default keeps the game, Right
  // goes to "Change Mode" and Return answers with it.
  ASSERT_TRUE(session.pressKey(XK_Return));
  ASSERT_TRUE(waitForAlert(3000).shown()) << "no question before the mode change";
  key(XK_Right);
  key(XK_Return);
  // A new Medium game; three entries up from the lit first one (past Quit and About) the
  // instructions, Return turns a page.
  key(XK_Escape);
  key(XK_Up);
  key(XK_Up);
  key(XK_Up);
  key(XK_Return);
  session.saveScreenshot(shotName("instructions-page-1"));
  key(XK_Return);
  session.saveScreenshot(shotName("instructions-page-2"));
  key(XK_Return);
  session.saveScreenshot(shotName("instructions-page-3"));
  key(XK_Return);
  session.saveScreenshot(shotName("instructions-page-4"));
  key(XK_Escape);
  key(XK_Escape);
  closeAndExpectNormalExit();
  EXPECT_EQ(3, settingsGameMode(dataBytes("settings.dat"))) << "Medium was not chosen";
  EXPECT_EQ(3, savedGameMode(dataBytes("gameState.dat")));
}

// The end of a game with the keyboard alone: the last move, the name typed into the name
// entry, the submit question, the table and back to a new game.
class KeyboardGameEndTest : public GameTestFixture {};

TEST_F(KeyboardGameEndTest, LastMoveNameAndTableWithKeysOnly) {
  session.setEnvironment("PELLIX_SCORES_URL", "http://127.0.0.1:9");  // nothing is uploaded
  launchWith(settingsRecord(0, true, false, 0.5f), savedGame(TestBoards::almostFullBoard(120)));
  auto key = [&](unsigned long keysym) {
    EXPECT_TRUE(keyAnswered(keysym)) << "the key 0x" << std::hex << keysym << " changed nothing";
  };
  key(XK_Return);
  for (int y = 0; y < TestBoards::LAST_BALL_Y; ++y) key(XK_Down);
  for (int x = 0; x < TestBoards::LAST_BALL_X; ++x) key(XK_Right);
  key(XK_space);
  key(XK_Right);
  key(XK_space);  // the board fills; two seconds later the name entry
  EXPECT_TRUE(session.waitForRest(400, 15000)) << "the last move did not come to rest";
  waitForTheEndScreens();
  session.saveScreenshot(shotName("1-name-entry"));
  // The field has the focus: the name typed replaces the one offered, and one Return takes it.
  bool typed = false;
  EXPECT_TRUE(answered([&] { typed = session.typeText("Kim"); })) << "the typed name did not show";
  ASSERT_TRUE(typed);
  ASSERT_TRUE(session.pressKey(XK_Return));
  ASSERT_TRUE(waitForAlert(3000).shown()) << "no submit question";
  key(XK_Escape);  // "Not Now"
  session.saveScreenshot(shotName("2-table"));
  key(XK_Escape);  // back: a new game
  closeAndExpectNormalExit();

  const SavedHiScores after = readHiScores(dataBytes("hiScores.dat"));
  ASSERT_TRUE(after.valid);
  ASSERT_EQ(12u, after.tables.size());
  const std::vector<SavedScore>& easy = after.tables[6];
  ASSERT_FALSE(easy.empty());
  EXPECT_EQ(120, easy[0].score);
  EXPECT_EQ("Kim", easy[0].name);
  EXPECT_EQ(0, savedMoveCount(dataBytes("gameState.dat"))) << "no new game after the table";
}

TEST_F(KeyboardPlayTest, WindowCarriesTheApplicationIdAndItsIcon) {
  EXPECT_EQ(APP_ID, session.windowClass());
  EXPECT_EQ(128, session.windowIconWidth());
  closeAndExpectNormalExit();
}

}  // namespace
