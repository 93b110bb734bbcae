// Game controllers as SDL sees them, through its virtual joysticks: pads plugged in and pulled
// out while the translator runs, buttons, d-pad and stick turned into commands, held directions
// repeating like keys, and nothing left held by a pad that went.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GamepadTranslator.h"
#include "VirtualPads.h"

namespace {

using Commands = std::vector<GamepadTranslator::Command>;

class GamepadTranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pads = std::make_unique<VirtualPads>();
    ASSERT_TRUE(pads->started());
    translator = &pads->translator();
    deliver(0);
  }
  void TearDown() override { pads.reset(); }

  SDL_Joystick* plugIn(const VirtualPads::Make& make = VirtualPads::Make()) { return pads->plugIn(make); }
  void pullOut(SDL_Joystick* pad) { pads->pullOut(pad); }
  Commands deliver(uint32_t nowMs) { return pads->deliver(nowMs); }
  Commands button(SDL_Joystick* pad, SDL_GameControllerButton which, bool down, uint32_t nowMs) {
    SDL_JoystickSetVirtualButton(pad, which, down ? 1 : 0);
    return deliver(nowMs);
  }
  Commands stick(SDL_Joystick* pad, int x, int y, uint32_t nowMs) {
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    return deliver(nowMs);
  }

  std::unique_ptr<VirtualPads> pads;
  GamepadTranslator* translator = nullptr;
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

// The instructions name the buttons of the pad that was used last, by its make; with every pad
// gone they name none.
TEST_F(GamepadTranslatorTest, TheStyleInUseIsThatOfThePadUsedLast) {
  EXPECT_EQ(GamepadStyle::NONE, translator->styleInUse());
  const struct {
    VirtualPads::Make make;
    GamepadStyle style;
  } makes[] = {
      {VirtualPads::Make(), GamepadStyle::XBOX},  // SDL's own virtual pad: no make of its own
      {VirtualPads::XBOX_ONE, GamepadStyle::XBOX},
      {VirtualPads::DUALSHOCK_4, GamepadStyle::PLAYSTATION},
      {VirtualPads::DUALSENSE, GamepadStyle::PLAYSTATION},
      {VirtualPads::SWITCH_PRO, GamepadStyle::NINTENDO},
  };
  std::vector<SDL_Joystick*> plugged;
  uint32_t now = 100;
  for (const auto& m : makes) {
    plugged.push_back(plugIn(m.make));
    deliver(now += 100);
    EXPECT_EQ(m.style, translator->styleInUse()) << m.make.name << ": the pad plugged in last";
  }
  // Pressing a button of an older pad makes it the one in use; so does its stick.
  button(plugged[2], SDL_CONTROLLER_BUTTON_A, true, now += 100);
  EXPECT_EQ(GamepadStyle::PLAYSTATION, translator->styleInUse());
  stick(plugged[4], 30000, 0, now += 100);
  EXPECT_EQ(GamepadStyle::NINTENDO, translator->styleInUse());
  // The pad in use pulled out: the one plugged in last of those left speaks.
  pullOut(plugged[4]);
  deliver(now += 100);
  EXPECT_EQ(GamepadStyle::PLAYSTATION, translator->styleInUse());
  for (int i = 0; i < 4; ++i) pullOut(plugged[static_cast<size_t>(i)]);
  deliver(now += 100);
  EXPECT_EQ(0, translator->padCount());
  EXPECT_EQ(GamepadStyle::NONE, translator->styleInUse());
}

TEST(GamepadStyleTest, SwitchPadsReadByPositionSwapTheirLabels) {
  EXPECT_EQ(GamepadStyle::NINTENDO, GamepadTranslator::styleOf(SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO, true));
  EXPECT_EQ(GamepadStyle::NINTENDO_BY_POSITION,
            GamepadTranslator::styleOf(SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR, false));
  EXPECT_EQ(GamepadStyle::PLAYSTATION, GamepadTranslator::styleOf(SDL_CONTROLLER_TYPE_PS3, false));
  EXPECT_EQ(GamepadStyle::XBOX, GamepadTranslator::styleOf(SDL_CONTROLLER_TYPE_UNKNOWN, true));
  EXPECT_EQ(GamepadStyle::XBOX, GamepadTranslator::styleOf(SDL_CONTROLLER_TYPE_XBOX360, false));
}

}  // namespace
