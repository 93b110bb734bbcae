// The end of a game with the real game: the board fills up, and a score that earns a place in
// the local top ten asks for a name, which the player types and confirms; after exit the
// name and the score sit at their rank in hiScores.dat. A score below the top ten asks nothing.
// A game abandoned through the menu with a place asks too and offers the last name entered; an
// overlong name is stored cut to whole characters within the file's 255 bytes.
#include <X11/keysym.h>

#include "GameTestFixture.h"
#include "TestBoards.h"

namespace {

using namespace ScreenLayout;

const int EASY_ID = 0;
const int EASY_CLOCK_OFF_TABLE = 6;

class NewHighScoreTest : public GameTestFixture {
 protected:
  // Table 6 (Easy, clock off) holds ten scores from 500 down to 50; the other tables are free.
  static SavedHiScores tenScores() {
    SavedHiScores scores = emptyHiScores();
    std::vector<SavedScore>& table = scores.tables[EASY_CLOCK_OFF_TABLE];
    for (int i = 0; i < 10; ++i) table[static_cast<size_t>(i)] = SavedScore{"P" + std::to_string(i + 1), 500 - 50 * i};
    return scores;
  }

  void launchOn(const SavedBoard& board, const SavedHiScores& before) {
    session.setEnvironment("PELLIX_SCORES_URL", "http://127.0.0.1:9");  // no upload happens here
    launchWith(settingsRecord(EASY_ID, true, false, 0.5f), savedGame(board), hiScoresFile(before));
  }

  // Launches on the almost full board and makes the move that fills it.
  void playTheLastMove(int score, const SavedHiScores& before) {
    launchOn(TestBoards::almostFullBoard(score), before);
    if (HasFatalFailure()) return;
    leaveStartScreen();
    dragBall(TestBoards::LAST_BALL_X, TestBoards::LAST_BALL_Y, TestBoards::LAST_FREE_X, TestBoards::LAST_FREE_Y);
    ending = waitForTheEndScreens();
  }

  ScreenImage ending;
};

TEST_F(NewHighScoreTest, TypedNameTakesItsRankInTheTableAfterExit) {
  ASSERT_NO_FATAL_FAILURE(playTheLastMove(120, tenScores()));
  session.saveScreenshot(shotName("1-name-entry"));
  enterName("Zo\xc3\xab Ann");  // an e with diaeresis: a character no key of the US map carries
  session.saveScreenshot(shotName("2-submit-question"));
  const AlertOnScreen question = waitForAlert(3000);
  ASSERT_TRUE(question.shown()) << "no \"Submit Score\" question after the name";
  ASSERT_TRUE(session.pressKey(XK_Escape));  // "Not Now"
  EXPECT_TRUE(alertGoneFor(500));
  session.saveScreenshot(shotName("3-local-table"));
  // The new entry (rank 9) is drawn full bright, the others dimmed.
  const ScreenImage table = session.screen();
  EXPECT_GT(table.countBrighterThan(hiScoreRow(8), 180), 40);
  for (int row : {0, 7, 9}) EXPECT_EQ(0, table.countBrighterThan(hiScoreRow(row), 180)) << "row " << row + 1;

  // Back to a new game.
  EXPECT_TRUE(answered([&] { session.tap(160, HISCORES_BACK_Y); })) << "\"Back\" did nothing";
  session.saveScreenshot(shotName("4-new-game"));
  closeAndExpectNormalExit();

  const SavedHiScores after = readHiScores(dataBytes("hiScores.dat"));
  ASSERT_TRUE(after.valid);
  EXPECT_EQ("Zo\xc3\xab Ann", after.lastName);
  ASSERT_EQ(12u, after.tables.size());
  const std::vector<SavedScore>& easy = after.tables[EASY_CLOCK_OFF_TABLE];
  ASSERT_EQ(10u, easy.size()) << "the table keeps ten entries; 50 dropped off the end";
  const int expected[10] = {500, 450, 400, 350, 300, 250, 200, 150, 120, 100};
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(expected[i], easy[i].score) << "rank " << i + 1;
  EXPECT_EQ("Zo\xc3\xab Ann", easy[8].name);
  EXPECT_EQ("P8", easy[7].name);
  for (size_t t = 0; t < after.tables.size(); ++t) {
    if (t == EASY_CLOCK_OFF_TABLE) continue;
    for (const SavedScore& entry : after.tables[t]) EXPECT_EQ(-1, entry.score) << "table " << t;
  }

  const std::vector<uint8_t> game = dataBytes("gameState.dat");
  ASSERT_EQ(1128u, game.size());
  EXPECT_EQ(0, savedScore(game)) << "leaving the high scores starts a new game";
  EXPECT_EQ(0, savedMoveCount(game));
}

TEST_F(NewHighScoreTest, ScoreBelowTheTopTenEndsWithoutAskingForAName) {
  const SavedHiScores before = tenScores();
  ASSERT_NO_FATAL_FAILURE(playTheLastMove(40, before));
  session.saveScreenshot(shotName("1-game-over"));
  EXPECT_TRUE(noAlertFor(500));
  // Game over shows its own picture over the full board; a tap starts a new game.
  const ScreenImage over = session.screen();
  EXPECT_GT(over.fractionDifferent(ending, 24), 0.3);
  EXPECT_TRUE(answered([&] { session.tap(160, 240); })) << "the tap on game over did nothing";
  session.saveScreenshot(shotName("2-new-game"));
  closeAndExpectNormalExit();

  const SavedHiScores after = readHiScores(dataBytes("hiScores.dat"));
  ASSERT_TRUE(after.valid);
  ASSERT_EQ(12u, after.tables.size());
  const std::vector<SavedScore>& easy = after.tables[EASY_CLOCK_OFF_TABLE];
  ASSERT_EQ(10u, easy.size());
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(before.tables[EASY_CLOCK_OFF_TABLE][i].score, easy[i].score);
    EXPECT_EQ(before.tables[EASY_CLOCK_OFF_TABLE][i].name, easy[i].name);
  }
  const std::vector<uint8_t> game = dataBytes("gameState.dat");
  EXPECT_EQ(0, savedScore(game));
  EXPECT_EQ(0, savedMoveCount(game));
}

TEST_F(NewHighScoreTest, AbandonedGameWithAPlaceAsksForTheNameAndOffersTheLastOne) {
  SavedHiScores before = emptyHiScores();
  before.lastName = "Ann";
  SavedBoard board = TestBoards::almostALine(5);
  board.score = 30;
  ASSERT_NO_FATAL_FAILURE(launchOn(board, before));
  leaveStartScreen();
  openGameMenu();
  chooseFromGameMenu(NEW_GAME);
  session.saveScreenshot(shotName("1-name-entry"));
  // The field offers "Ann"; the player takes it as it is.
  session.tap(160, NAME_OKAY_Y);
  const AlertOnScreen question = waitForAlert(3000);
  ASSERT_TRUE(question.shown()) << "no \"Submit Score\" question after the name";
  ASSERT_TRUE(session.pressKey(XK_Escape));
  EXPECT_TRUE(alertGoneFor(300));
  EXPECT_TRUE(answered([&] { session.tap(160, HISCORES_BACK_Y); })) << "\"Back\" did nothing";
  session.saveScreenshot(shotName("2-new-game"));
  closeAndExpectNormalExit();

  const SavedHiScores after = readHiScores(dataBytes("hiScores.dat"));
  ASSERT_TRUE(after.valid);
  ASSERT_EQ(12u, after.tables.size());
  EXPECT_EQ("Ann", after.tables[EASY_CLOCK_OFF_TABLE][0].name);
  EXPECT_EQ(30, after.tables[EASY_CLOCK_OFF_TABLE][0].score);
  EXPECT_EQ(-1, after.tables[EASY_CLOCK_OFF_TABLE][1].score);
  const std::vector<uint8_t> game = dataBytes("gameState.dat");
  EXPECT_EQ(0, savedScore(game));
  EXPECT_EQ(0, savedMoveCount(game));
}

TEST_F(NewHighScoreTest, OverlongNameIsStoredCutToWholeCharacters) {
  ASSERT_NO_FATAL_FAILURE(playTheLastMove(120, emptyHiScores()));
  std::string typed;
  for (int i = 0; i < 130; ++i) typed += "\xc3\xab";  // 260 bytes of two-byte letters
  enterName(typed);
  ASSERT_TRUE(waitForAlert(3000).shown()) << "no \"Submit Score\" question after the name";
  ASSERT_TRUE(session.pressKey(XK_Escape));
  session.saveScreenshot(shotName("1-local-table"));
  closeAndExpectNormalExit();

  // The file stays readable: the name within 255 bytes, cut between characters.
  const SavedHiScores after = readHiScores(dataBytes("hiScores.dat"));
  ASSERT_TRUE(after.valid) << "hiScores.dat no longer reads as a whole";
  ASSERT_EQ(12u, after.tables.size());
  const SavedScore& entry = after.tables[EASY_CLOCK_OFF_TABLE][0];
  EXPECT_EQ(120, entry.score);
  EXPECT_FALSE(entry.name.empty());
  EXPECT_LE(entry.name.size(), 255u);
  EXPECT_EQ(0u, entry.name.size() % 2) << "a character was split";
  EXPECT_EQ(0, typed.compare(0, entry.name.size(), entry.name));
  EXPECT_EQ(entry.name, after.lastName);
}

}  // namespace
