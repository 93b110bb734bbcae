// A whole game and its menus played with a pad alone: a virtual pad of SDL's, plugged in while
// the game runs, read by the translator and passed on to the real controller; and a pad pulled
// out mid-move, after which the keys play on with nothing held.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "ControllerFixture.h"
#include "GamepadPlay.h"
#include "GamepadTranslator.h"
#include "ViewRoot.h"
#include "VirtualPads.h"

namespace {

class GamepadPlayTest : public ControllerTest {
 protected:
  void SetUp() override {
    ControllerTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    views = std::make_shared<Ui::ViewRoot>();
    game->attachViews(views);
    pads = std::make_unique<VirtualPads>();
    ASSERT_TRUE(pads->started());
    pad = pads->plugIn();
    deliver();
    ASSERT_EQ(1, pads->translator().padCount());
  }
  void TearDown() override {
    pads.reset();
    views.reset();
    ControllerTest::TearDown();
  }

  // SDL's pending pad events through the translator and on to the game as the shell passes
  // them, with the repeats due, then 50 ms later a frame.
  void deliver() {
    const uint32_t now = static_cast<uint32_t>(wallClockMs());
    GamepadTranslator& translator = pads->translator();
    for (const GamepadTranslator::Command command : pads->deliver(now)) GamepadPlay::apply(command, *game, *views);
    for (const GamepadTranslator::Command command : translator.repeatsDue(now)) GamepadPlay::apply(command, *game, *views);
    GamepadPlay::showPadInUse(translator.styleInUse(), *game);
    advance(50);
    frame();
  }
  // A button pressed and let go.
  void push(SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(pad, button, 1);
    deliver();
    SDL_JoystickSetVirtualButton(pad, button, 0);
    deliver();
  }
  void pushes(std::initializer_list<SDL_GameControllerButton> buttons) {
    for (SDL_GameControllerButton button : buttons) push(button);
  }
  void pushTimes(SDL_GameControllerButton button, int times) {
    for (int i = 0; i < times; ++i) push(button);
  }
  // The cursor taken to `to` with the d-pad, through the top-left corner.
  void cursorTo(Square to) {
    for (int i = 0; i < 10; ++i) pushes({SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_LEFT});
    for (int x = 0; x < to.x; ++x) push(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    for (int y = 0; y < to.y; ++y) push(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    ASSERT_EQ(to, game->cursor().square());
  }
  // The cursor taken to `to` with the d-pad by the shortest way from where it is.
  void cursorStraightTo(Square to) {
    const Square at = game->cursor().square();
    pushTimes(to.x < at.x ? SDL_CONTROLLER_BUTTON_DPAD_LEFT : SDL_CONTROLLER_BUTTON_DPAD_RIGHT, std::abs(to.x - at.x));
    pushTimes(to.y < at.y ? SDL_CONTROLLER_BUTTON_DPAD_UP : SDL_CONTROLLER_BUTTON_DPAD_DOWN, std::abs(to.y - at.y));
    ASSERT_EQ(to, game->cursor().square());
  }

  std::shared_ptr<Ui::ViewRoot> views;
  std::unique_ptr<VirtualPads> pads;
  SDL_Joystick* pad = nullptr;
};

TEST_F(GamepadPlayTest, StartStartsAndTheDpadStickAndAMakeAMove) {
  ASSERT_EQ(GameController::STATE_SPLASH, game->state());
  push(SDL_CONTROLLER_BUTTON_START);
  ASSERT_EQ(GameController::STATE_PLAYING, game->state());
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  game->gameBoard().pendingStones.clear();
  game->gameBoard().pendingStoneTimes.clear();

  cursorTo(Square(0, 0));
  EXPECT_TRUE(game->cursor().visible);
  push(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(Square(0, 0), game->gameBoard().selected);
  // The stick held right walks the cursor by itself: one step at once, then repeats.
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 30000);
  deliver();
  EXPECT_EQ(Square(1, 0), game->cursor().square());
  advance(static_cast<int>(GamepadTranslator::REPEAT_DELAY_MS));
  deliver();
  EXPECT_EQ(Square(2, 0), game->cursor().square());
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
  deliver();
  advance(1000);
  deliver();
  EXPECT_EQ(Square(2, 0), game->cursor().square()) << "the released stick walked on";
  push(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  push(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(Square(), game->gameBoard().selected);
  EXPECT_EQ(STONE_BLUE, game->gameBoard().stones[1][2]);
  EXPECT_EQ(1, game->gameBoard().moveCount);
}

TEST_F(GamepadPlayTest, MenusAreWorkedWithTheDpadAAndB) {
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(GameController::STATE_PLAYING, game->state());
  // B with a ball held puts it back; Start opens the menu, and B resumes.
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  cursorTo(Square(0, 0));
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Square(0, 0), game->gameBoard().selected);
  push(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(Square(), game->gameBoard().selected);
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  push(SDL_CONTROLLER_BUTTON_START);
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());
  push(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());

  // Start with a ball held goes straight to the menu; down twice and A open the settings.
  push(SDL_CONTROLLER_BUTTON_A);
  push(SDL_CONTROLLER_BUTTON_BACK);
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());
  EXPECT_EQ(Square(), game->gameBoard().selected);
  pushes({SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_A});
  ASSERT_EQ(GameController::STATE_SETTINGS, game->state());
  // B leaves the settings as Done does.
  push(SDL_CONTROLLER_BUTTON_B);
  EXPECT_NE(GameController::STATE_SETTINGS, game->state());
}

TEST_F(GamepadPlayTest, APadPulledOutMidMoveLeavesNothingHeldAndTheKeysPlayOn) {
  push(SDL_CONTROLLER_BUTTON_START);
  emptyBoardInPlay();
  put(0, 0, STONE_GREEN);
  game->gameBoard().pendingStones.clear();
  game->gameBoard().pendingStoneTimes.clear();
  cursorTo(Square(0, 0));
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Square(0, 0), game->gameBoard().selected);
  // Pulled out while the d-pad is held down.
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
  deliver();
  EXPECT_EQ(Square(0, 1), game->cursor().square());
  pads->pullOut(pad);
  pad = nullptr;
  deliver();
  EXPECT_EQ(0, pads->translator().padCount());
  advance(2000);
  deliver();
  EXPECT_EQ(Square(0, 1), game->cursor().square()) << "the pulled pad's d-pad kept walking";
  // The ball is still held, and the keys finish the move.
  game->handleKey(GameKey::DOWN);
  game->handleKey(GameKey::ACTIVATE);
  EXPECT_EQ(STONE_GREEN, game->gameBoard().stones[2][0]);
  EXPECT_EQ(1, game->gameBoard().moveCount);
}

// The screens hear of the pad in use through the shell's path: a PlayStation pad picked up, then
// every pad pulled out.
TEST_F(GamepadPlayTest, TheScreensNameThePadInUseUntilEveryPadIsGone) {
  EXPECT_EQ(GamepadStyle::XBOX, game->gameScreens().gamepadStyle());
  SDL_Joystick* dualShock = pads->plugIn(VirtualPads::DUALSHOCK_4);
  deliver();
  EXPECT_EQ(GamepadStyle::PLAYSTATION, game->gameScreens().gamepadStyle());
  push(SDL_CONTROLLER_BUTTON_START);
  EXPECT_EQ(GamepadStyle::XBOX, game->gameScreens().gamepadStyle()) << "the first pad was used last";
  pads->pullOut(dualShock);
  pads->pullOut(pad);
  pad = nullptr;
  deliver();
  EXPECT_EQ(GamepadStyle::NONE, game->gameScreens().gamepadStyle());
}

// From the start screen to the end of a game and on through the menus, the pad alone. The board is
// laid out before the pad starts so that the game ends in a few moves: every square but a few
// filled with colours that touch no equal neighbour (so no line forms by chance), four white
// balls in the top row waiting for a fifth, which the first move brings.
TEST_F(GamepadPlayTest, AWholeGameAndTheMenusArePlayedWithThePadAlone) {
  Board& board = game->gameBoard();
  const int width = board.width, height = board.height;
  board.reset(false);
  board.timedEvents.clear();
  for (int x = 0; x < 4; ++x) put(x, 0, STONE_WHITE);
  put(4, 2, STONE_WHITE);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (!(x == 4 && y < 2)) put(x, y, (x + 2 * y) % 5 + 1);
  game->localHiScores().lastName = MyTl::BasicString<char>("Pad Player");

  // --- Only the pad from here on. ---
  ASSERT_EQ(GameController::STATE_SPLASH, game->state());
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(GameController::STATE_PLAYING, game->state());
  // The fifth white ball completes the row.
  cursorStraightTo(Square(4, 2));
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Square(4, 2), board.selected);
  cursorStraightTo(Square(4, 0));
  push(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(Square(), board.selected);
  for (int i = 0; i < 100 && board.score == 0; ++i) deliver();
  const int score = board.score;
  EXPECT_EQ(6, score) << "five balls in a row";

  // Then any ball beside a free square steps onto it until the board is full.
  int moves = 1;
  for (; moves < 40 && game->state() == GameController::STATE_PLAYING; ++moves) {
    Square from, to;
    for (int y = 0; y < height && from.x == -1; ++y) {
      for (int x = 0; x < width && from.x == -1; ++x) {
        if (board.stones[y][x] == SQUARE_EMPTY) continue;
        for (Square next : {Square(x + 1, y), Square(x - 1, y), Square(x, y + 1), Square(x, y - 1)}) {
          if (next.x < 0 || next.y < 0 || next.x >= width || next.y >= height) continue;
          if (board.stones[next.y][next.x] != SQUARE_EMPTY) continue;
          from = Square(x, y);
          to = next;
          break;
        }
      }
    }
    ASSERT_NE(-1, from.x) << "a board with free squares and no move";
    const int movesBefore = board.moveCount;
    cursorStraightTo(from);
    push(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(from, board.selected);
    cursorStraightTo(to);
    push(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(movesBefore + 1, board.moveCount);
  }
  ASSERT_NE(GameController::STATE_PLAYING, game->state()) << moves << " moves and the board is not full";
  // The full board stays a moment, then the name entry offers the last name.
  for (int i = 0; i < 400 && game->state() == GameController::STATE_GAME_ENDING; ++i) deliver();
  ASSERT_EQ(GameController::STATE_NEW_HISCORE, game->state());
  push(SDL_CONTROLLER_BUTTON_A);
  // An offer to send the score to the global table, where there is one, is declined with B.
  if (views->activeModal() != nullptr) push(SDL_CONTROLLER_BUTTON_B);
  ASSERT_EQ(GameController::STATE_HISCORES, game->state());
  const HiScore& entry = game->localHiScores().table(game->tableIndex())[0];
  EXPECT_EQ(score, entry.score);
  EXPECT_STREQ("Pad Player", entry.name.c_str());
  // B leaves the table for a new game.
  push(SDL_CONTROLLER_BUTTON_B);
  ASSERT_EQ(GameController::STATE_PLAYING, game->state());
  EXPECT_EQ(0, board.score);
  EXPECT_EQ(0, board.moveCount);

  // The menus (each opens with its first entry lit): the instructions to the page that names the
  // pad's buttons, then to the end...
  push(SDL_CONTROLLER_BUTTON_START);
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());
  pushTimes(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 4);
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(GameController::STATE_INSTRUCTIONS, game->state());
  pushTimes(SDL_CONTROLLER_BUTTON_A, 2);
  EXPECT_EQ(3, game->instructionsPageShown());
  EXPECT_EQ(GamepadStyle::XBOX, game->gameScreens().gamepadStyle());
  pushTimes(SDL_CONTROLLER_BUTTON_A, 2);
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());
  // ...the high scores and back...
  pushTimes(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 3);
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(GameController::STATE_HISCORES, game->state());
  push(SDL_CONTROLLER_BUTTON_B);
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());
  // ...the settings, where the clock is switched off and Done pressed with B...
  const bool clockWasOff = liveSettings().clockDisabled;
  pushTimes(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2);
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(GameController::STATE_SETTINGS, game->state());
  pushTimes(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2);
  push(SDL_CONTROLLER_BUTTON_A);
  push(SDL_CONTROLLER_BUTTON_B);
  EXPECT_NE(GameController::STATE_SETTINGS, game->state());
  EXPECT_NE(clockWasOff, liveSettings().clockDisabled);
  // ...and back to the game.
  if (game->state() == GameController::STATE_GAME_MENU) push(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
}

}  // namespace
