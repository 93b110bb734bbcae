// A whole game and its menus played with a pad alone: a virtual pad of SDL's, plugged in while
// the game runs, read by the translator and passed on to the real controller; and a pad pulled
// out mid-move, after which the keys play on with nothing held.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ControllerFixture.h"
#include "GamepadPlay.h"
#include "GamepadTranslator.h"
#include "ViewRoot.h"

namespace {

class GamepadPlayTest : public ControllerTest {
 protected:
  void SetUp() override {
    ControllerTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    views = std::make_shared<Ui::ViewRoot>();
    game->attachViews(views);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ASSERT_EQ(0, SDL_Init(SDL_INIT_EVENTS)) << SDL_GetError();
    translator = std::make_unique<GamepadTranslator>();
    ASSERT_TRUE(translator->start()) << SDL_GetError();
    pad = plugIn();
  }
  void TearDown() override {
    if (pad != nullptr) SDL_JoystickClose(pad);
    translator.reset();
    SDL_Quit();
    views.reset();
    ControllerTest::TearDown();
  }

  SDL_Joystick* plugIn() {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* opened = SDL_JoystickOpen(index);
    deliver();
    EXPECT_EQ(1, translator->padCount());
    return opened;
  }

  // SDL's pending pad events through the translator and on to the game, then a frame.
  void deliver() {
    SDL_JoystickUpdate();
    SDL_Event event;
    while (SDL_PollEvent(&event))
      for (const GamepadTranslator::Command command : translator->handle(event, static_cast<uint32_t>(wallClockMs())))
        GamepadPlay::apply(command, *game, *views);
    for (const GamepadTranslator::Command command : translator->repeatsDue(static_cast<uint32_t>(wallClockMs())))
      GamepadPlay::apply(command, *game, *views);
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
  // The cursor taken to `to` with the d-pad, through the top-left corner.
  void cursorTo(Square to) {
    for (int i = 0; i < 10; ++i) pushes({SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_LEFT});
    for (int x = 0; x < to.x; ++x) push(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    for (int y = 0; y < to.y; ++y) push(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    ASSERT_EQ(to, game->keyboardCursor.square());
  }

  std::shared_ptr<Ui::ViewRoot> views;
  std::unique_ptr<GamepadTranslator> translator;
  SDL_Joystick* pad = nullptr;
};

TEST_F(GamepadPlayTest, StartStartsAndTheDpadStickAndAMakeAMove) {
  ASSERT_EQ(GameController::STATE_SPLASH, game->gameState);
  push(SDL_CONTROLLER_BUTTON_START);
  ASSERT_EQ(GameController::STATE_PLAYING, game->gameState);
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  game->board.pendingStones.clear();
  game->board.pendingStoneTimes.clear();

  cursorTo(Square(0, 0));
  EXPECT_TRUE(game->keyboardCursor.visible);
  push(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(Square(0, 0), game->board.selected);
  // The stick held right walks the cursor by itself: one step at once, then repeats.
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 30000);
  deliver();
  EXPECT_EQ(Square(1, 0), game->keyboardCursor.square());
  advance(static_cast<int>(GamepadTranslator::REPEAT_DELAY_MS));
  deliver();
  EXPECT_EQ(Square(2, 0), game->keyboardCursor.square());
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
  deliver();
  advance(1000);
  deliver();
  EXPECT_EQ(Square(2, 0), game->keyboardCursor.square()) << "the released stick walked on";
  push(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  push(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(Square(), game->board.selected);
  EXPECT_EQ(STONE_BLUE, game->board.stones[1][2]);
  EXPECT_EQ(1, game->board.moveCount);
}

TEST_F(GamepadPlayTest, MenusAreWorkedWithTheDpadAAndB) {
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(GameController::STATE_PLAYING, game->gameState);
  // B with a ball held puts it back; Start opens the menu, and B resumes.
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  cursorTo(Square(0, 0));
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Square(0, 0), game->board.selected);
  push(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(Square(), game->board.selected);
  EXPECT_EQ(GameController::STATE_PLAYING, game->gameState);
  push(SDL_CONTROLLER_BUTTON_START);
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->gameState);
  push(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(GameController::STATE_PLAYING, game->gameState);

  // Start with a ball held goes straight to the menu; down twice and A open the settings.
  push(SDL_CONTROLLER_BUTTON_A);
  push(SDL_CONTROLLER_BUTTON_BACK);
  ASSERT_EQ(GameController::STATE_GAME_MENU, game->gameState);
  EXPECT_EQ(Square(), game->board.selected);
  pushes({SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
          SDL_CONTROLLER_BUTTON_A});
  ASSERT_EQ(GameController::STATE_SETTINGS, game->gameState);
  // B leaves the settings as Done does.
  push(SDL_CONTROLLER_BUTTON_B);
  EXPECT_NE(GameController::STATE_SETTINGS, game->gameState);
}

TEST_F(GamepadPlayTest, APadPulledOutMidMoveLeavesNothingHeldAndTheKeysPlayOn) {
  push(SDL_CONTROLLER_BUTTON_START);
  emptyBoardInPlay();
  put(0, 0, STONE_GREEN);
  game->board.pendingStones.clear();
  game->board.pendingStoneTimes.clear();
  cursorTo(Square(0, 0));
  push(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Square(0, 0), game->board.selected);
  // Pulled out while the d-pad is held down.
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
  deliver();
  EXPECT_EQ(Square(0, 1), game->keyboardCursor.square());
  const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
  int index = -1;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) index = i;
  SDL_JoystickClose(pad);
  pad = nullptr;
  ASSERT_EQ(0, SDL_JoystickDetachVirtual(index)) << SDL_GetError();
  deliver();
  EXPECT_EQ(0, translator->padCount());
  advance(2000);
  deliver();
  EXPECT_EQ(Square(0, 1), game->keyboardCursor.square()) << "the pulled pad's d-pad kept walking";
  // The ball is still held, and the keys finish the move.
  game->handleKey(GameKey::DOWN);
  game->handleKey(GameKey::ACTIVATE);
  EXPECT_EQ(STONE_GREEN, game->board.stones[2][0]);
  EXPECT_EQ(1, game->board.moveCount);
}

}  // namespace
