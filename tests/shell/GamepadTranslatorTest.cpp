// Game controllers as SDL sees them, through its virtual joysticks: pads plugged in and pulled
// out while the translator runs, buttons, d-pad and stick turned into commands, held directions
// repeating like keys, and nothing left held by a pad that went.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "GamepadTranslator.h"

namespace {

using Commands = std::vector<GamepadTranslator::Command>;

class GamepadTranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ASSERT_EQ(0, SDL_Init(SDL_INIT_EVENTS)) << SDL_GetError();
    translator = new GamepadTranslator();
    ASSERT_TRUE(translator->start()) << SDL_GetError();
    deliver(0);
  }
  void TearDown() override {
    for (SDL_Joystick* pad : attached) SDL_JoystickClose(pad);
    delete translator;
    SDL_Quit();
  }

  // A pad of the standard layout, plugged in; SDL maps it as a game controller of its own accord.
  SDL_Joystick* plugIn() {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    EXPECT_NE(nullptr, pad) << SDL_GetError();
    attached.push_back(pad);
    return pad;
  }
  void pullOut(SDL_Joystick* pad) {
    const int index = deviceIndexOf(pad);
    SDL_JoystickClose(pad);
    attached.erase(std::find(attached.begin(), attached.end(), pad));
    ASSERT_EQ(0, SDL_JoystickDetachVirtual(index)) << SDL_GetError();
  }
  static int deviceIndexOf(SDL_Joystick* pad) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
    return -1;
  }

  // SDL's pending events, all passed to the translator at `nowMs`; the commands they gave.
  Commands deliver(uint32_t nowMs) {
    SDL_JoystickUpdate();
    Commands commands;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      const Commands given = translator->handle(event, nowMs);
      commands.insert(commands.end(), given.begin(), given.end());
    }
    return commands;
  }
  Commands button(SDL_Joystick* pad, SDL_GameControllerButton which, bool down, uint32_t nowMs) {
    SDL_JoystickSetVirtualButton(pad, which, down ? 1 : 0);
    return deliver(nowMs);
  }
  Commands stick(SDL_Joystick* pad, int x, int y, uint32_t nowMs) {
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    return deliver(nowMs);
  }

  GamepadTranslator* translator = nullptr;
  std::vector<SDL_Joystick*> attached;
};

TEST_F(GamepadTranslatorTest, ButtonsAndDpadOfAPadPluggedInLaterBecomeCommands) {
  EXPECT_EQ(0, translator->padCount());
  SDL_Joystick* pad = plugIn();
  deliver(0);
  ASSERT_EQ(1, translator->padCount());

  const struct {
    SDL_GameControllerButton button;
    Commands onPress;
  } cases[] = {
      {SDL_CONTROLLER_BUTTON_A, {GamepadTranslator::ACCEPT}},
      {SDL_CONTROLLER_BUTTON_B, {GamepadTranslator::BACK}},
      {SDL_CONTROLLER_BUTTON_START, {GamepadTranslator::MENU}},
      {SDL_CONTROLLER_BUTTON_BACK, {GamepadTranslator::MENU}},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, {GamepadTranslator::MOVE_UP}},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {GamepadTranslator::MOVE_DOWN}},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {GamepadTranslator::MOVE_LEFT}},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {GamepadTranslator::MOVE_RIGHT}},
      {SDL_CONTROLLER_BUTTON_X, {}},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {}},
  };
  uint32_t now = 1000;
  for (const auto& c : cases) {
    EXPECT_EQ(c.onPress, button(pad, c.button, true, now)) << SDL_GameControllerGetStringForButton(c.button);
    EXPECT_EQ(Commands{}, button(pad, c.button, false, now + 10)) << SDL_GameControllerGetStringForButton(c.button);
    now += 1000;
  }
  // Nothing stays held once every button is up.
  EXPECT_EQ(-1, translator->msUntilRepeat(now));
}

TEST_F(GamepadTranslatorTest, AHeldDirectionRepeatsLikeAKeyUntilReleased) {
  SDL_Joystick* pad = plugIn();
  deliver(0);
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_RIGHT}, button(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true, 1000));
  EXPECT_EQ(static_cast<int>(GamepadTranslator::REPEAT_DELAY_MS), translator->msUntilRepeat(1000));
  EXPECT_EQ(Commands{}, translator->repeatsDue(1000 + GamepadTranslator::REPEAT_DELAY_MS - 1));
  uint32_t now = 1000 + GamepadTranslator::REPEAT_DELAY_MS;
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_RIGHT}, translator->repeatsDue(now));
  now += GamepadTranslator::REPEAT_INTERVAL_MS;
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_RIGHT}, translator->repeatsDue(now));
  button(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false, now + 1);
  EXPECT_EQ(-1, translator->msUntilRepeat(now + 1));
  EXPECT_EQ(Commands{}, translator->repeatsDue(now + 10000));
}

TEST_F(GamepadTranslatorTest, LettingGoOfEverythingStopsHeldDirectionsOfEveryPad) {
  SDL_Joystick* first = plugIn();
  SDL_Joystick* second = plugIn();
  deliver(0);
  button(first, SDL_CONTROLLER_BUTTON_DPAD_UP, true, 100);
  stick(second, 30000, 0, 100);
  ASSERT_NE(-1, translator->msUntilRepeat(100));
  translator->releaseAll();
  EXPECT_EQ(-1, translator->msUntilRepeat(100));
  EXPECT_EQ(Commands{}, translator->repeatsDue(5000));
  // The stick still pushed gives its direction again once it moves.
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_RIGHT}, stick(second, 31000, 0, 6000));
}

TEST_F(GamepadTranslatorTest, TheStickMovesPastItsDeadZoneAlongItsLargerAxis) {
  SDL_Joystick* pad = plugIn();
  deliver(0);
  const int push = GamepadTranslator::STICK_PUSH + 1000;
  EXPECT_EQ(Commands{}, stick(pad, GamepadTranslator::STICK_PUSH - 2000, 0, 100)) << "inside the dead zone";
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_LEFT}, stick(pad, -push, 0, 200));
  // Wobbling while held neither repeats at once nor ends the push above the release line.
  EXPECT_EQ(Commands{}, stick(pad, -(GamepadTranslator::STICK_RELEASE + 1000), 3000, 250));
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_LEFT}, translator->repeatsDue(200 + GamepadTranslator::REPEAT_DELAY_MS));
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_DOWN}, stick(pad, 0, push, 900)) << "turned straight down";
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_UP}, stick(pad, 1000, -32768, 1000));
  EXPECT_EQ(Commands{}, stick(pad, 0, 0, 1100)) << "let go";
  EXPECT_EQ(-1, translator->msUntilRepeat(1100));
}

TEST_F(GamepadTranslatorTest, PadsComeAndGoAndOneThatGoesMidMoveLeavesNothingHeld) {
  SDL_Joystick* first = plugIn();
  SDL_Joystick* second = plugIn();
  deliver(0);
  ASSERT_EQ(2, translator->padCount());
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_UP}, button(first, SDL_CONTROLLER_BUTTON_DPAD_UP, true, 100));
  EXPECT_EQ(Commands{GamepadTranslator::ACCEPT}, button(second, SDL_CONTROLLER_BUTTON_A, true, 150));

  pullOut(first);
  deliver(200);
  EXPECT_EQ(1, translator->padCount());
  EXPECT_EQ(-1, translator->msUntilRepeat(200)) << "the pulled pad's direction stays held";
  EXPECT_EQ(Commands{}, translator->repeatsDue(5000));
  // The other pad plays on, and a pad plugged in again is opened again.
  EXPECT_EQ(Commands{GamepadTranslator::BACK}, button(second, SDL_CONTROLLER_BUTTON_B, true, 300));
  SDL_Joystick* again = plugIn();
  deliver(400);
  EXPECT_EQ(2, translator->padCount());
  EXPECT_EQ(Commands{GamepadTranslator::MOVE_LEFT}, button(again, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true, 500));
}

}  // namespace
