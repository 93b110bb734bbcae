// The settings screen: the selector behind the chosen mode, the volume knob on the slider, the
// two switches (driven through the view root as the shell drives them), the look chooser and
// the "Game Mode Change" question answered through the view root.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Alert.h"
#include "MenuScreenTest.h"
#include "ScreenGeometry.h"
#include "Settings.h"
#include "Switch.h"
#include "WholeFile.h"

namespace {

const int DONE_BUTTON_Y = 407 + 26;

class SettingsScreenTest : public MenuScreenTest {
 protected:
  void SetUp() override {
    MenuScreenTest::SetUp();
    if (IsSkipped()) return;
    openFromGameMenu(GameController::STATE_SETTINGS);
    put(0, 0, STONE_RED);
  }

  // The frame with `change` applied to the live settings, against the frame without it.
  template <typename Change>
  PixelBox changeOf(Change change, const char* name) {
    const ScreenImage without = render();
    change();
    return render(name).differenceBox(without, 4);
  }

  bool inViews(const std::shared_ptr<Ui::Switch>& control) const {
    const auto& all = views->subviews();
    return std::count(all.begin(), all.end(), control) == 1 && control->superview() == views.get();
  }

  // Chooses another mode on the screen and taps "Done" after three moves of the running game.
  void changeModeAndTapDone() {
    game->gameBoard().moveCount = 3;
    render();
    tapScreen(250, 200);  // the "Quick" column
    ASSERT_EQ(Settings::MODE_QUICK, liveSettings().gameMode);
    tapScreen(160, DONE_BUTTON_Y);
    ASSERT_EQ(GameController::STATE_SETTINGS_CONFIRM, game->state());
  }
  Ui::Alert* question() const { return game->gameScreens().settingsAlert.get(); }
};

TEST_F(SettingsScreenTest, SelectorIsDrawnBehindTheChosenModesColumn) {
  struct Case {
    int mode;
    int centreX;
    const char* name;
  } cases[] = {{Settings::MODE_EASY, 70, "settings-easy"},
               {Settings::MODE_MEDIUM, 130, "settings-medium"},
               {Settings::MODE_HARD, 190, "settings-hard"},
               {Settings::MODE_QUICK, 250, "settings-quick"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A mode id outside the table draws no selector at all.
    liveSettings().gameMode = 7;
    const PixelBox selector = changeOf([&] { liveSettings().gameMode = c.mode; }, c.name);
    // A 69 x 72 box around the column's ball and name, no taller than they need.
    EXPECT_NEAR(c.centreX, selector.centreX(), 1.5) << selector;
    EXPECT_NEAR(ScreenGeometry::MODE_SELECTOR_CENTRE_Y, selector.centreY(), 1.5) << selector;
    EXPECT_NEAR(69, selector.width(), 3) << selector;
    EXPECT_NEAR(72, selector.height(), 3) << selector;
  }
}

TEST_F(SettingsScreenTest, VolumeKnobSitsOnTheSliderWhereTheVolumeSays) {
  struct Case {
    float volume;
    double centreX;
    const char* name;
  } cases[] = {{0.0f, 167.0, "settings-volume-0"}, {0.5f, 219.0, "settings-volume-half"}, {1.0f, 271.0, "settings-volume-1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A volume far beyond 1 puts the knob off the screen.
    liveSettings().volume = 10.0f;
    const PixelBox knob = changeOf([&] { liveSettings().volume = c.volume; }, c.name);
    // A ball of 0.66 x 38 = 25 pixels.
    EXPECT_NEAR(c.centreX, knob.centreX(), 1.5) << knob;
    EXPECT_NEAR(ScreenGeometry::VOLUME_SLIDER_Y, knob.centreY(), 1.5) << knob;
    EXPECT_NEAR(25, knob.width(), 3) << knob;
    EXPECT_NEAR(25, knob.height(), 3) << knob;
  }
}

// The clock switch shows the setting and the setting follows each tap. The two-tap setting has
// no switch any more (clicks and drags both move balls): its stored value is left as it is.
TEST_F(SettingsScreenTest, ClockSwitchShowsTheSettingAndTheSettingFollowsEachTap) {
  for (const bool twoTapStored : {false, true}) {
    SCOPED_TRACE(twoTapStored);
    liveSettings().clockDisabled = true;
    liveSettings().twoTapMoves = twoTapStored;
    // The switch takes the setting as the screen opens.
    game->switchGameState(GameController::STATE_GAME_MENU);
    game->switchGameState(GameController::STATE_SETTINGS);
    render("settings-switches", true);
    SettingsMenu& menu = game->settingsScreen();
    ASSERT_TRUE(menu.clockSwitch);
    EXPECT_FALSE(menu.clockSwitch->isOn());
    EXPECT_TRUE(inViews(menu.clockSwitch));
    EXPECT_EQ(1u, views->subviews().size()) << "a control besides the clock switch";
    // Centred at (219, 253).
    EXPECT_FLOAT_EQ(219.0f, menu.clockSwitch->frame().centerX());
    EXPECT_FLOAT_EQ(253.0f, menu.clockSwitch->frame().centerY());

    // The switch takes the taps, and the setting follows each tap at once, before any drawing.
    tapScreen(219, 253);
    EXPECT_TRUE(menu.clockSwitch->isOn());
    EXPECT_FALSE(liveSettings().clockDisabled);
    tapScreen(219, 278);  // between the switch and the look chooser: nothing
    render();
    EXPECT_FALSE(liveSettings().clockDisabled);
    EXPECT_EQ(GameController::STATE_SETTINGS, game->state());
    tapScreen(219, 253);
    EXPECT_TRUE(liveSettings().clockDisabled);
    tapScreen(160, DONE_BUTTON_Y);
    EXPECT_EQ(twoTapStored, liveSettings().twoTapMoves);
    Settings reread(liveSettings().path.c_str());
    EXPECT_EQ(twoTapStored, reread.twoTapMoves) << "the stored two-tap bit changed";
    render();
  }
}

TEST_F(SettingsScreenTest, SecondShowingReusesTheSwitchesAndEachLeavingTakesThemOffTheScreen) {
  render();
  const std::shared_ptr<Ui::Switch> clock = game->settingsScreen().clockSwitch;
  ASSERT_TRUE(clock);

  for (int showing = 1; showing <= 2; ++showing) {
    SCOPED_TRACE(showing);
    EXPECT_TRUE(inViews(clock));
    tapScreen(160, DONE_BUTTON_Y);
    EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
    // Taken off at the end of the next frame.
    EXPECT_TRUE(inViews(clock));
    render();
    EXPECT_EQ(nullptr, clock->superview());

    game->switchGameState(GameController::STATE_SETTINGS);
    render();
    EXPECT_EQ(clock, game->settingsScreen().clockSwitch);
  }
  EXPECT_TRUE(inViews(clock));
}

TEST_F(SettingsScreenTest, ModeChangeQuestionAskedWithItsTextsAndButtons) {
  changeModeAndTapDone();
  ASSERT_NE(nullptr, question());
  EXPECT_EQ(question(), views->activeModal());
  EXPECT_EQ("Game Mode Change", question()->title());
  EXPECT_EQ(
      "A new game mode starts a new game: the game in progress ends. If its score earns a place, you can enter it "
      "in the high scores first.",
      question()->message());
  ASSERT_EQ(2, question()->numberOfButtons());
  EXPECT_EQ("Keep Playing", question()->buttonTitleAtIndex(0));
  EXPECT_EQ("Change Mode", question()->buttonTitleAtIndex(1));
  EXPECT_EQ(0, question()->cancelButtonIndex());
  // The safe answer is the default: Return keeps the game.
  EXPECT_EQ(0, question()->defaultButtonIndex());
  render("settings-mode-change-question", true);
  // The screen behind keeps being drawn, and the question takes every touch.
  EXPECT_EQ(407, game->bottomButtonTop());
  tapScreen(160, DONE_BUTTON_Y);
  tapScreen(30, 200);
  EXPECT_EQ(GameController::STATE_SETTINGS_CONFIRM, game->state());
  EXPECT_EQ(Settings::MODE_QUICK, liveSettings().gameMode);
}

TEST_F(SettingsScreenTest, ModeChangeQuestionChangeStartsTheNewGameAndKeepOrAKeyKeepsTheOldOne) {
  struct Case {
    const char* answer;
    bool confirmed;
  } cases[] = {{"Return", false}, {"Escape", false}, {"tap Change Mode", true}, {"tap Keep Playing", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    changeModeAndTapDone();
    ASSERT_NE(nullptr, question());
    const std::string answer = c.answer;
    if (answer == "Return") {
      EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
    } else if (answer == "Escape") {
      EXPECT_TRUE(views->handleKey(Ui::ViewKey::ESCAPE));
    } else {
      const Ui::ViewRect button = question()->buttonFrame(answer == "tap Change Mode" ? 1 : 0);
      tapScreen(static_cast<int>(button.centerX()), static_cast<int>(button.centerY()));
    }
    EXPECT_EQ(nullptr, views->activeModal());
    render();
    if (c.confirmed) {
      EXPECT_EQ(GameController::STATE_PLAYING, game->state());
      EXPECT_EQ(Settings::MODE_QUICK, game->gameBoard().settings.gameMode);
      EXPECT_EQ(7, game->gameBoard().width);
      EXPECT_EQ(0, game->gameBoard().moveCount);
    } else {
      EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
      EXPECT_EQ(Settings::MODE_EASY, liveSettings().gameMode);
      EXPECT_EQ(Settings::MODE_EASY, game->gameBoard().settings.gameMode);
      EXPECT_EQ(3, game->gameBoard().moveCount);
    }
    // Leaving the screen either way takes the switches off it.
    EXPECT_EQ(nullptr, game->settingsScreen().clockSwitch->superview());

    // Back to the settings of an Easy game for the next answer.
    liveSettings().gameMode = Settings::MODE_EASY;
    liveSettings().setValues();
    game->resetGame();
    game->switchGameState(GameController::STATE_GAME_MENU);
    game->switchGameState(GameController::STATE_SETTINGS);
  }
}

// A change of mode ends a game whose score earns a place through the name entry (after the
// question, or at once after fewer than three moves): the score goes into the table of the mode
// it was played in, and leaving the high scores starts a game in the new mode.
TEST_F(SettingsScreenTest, ModeChangeOffersTheRunningScoreForTheHighScoresFirst) {
  const int easyTable = game->tableIndex();
  for (const int moves : {3, 1}) {
    SCOPED_TRACE(moves);
    game->gameBoard().score = 42 + moves;
    game->gameBoard().moveCount = moves;
    render();
    tapScreen(250, 200);  // the "Quick" column
    tapScreen(160, DONE_BUTTON_Y);
    if (moves >= 3) {
      ASSERT_EQ(GameController::STATE_SETTINGS_CONFIRM, game->state());
      const Ui::ViewRect change = question()->buttonFrame(1);
      tapScreen(static_cast<int>(change.centerX()), static_cast<int>(change.centerY()));
    }
    ASSERT_EQ(GameController::STATE_NEW_HISCORE, game->state());
    EXPECT_EQ(Settings::MODE_QUICK, liveSettings().gameMode);
    render();
    EXPECT_EQ(nullptr, game->settingsScreen().clockSwitch->superview());
    EXPECT_TRUE(views->handleTextInput("Kai"));
    EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
    ASSERT_EQ(GameController::STATE_HISCORES, game->state());
    const HiScore& entry = game->localHiScores().table(easyTable)[moves >= 3 ? 0 : 1];  // 45, then 43
    EXPECT_EQ(42 + moves, entry.score);
    EXPECT_STREQ("Kai", entry.name.c_str());
    views->handleKey(Ui::ViewKey::ESCAPE);  // the offer to submit the score, if any
    tapScreen(160, game->bottomButtonTop() + 26);
    EXPECT_EQ(GameController::STATE_PLAYING, game->state());
    EXPECT_EQ(Settings::MODE_QUICK, game->gameBoard().settings.gameMode);
    EXPECT_EQ(7, game->gameBoard().width);
    EXPECT_EQ(0, game->gameBoard().score);

    // Back to the settings of an Easy game for the next case.
    liveSettings().gameMode = Settings::MODE_EASY;
    liveSettings().setValues();
    game->resetGame();
    game->switchGameState(GameController::STATE_GAME_MENU);
    game->switchGameState(GameController::STATE_SETTINGS);
  }
}

TEST_F(SettingsScreenTest, LookChooserRedrawsTheGameAtOnceAndTheNextLaunchKeepsTheLook) {
  const std::string settingsPath = liveSettings().path.c_str();
  const testfiles::Bytes savedFiles[] = {testfiles::readFile(settingsPath), testfiles::readFile(statePath()),
                                         testfiles::readFile(scoresPath())};
  const PixelBox sampleBalls{36, 135, 284, 170};
  const int row = ScreenGeometry::LOOK_ROW_CENTRE_Y;
  const PixelBox chooser{149, row - 15, 289, row + 15};
  const ScreenImage glossy = render("settings-look-glossy");

  // The right half of the chooser steps on: the sample balls and the look's name change in the
  // very next frame, and the choice is in the preferences file.
  tapScreen(260, row);
  ASSERT_EQ(Look::COLOUR_BLIND, game->renderer().look());
  const ScreenImage colourBlind = render("settings-look-colour-blind");
  EXPECT_GT(colourBlind.countDifferences(glossy, 40, sampleBalls), 400);
  EXPECT_GT(colourBlind.countDifferences(glossy, 40, chooser), 50);
  EXPECT_NE(std::string::npos, testfiles::readText(preferencesPath()).find("look = colour-blind"));

  // The left half steps back, and around from the first look to the last.
  tapScreen(180, row);
  tapScreen(180, row);
  ASSERT_EQ(Look::HIGH_CONTRAST, game->renderer().look());
  const ScreenImage highContrast = render("settings-look-high-contrast");
  // The high-contrast look changes the panel and buttons too, not only the balls.
  EXPECT_GT(highContrast.countDifferences(glossy, 40, PixelBox{60, 410, 260, 455}), 400);
  // Taps beside the chooser change nothing.
  tapScreen(140, row);
  tapScreen(219, row + 19);
  EXPECT_EQ(Look::HIGH_CONTRAST, game->renderer().look());
  // The game's own files are not touched by a look.
  EXPECT_EQ(savedFiles[0], testfiles::readFile(settingsPath));
  EXPECT_EQ(savedFiles[1], testfiles::readFile(statePath()));
  EXPECT_EQ(savedFiles[2], testfiles::readFile(scoresPath()));

  // The next launch reads the look before it draws anything.
  game.reset();
  preferences = std::make_unique<Preferences>(preferencesPath());
  game = newGame();
  EXPECT_EQ(Look::HIGH_CONTRAST, game->renderer().look());
}

TEST_F(SettingsScreenTest, DamagedPreferencesStartWithTheGlossyLookAndStayUntilALookIsChosen) {
  const std::string damaged[] = {std::string("look = neon\n"), std::string("look\0= high-contrast\n\xff\xfe", 22),
                                 std::string(Preferences::MAX_FILE_BYTES + 10, 'x')};
  for (const std::string& content : damaged) {
    ASSERT_TRUE(testfiles::writeFile(preferencesPath(), content));
    game.reset();
    preferences = std::make_unique<Preferences>(preferencesPath());
    game = newGame();
    EXPECT_EQ(Look::GLOSSY, game->renderer().look());
    EXPECT_EQ(content, testfiles::readText(preferencesPath()));
  }
}

}  // namespace
