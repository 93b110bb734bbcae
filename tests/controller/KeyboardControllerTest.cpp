// Keyboard play through the controller's key entry: the cursor on the board (edges, picking up,
// picking another ball, refused and made moves, Escape), the game menu's highlight, the start
// and game-over screens, the settings screen's controls and the instruction pages.
#include <gtest/gtest.h>

#include <initializer_list>

#include "ControllerFixture.h"
#include "GameStateFile.h"
#include "Settings.h"
#include "Switch.h"

namespace {

class KeyboardControllerTest : public ControllerTest {
 protected:
  void keys(std::initializer_list<GameKey> sequence) {
    for (GameKey key : sequence) {
      game->handleKey(key);
      advance(50);
      frame();
    }
  }
  // Moves the cursor from wherever it is to `to` with arrow keys (through the top-left corner).
  void cursorTo(Square to) {
    for (int i = 0; i < 10; ++i) keys({GameKey::UP, GameKey::LEFT});
    for (int x = 0; x < to.x; ++x) keys({GameKey::RIGHT});
    for (int y = 0; y < to.y; ++y) keys({GameKey::DOWN});
    ASSERT_EQ(to, game->cursor().square());
  }
};

TEST_F(KeyboardControllerTest, CursorPicksUpBallsAndDropsThemOnlyWhereTheyCanGo) {
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  put(3, 0, STONE_RED);
  // Walled-in square (7, 9).
  put(6, 9, STONE_GREEN);
  put(7, 8, STONE_GREEN);
  EXPECT_EQ(Square(0, 0), game->cursor().square());
  // The ring waits for the first key (a mouse player never sees it).
  EXPECT_FALSE(game->cursor().visible);

  // The edges stop the cursor.
  keys({GameKey::LEFT, GameKey::UP});
  EXPECT_EQ(Square(0, 0), game->cursor().square());
  EXPECT_TRUE(game->cursor().visible);
  for (int i = 0; i < 12; ++i) keys({GameKey::RIGHT, GameKey::DOWN});
  EXPECT_EQ(Square(7, 9), game->cursor().square());

  cursorTo(Square(0, 0));
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(Square(0, 0), game->gameBoard().selected);
  EXPECT_NE(-1, game->gameBoard().reachability[5][3].distance);
  // Another ball is picked instead.
  cursorTo(Square(3, 0));
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(Square(3, 0), game->gameBoard().selected);
  EXPECT_FALSE(game->gameBoard().animations[0][0].active);
  // Out of reach: nothing moves and the ball stays picked up.
  cursorTo(Square(7, 9));
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(Square(3, 0), game->gameBoard().selected);
  EXPECT_EQ(0, game->gameBoard().moveCount);
  EXPECT_EQ(SQUARE_EMPTY, game->gameBoard().stones[9][7]);

  // A reachable square: the move, saved at once. No announced balls, so nothing falls onto the
  // squares checked below.
  game->gameBoard().pendingStones.clear();
  game->gameBoard().pendingStoneTimes.clear();
  cursorTo(Square(3, 5));
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(Square(), game->gameBoard().selected);
  EXPECT_EQ(STONE_RED, game->gameBoard().stones[5][3]);
  EXPECT_EQ(SQUARE_EMPTY, game->gameBoard().stones[0][3]);
  EXPECT_EQ(1, game->gameBoard().moveCount);
  Board reloaded(game->gameClock(), game->randomSource(), game->playerSettings());
  GameStateFile::ClockIntervals intervals;
  ASSERT_TRUE(GameStateFile::load(statePath().c_str(), reloaded, intervals));
  EXPECT_EQ(1, reloaded.moveCount);
  EXPECT_EQ(STONE_RED, reloaded.stones[5][3]);

  // Return on an empty square with nothing picked up does nothing; on the picked-up ball it
  // puts the ball back.
  cursorTo(Square(1, 1));
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(Square(), game->gameBoard().selected);
  cursorTo(Square(0, 0));
  keys({GameKey::ACTIVATE, GameKey::ACTIVATE});
  EXPECT_EQ(Square(), game->gameBoard().selected);
  EXPECT_EQ(STONE_BLUE, game->gameBoard().stones[0][0]);
}

TEST_F(KeyboardControllerTest, EscapeDropsTheBallThenOpensTheMenuWhoseHighlightWrapsAround) {
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  keys({GameKey::ACTIVATE, GameKey::BACK});
  EXPECT_EQ(Square(), game->gameBoard().selected);
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  keys({GameKey::RIGHT, GameKey::BACK});
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());

  // The first entry is lit at once.
  EXPECT_EQ(0, game->highlightedButton());
  struct Step {
    GameKey key;
    int highlighted;
  } steps[] = {{GameKey::DOWN, 1}, {GameKey::NEXT, 2}, {GameKey::UP, 1}, {GameKey::UP, 0},
               {GameKey::UP, 6},   {GameKey::DOWN, 0}, {GameKey::LEFT, 0}};
  for (const Step& step : steps) {
    keys({step.key});
    EXPECT_EQ(step.highlighted, game->highlightedButton());
    EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
  }
  // Escape resumes; the cursor stays where it was.
  keys({GameKey::BACK});
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  EXPECT_EQ(Square(1, 0), game->cursor().square());
  EXPECT_EQ(STONE_BLUE, game->gameBoard().stones[0][0]);

  // Return on a highlighted entry presses it.
  keys({GameKey::BACK, GameKey::DOWN, GameKey::DOWN, GameKey::DOWN, GameKey::ACTIVATE});
  EXPECT_EQ(GameController::STATE_HISCORES, game->state());
  keys({GameKey::BACK});
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
}

// F10 or the Menu key opens the game menu straight from play, a held ball staying held, and
// closes it again.
TEST_F(KeyboardControllerTest, MenuKeyOpensAndClosesTheGameMenu) {
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  keys({GameKey::ACTIVATE, GameKey::MENU});
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());
  keys({GameKey::MENU});
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  EXPECT_EQ(Square(0, 0), game->gameBoard().selected);
  // On the settings screen it does nothing.
  keys({GameKey::MENU, GameKey::DOWN, GameKey::DOWN, GameKey::ACTIVATE});
  ASSERT_EQ(GameController::STATE_SETTINGS, game->state());
  keys({GameKey::MENU});
  EXPECT_EQ(GameController::STATE_SETTINGS, game->state());
}

TEST_F(KeyboardControllerTest, MouseMovementHidesTheRingUntilTheNextKey) {
  emptyBoardInPlay();
  game->hideKeyboardCursor();
  EXPECT_FALSE(game->cursor().visible);
  keys({GameKey::DOWN});
  EXPECT_TRUE(game->cursor().visible);
  EXPECT_EQ(Square(0, 1), game->cursor().square());
}

TEST_F(KeyboardControllerTest, ReturnOrSpaceStartsFromTheStartAndGameOverScreens) {
  ASSERT_EQ(GameController::STATE_SPLASH, game->state());
  keys({GameKey::BACK, GameKey::DOWN});
  EXPECT_EQ(GameController::STATE_SPLASH, game->state());
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());

  game->gameBoard().moveCount = 7;
  game->switchGameState(GameController::STATE_GAME_OVER);
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  EXPECT_EQ(0, game->gameBoard().moveCount);
}

TEST_F(KeyboardControllerTest, SettingsScreenIsWorkedWithTheKeys) {
  emptyBoardInPlay();
  game->gameBoard().moveCount = 2;
  liveSettings().gameMode = Settings::MODE_EASY;
  liveSettings().volume = 0.5f;
  keys({GameKey::BACK, GameKey::DOWN, GameKey::DOWN, GameKey::ACTIVATE});
  ASSERT_EQ(GameController::STATE_SETTINGS, game->state());
  ASSERT_TRUE(game->settingsScreen().clockSwitch);
  const bool clockWasOn = game->settingsScreen().clockSwitch->isOn();

  // Mode: Right moves one column (Easy to Medium) and stops at the last one (Quick).
  keys({GameKey::DOWN, GameKey::RIGHT});
  EXPECT_EQ(Settings::MODE_MEDIUM, liveSettings().gameMode);
  keys({GameKey::RIGHT, GameKey::RIGHT, GameKey::RIGHT});
  EXPECT_EQ(Settings::MODE_QUICK, liveSettings().gameMode);
  // The clock switch flips on Return.
  keys({GameKey::DOWN, GameKey::ACTIVATE});
  EXPECT_NE(clockWasOn, game->settingsScreen().clockSwitch->isOn());
  EXPECT_EQ(clockWasOn, liveSettings().clockDisabled);
  // The look steps forward on Right and Return, back on Left, and around at either end.
  keys({GameKey::DOWN, GameKey::RIGHT});
  EXPECT_EQ(Look::COLOUR_BLIND, game->renderer().look());
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(Look::HIGH_CONTRAST, game->renderer().look());
  keys({GameKey::RIGHT});
  EXPECT_EQ(Look::GLOSSY, game->renderer().look());
  keys({GameKey::LEFT});
  EXPECT_EQ(Look::HIGH_CONTRAST, game->renderer().look());
  // The volume goes down a tenth.
  keys({GameKey::DOWN, GameKey::LEFT});
  EXPECT_NEAR(0.4f, liveSettings().volume, 1e-5);
  // Done is highlighted next; Return applies (fewer than three moves: a new Quick game).
  keys({GameKey::DOWN});
  EXPECT_EQ(1, game->highlightedButton());
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
  EXPECT_EQ(7, game->gameBoard().width);

  // Escape leaves the settings screen as Done does.
  keys({GameKey::DOWN, GameKey::DOWN, GameKey::ACTIVATE});
  ASSERT_EQ(GameController::STATE_SETTINGS, game->state());
  keys({GameKey::BACK});
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
}

TEST_F(KeyboardControllerTest, InstructionPagesTurnOnReturnAndCloseOnEscape) {
  emptyBoardInPlay();
  keys({GameKey::BACK, GameKey::UP, GameKey::UP, GameKey::UP, GameKey::ACTIVATE});  // up past Quit and About
  ASSERT_EQ(GameController::STATE_INSTRUCTIONS, game->state());
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(2, game->instructionsPageShown());
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(3, game->instructionsPageShown());
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(4, game->instructionsPageShown());
  keys({GameKey::ACTIVATE});
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());

  keys({GameKey::UP, GameKey::UP, GameKey::UP, GameKey::ACTIVATE});
  ASSERT_EQ(GameController::STATE_INSTRUCTIONS, game->state());
  keys({GameKey::BACK});
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
}

}  // namespace
