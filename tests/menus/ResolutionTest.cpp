// The game drawn at the window's own resolution: the start screen, the play screen and the
// settings screen (with its controls) read back at 2x, 1.5x and 3x against the same screen at
// 1x. Scaled down, a large frame must show the 1x layout; against the 1x frame blown up to its
// size it must be much sharper (mean squared gradient). Changing the resolution of a running
// game is how the window's frame follows a resize, so the textures must follow too.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DisplayScale.h"
#include "GreyImage.h"
#include "MenuScreenTest.h"
#include "RenderHarness.h"

namespace {

struct Resolution {
  const char* name;
  int width;
  int height;
  int artScale;          // the image set it must use
  double minSharpening;  // least mean squared gradient over that of the 1x frame blown up
};

// A native 2x picture has about twice the gradient energy of a blown-up one; a 1.5x frame
// drawn from the 2x set down-sampled somewhat less.
const Resolution RESOLUTIONS[] = {
    {"2x", 640, 960, 2, 1.5},
    {"1.5x", 480, 720, 2, 1.25},
    {"3x", 960, 1440, 3, 1.5},
};

// Mean brightness difference allowed between a large frame scaled down and the 1x frame:
// a few grey levels of resampling, anti-aliasing and font rasterisation.
const double MAX_LAYOUT_DIFFERENCE = 3.0;

class ResolutionTest : public MenuScreenTest {
 protected:
  void TearDown() override {
    MenuScreenTest::TearDown();
    // The harness serves the other tests of this program at 1x.
    RenderHarness* harness = RenderHarness::instance();
    if (harness != nullptr) harness->setResolution(RenderHarness::WIDTH, RenderHarness::HEIGHT);
  }

  // The current screen drawn at width x height pixels, as brightness.
  GreyImage renderAt(int width, int height, const std::string& name, bool withViews) {
    RenderHarness& harness = *RenderHarness::instance();
    EXPECT_TRUE(harness.setResolution(width, height)) << width << "x" << height;
    drawAndReadBack(name, withViews);
    return GreyImage(harness.pixels(), harness.pixelWidth(), harness.pixelHeight(), 4);
  }

  // One frame as the shell draws it, saved as screens/<name>.png.
  void drawAndReadBack(const std::string& name, bool withViews) {
    RenderHarness& harness = *RenderHarness::instance();
    harness.clear(0, 0, 0);
    game->drawBoard();
    if (withViews) views->draw();
    harness.readBack();
    EXPECT_TRUE(harness.savePng(screenshotPath(name))) << name;
  }

  // Compares the screen now shown at every resolution with its 1x frame, and comes back to 1x
  // pixel for pixel.
  void checkEveryResolution(const std::string& screen, bool withViews) {
    const GreyImage reference = renderAt(320, 480, screen + "-1x", withViews);
    for (const Resolution& r : RESOLUTIONS) {
      SCOPED_TRACE(screen + " at " + r.name);
      const GreyImage large = renderAt(r.width, r.height, screen + "-" + r.name, withViews);
      EXPECT_EQ(r.artScale, DisplayScale::artScale());
      const double layout = large.scaledDownByArea(320, 480).meanAbsoluteDifference(reference);
      EXPECT_LT(layout, MAX_LAYOUT_DIFFERENCE);
      const double blownUp = reference.scaledBilinear(r.width, r.height).meanSquaredGradient();
      const double sharpening = large.meanSquaredGradient() / blownUp;
      EXPECT_GE(sharpening, r.minSharpening);
      std::printf("%s at %s: mean squared gradient %.1f (1x blown up: %.1f, ratio %.2f), "
                  "scaled down differs from 1x by %.2f grey levels on average\n",
                  screen.c_str(), r.name, large.meanSquaredGradient(), blownUp, sharpening, layout);
    }
    RenderHarness& harness = *RenderHarness::instance();
    ASSERT_TRUE(harness.setResolution(320, 480));
    drawAndReadBack(screen + "-1x-again", withViews);
    EXPECT_TRUE(GreyImage(harness.pixels(), 320, 480, 4).meanAbsoluteDifference(reference) == 0.0)
        << "back at 1x the frame must be what it was";
  }
};

TEST_F(ResolutionTest, TheStartScreenIsSharpAtEveryScaleWithTheSameLayout) {
  ASSERT_EQ(GameController::STATE_SPLASH, game->state());
  checkEveryResolution("start", false);
}

TEST_F(ResolutionTest, ThePlayScreenIsSharpAtEveryScaleWithTheSameLayout) {
  emptyBoardInPlay();
  const int colours[] = {STONE_BLUE, STONE_GREEN, STONE_ORANGE, STONE_RED, STONE_MAGENTA, STONE_RAINBOW};
  for (int i = 0; i < 6; ++i) put(i, i + 2, colours[i]);
  game->gameBoard().score = 1234;
  checkEveryResolution("play", false);
}

TEST_F(ResolutionTest, TheSettingsScreenAndItsControlsAreSharpAtEveryScale) {
  openFromGameMenu(GameController::STATE_SETTINGS);
  checkEveryResolution("settings", true);
}

TEST_F(ResolutionTest, ATouchLandsOnTheSameSquareAtAnyResolution) {
  // Touches stay in screen pixels: the resolution changes only how finely the frame is drawn.
  emptyBoardInPlay();
  put(3, 4, STONE_RED);
  ASSERT_TRUE(RenderHarness::instance()->setResolution(480, 720));
  frame();
  dragBall(Square(3, 4), Square(5, 6));
  frame();
  EXPECT_EQ(STONE_RED, game->gameBoard().stones[6][5]);
  EXPECT_EQ(SQUARE_EMPTY, game->gameBoard().stones[4][3]);
}

// The strip below the board keeps even margins under both boards, at 1x and at fractional
// scales: about as many rows between the board's frame and the strip's pill as between the pill
// and the screen's bottom edge, and never fewer than 3 screen pixels. Read from the picture: the
// pill's rows in a column through its left end, the frame's in a column left of the pill.
TEST_F(ResolutionTest, TheMenuStripKeepsEvenMarginsUnderEveryBoard) {
  const struct {
    const char* name;
    int mode;
    int columns;
  } boards[] = {{"ten-row", Settings::MODE_EASY, 8}, {"quick", Settings::MODE_QUICK, 7}};
  const struct {
    const char* name;
    int width, height;
  } scales[] = {{"1x", 320, 480}, {"1.5x", 480, 720}, {"1.3x", 416, 624}};
  for (const auto& board : boards) {
    liveSettings().gameMode = board.mode;
    liveSettings().setValues();
    game.reset();
    game = newGame();
    game->gameScreens().parent = views;
    emptyBoardInPlay();
    ASSERT_EQ(board.columns, game->gameBoard().width) << board.name;
    for (const auto& scale : scales) {
      SCOPED_TRACE(std::string(board.name) + " at " + scale.name);
      RenderHarness& harness = *RenderHarness::instance();
      ASSERT_TRUE(harness.setResolution(scale.width, scale.height));
      const float s = static_cast<float>(scale.width) / 320.0f;
      const int pillX = static_cast<int>(48 * s);
      const int besideX = static_cast<int>(12 * s);
      drawAndReadBack(std::string("strip-") + board.name + "-" + scale.name, false);
      const GreyImage shown(harness.pixels(), scale.width, scale.height, 4);
      // The screen's background changes only down the screen, and the first column shows nothing
      // else: a pixel differs from the background when it differs from the first column's.
      const auto drawnOn = [&](int x, int y) { return std::abs(shown.at(x, y) - shown.at(0, y)) > 2.0f; };
      int pillBottom = scale.height - 1;
      while (pillBottom > 0 && !drawnOn(pillX, pillBottom)) --pillBottom;
      int pillTop = pillBottom;
      while (pillTop > 0 && drawnOn(pillX, pillTop - 1)) --pillTop;
      int frameBottom = pillTop - 1;
      while (frameBottom > 0 && !drawnOn(besideX, frameBottom)) --frameBottom;
      const int above = pillTop - frameBottom - 1;
      const int below = scale.height - 1 - pillBottom;
      std::printf("%s at %s: frame to row %d, pill rows %d to %d: %d rows above, %d below\n", board.name, scale.name,
                  frameBottom, pillTop, pillBottom, above, below);
      EXPECT_GE(above, static_cast<int>(3 * s));
      EXPECT_GE(below, static_cast<int>(3 * s));
      EXPECT_LE(std::abs(above - below), static_cast<int>(std::ceil(1.5f * s)));
    }
    ASSERT_TRUE(RenderHarness::instance()->setResolution(320, 480));
  }
}

}  // namespace
