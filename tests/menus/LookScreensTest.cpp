// Every screen of the game in each look, at 1x and 2x, as the player gets there: the look is
// chosen on the settings screen, then each screen is shown by the real controller and read
// back. At 2x a screen scaled down must show the 1x layout (the look's 2x art is complete and
// in place); against the glossy look, the high-contrast look must change every screen and the
// colour-blind look every screen that shows balls. The frames are saved as
// screens/look-<look>-<screen>-<scale>.png for looking at.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "GreyImage.h"
#include "MenuScreenTest.h"
#include "ScreenGeometry.h"
#include "RenderHarness.h"

namespace {

// Mean brightness difference allowed between the 2x frame scaled down and the 1x frame, as in
// the resolution tests: resampling, anti-aliasing and font rasterisation.
const double MAX_LAYOUT_DIFFERENCE = 3.0;
// Pixels that must differ clearly (by more than 40 in a channel) from the glossy frame.
const int MIN_CHANGED_PIXELS = 300;

struct Screen {
  const char* name;
  bool showsBalls;
};

// The settings screen comes last: its switches stay in the views until it is left through "Done".
const Screen SCREENS[] = {{"start", false},       {"play", true},        {"game-menu", false}, {"instructions", true},
                          {"high-scores", false}, {"name-entry", false}, {"game-over", false}, {"settings", true}};

class LookScreensTest : public MenuScreenTest {
 protected:
  void TearDown() override {
    MenuScreenTest::TearDown();
    RenderHarness* harness = RenderHarness::instance();
    if (harness != nullptr) harness->setResolution(RenderHarness::WIDTH, RenderHarness::HEIGHT);
  }

  // Steps the settings screen's chooser on until `look` is in use.
  void chooseOnSettingsScreen(Look look) {
    game->switchGameState(GameController::STATE_PLAYING);
    openFromGameMenu(GameController::STATE_SETTINGS);
    render();
    for (int taps = 0; taps < 3 && game->renderer().look() != look; ++taps) tapScreen(260, ScreenGeometry::LOOK_ROW_CENTRE_Y);
    ASSERT_EQ(look, game->renderer().look());
    // "Done" leaves the screen as a player leaves it, taking its switches away.
    tapScreen(160, game->bottomButtonTop() + 26);
    ASSERT_EQ(GameController::STATE_GAME_MENU, game->state());
    render();
  }

  // Brings up `screen` with a little on it.
  void show(const std::string& screen) {
    game->switchGameState(GameController::STATE_PLAYING);
    if (screen == "start") {
      game->switchGameState(GameController::STATE_SPLASH);
    } else if (screen == "play") {
      emptyBoardInPlay();
      const int colours[] = {STONE_BLUE, STONE_GREEN, STONE_ORANGE, STONE_RED, STONE_MAGENTA, STONE_RAINBOW, STONE_BOMB};
      for (int i = 0; i < 7; ++i) put(i, i + 2, colours[i]);
      game->gameBoard().score = 1234;
    } else if (screen == "game-menu") {
      emptyBoardInPlay();
      put(2, 3, STONE_RED);
      game->switchGameState(GameController::STATE_GAME_MENU);
    } else if (screen == "settings") {
      openFromGameMenu(GameController::STATE_SETTINGS);
      render();
    } else if (screen == "instructions") {
      openFromGameMenu(GameController::STATE_INSTRUCTIONS);
    } else if (screen == "high-scores") {
      openFromGameMenu(GameController::STATE_HISCORES);
    } else if (screen == "name-entry") {
      emptyBoardInPlay();
      put(0, 0, STONE_RED);
      game->gameBoard().score = 500;
      game->handleGameFinish(false, false);
      ASSERT_EQ(GameController::STATE_NEW_HISCORE, game->state());
    } else if (screen == "game-over") {
      emptyBoardInPlay();
      put(0, 0, STONE_RED);
      game->switchGameState(GameController::STATE_GAME_OVER);
    }
  }

  // The screen shown now, drawn at width x height (with the controls over it) and saved.
  GreyImage renderAt(int width, int height, const std::string& name) {
    RenderHarness& harness = *RenderHarness::instance();
    EXPECT_TRUE(harness.setResolution(width, height)) << width << "x" << height;
    harness.clear(0, 0, 0);
    game->drawBoard();
    views->draw();
    harness.readBack();
    EXPECT_TRUE(harness.savePng(screenshotPath(name))) << name;
    return GreyImage(harness.pixels(), harness.pixelWidth(), harness.pixelHeight(), 4);
  }
};

TEST_F(LookScreensTest, EveryScreenIsCompleteInEachLookAt1xAnd2x) {
  std::map<std::string, ScreenImage> glossyFrames;
  for (Look look : Looks::ALL) {
    const std::string lookName = Looks::nameOf(look);
    chooseOnSettingsScreen(look);
    for (const Screen& screen : SCREENS) {
      SCOPED_TRACE(lookName + " " + screen.name);
      show(screen.name);
      const std::string shot = "look-" + lookName + "-" + screen.name;
      const GreyImage large = renderAt(640, 960, shot + "-2x");
      const GreyImage small = renderAt(320, 480, shot + "-1x");
      const double layout = large.scaledDownByArea(320, 480).meanAbsoluteDifference(small);
      EXPECT_LT(layout, MAX_LAYOUT_DIFFERENCE);

      const ScreenImage frame = render(std::string(), true);
      if (look == Look::GLOSSY) {
        glossyFrames.emplace(screen.name, frame);
        continue;
      }
      const int changed = frame.countDifferences(glossyFrames.at(screen.name), 40);
      std::printf("%s %s: 2x scaled down differs from 1x by %.2f grey levels; %d pixels differ from glossy\n",
                  lookName.c_str(), screen.name, layout, changed);
      if (look == Look::HIGH_CONTRAST || screen.showsBalls) {
        EXPECT_GT(changed, MIN_CHANGED_PIXELS);
      }
    }
  }
}

}  // namespace
