// Changing the game mode in the settings with the real game: after three moves the game asks
// "Game Mode Change" and the answer decides whether the game restarts in the new mode ("Change
// Mode") or goes on in the old one ("Keep Playing", which Return and Escape choose too); after
// fewer moves it restarts without asking. A restart first offers the running score's name
// entry (the player types a name and presses Return), then the high scores, then the new game.
// Checked on screen and in settings.dat, gameState.dat and hiScores.dat after exit.
#include <X11/keysym.h>

#include "GameTestFixture.h"
#include "TestBoards.h"

namespace {

using namespace ScreenLayout;

const int EASY_ID = 0;
const int HARD_ID = 1;

enum class Answer { NONE, CLICK_CHANGE, RETURN_KEY, CLICK_KEEP, ESCAPE_KEY };
const int EASY_CLOCK_OFF_TABLE = 6;

struct ModeChangeCase {
  const char* name;
  int movesBeforeLaunch;  // one more is made in the test
  Answer answer;
  bool asks;
  bool restarts;
};

// Test lists and failures name the case, not its bytes.
void PrintTo(const ModeChangeCase& c, std::ostream* out) { *out << c.name; }

class SettingsModeChangeTest : public GameTestFixture, public ::testing::WithParamInterface<ModeChangeCase> {
 protected:
  void answer(const AlertOnScreen& alert, Answer how) {
    switch (how) {
      case Answer::CLICK_CHANGE:
        ASSERT_FALSE(alert.otherButton.empty()) << "the alert shows no second button";
        ASSERT_LT(alert.preferredButton.x, alert.otherButton.x) << "\"Keep Playing\" is not the default";
        clickButton(alert.otherButton);
        break;
      // The safe answer wears the accent: it is the default.
      case Answer::CLICK_KEEP: clickButton(alert.preferredButton); break;
      case Answer::RETURN_KEY: ASSERT_TRUE(session.pressKey(XK_Return)); break;
      case Answer::ESCAPE_KEY: ASSERT_TRUE(session.pressKey(XK_Escape)); break;
      case Answer::NONE: break;
    }
  }
};

TEST_P(SettingsModeChangeTest, AnswerDecidesBetweenNewGameAndOldOne) {
  const ModeChangeCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(
      launchWith(settingsRecord(EASY_ID, true, false, 0.5f), savedGame(TestBoards::almostALine(c.movesBeforeLaunch))));
  leaveStartScreen();
  dragBall(4, 3, 4, 9);

  openGameMenu();
  const ScreenImage menu = session.screen();
  session.saveScreenshot(shotName("1-menu"));
  chooseFromGameMenu(SETTINGS);
  EXPECT_TRUE(answered([&] { session.tap(modeColumnX(HARD), MODE_TAP_Y); })) << "Hard was not selected";
  session.saveScreenshot(shotName("2-settings"));
  session.tap(160, SETTINGS_DONE_Y);

  if (c.asks) {
    const AlertOnScreen alert = waitForAlert(5000);
    session.saveScreenshot(shotName("3-alert"));
    ASSERT_TRUE(alert.shown()) << "no \"Game Mode Change\" alert after " << c.movesBeforeLaunch + 1 << " moves";
    answer(alert, c.answer);
    EXPECT_TRUE(alertGoneFor(300)) << "the alert stayed after the answer";
  } else {
    EXPECT_TRUE(noAlertFor(1500)) << "asked although only " << c.movesBeforeLaunch + 1 << " moves were made";
  }
  session.saveScreenshot(shotName("4-after"));
  if (!c.restarts) {
    // Back where the settings were opened from: the game menu over the unchanged board.
    EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(menu, 24) < 0.02; }, 3000))
        << "the game menu over the old board is not back";
  } else {
    // The score of 6 earns a place: its name entry comes first, then the high scores.
    settle();
    enterName("Mo");
    session.saveScreenshot(shotName("5-high-scores"));
    EXPECT_TRUE(answered([&] { session.tap(160, HISCORES_BACK_Y); })) << "\"Back\" did nothing";
    // Then play on the new board: no menu over it.
    session.saveScreenshot(shotName("6-new-game"));
    EXPECT_GT(session.screen().fractionDifferent(menu, 24), 0.2);
  }

  closeAndExpectNormalExit();
  const std::vector<uint8_t> settings = dataBytes("settings.dat");
  ASSERT_EQ(36u, settings.size());
  EXPECT_EQ(c.restarts ? HARD_ID : EASY_ID, settingsGameMode(settings));
  EXPECT_TRUE(settingsClockDisabled(settings)) << "the clock switch was not touched";

  const SavedHiScores scores = readHiScores(dataBytes("hiScores.dat"));
  ASSERT_TRUE(scores.valid);
  ASSERT_EQ(12u, scores.tables.size());
  const std::vector<SavedScore>& easy = scores.tables[EASY_CLOCK_OFF_TABLE];
  if (c.restarts) {
    // In the table of the mode the game was played in.
    ASSERT_FALSE(easy.empty());
    EXPECT_EQ(6, easy[0].score);
    EXPECT_EQ("Mo", easy[0].name);
  } else {
    for (const SavedScore& entry : easy) EXPECT_EQ(-1, entry.score);
  }

  const std::vector<uint8_t> game = dataBytes("gameState.dat");
  ASSERT_EQ(1128u, game.size());
  if (c.restarts) {
    EXPECT_EQ(HARD_ID, savedGameMode(game));
    EXPECT_EQ(0, savedScore(game));
    EXPECT_EQ(0, savedMoveCount(game));
    EXPECT_GT(savedStoneCount(game), 0);
    EXPECT_LT(savedStoneCount(game), 12) << "a new game starts with a few balls only";
  } else {
    EXPECT_EQ(EASY_ID, savedGameMode(game));
    EXPECT_EQ(6, savedScore(game));
    EXPECT_EQ(c.movesBeforeLaunch + 1, savedMoveCount(game));
    EXPECT_EQ(2, savedStone(game, 7, 0));
    EXPECT_EQ(0, savedStone(game, 4, 9));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SettingsModeChangeTest,
    ::testing::Values(ModeChangeCase{"ChangeClickedRestartsInNewMode", 2, Answer::CLICK_CHANGE, true, true},
                      ModeChangeCase{"ReturnKeyKeepsGame", 2, Answer::RETURN_KEY, true, false},
                      ModeChangeCase{"KeepClickedKeepsGame", 2, Answer::CLICK_KEEP, true, false},
                      ModeChangeCase{"EscapeKeyKeepsGame", 2, Answer::ESCAPE_KEY, true, false},
                      ModeChangeCase{"TwoMovesRestartWithoutAsking", 1, Answer::NONE, false, true}),
    [](const ::testing::TestParamInfo<ModeChangeCase>& info) { return std::string(info.param.name); });

}  // namespace
