// Screens drawn at 1x, at 1.5x and at the default window's 1.8125x, where texture edges fall
// between pixels: the places that must show only their smooth background (below the score and
// level digits, the Quick board's empty squares, the gaps around the settings screen's texts,
// the empty high-score rows and around the local/global control) hold no speck, seam or stray
// fragment of a neighbouring picture. A texture filtered at its edge must not pick up the
// opposite edge of its image, which is where such fragments come from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "BallGraphics.h"
#include "GreyImage.h"
#include "MenuScreenTest.h"
#include "RenderHarness.h"
#include "ScreenGeometry.h"
#include "Settings.h"

namespace {

// A rectangle in screen units (320 x 480), bounds inclusive.
struct UnitBox {
  float left, top, right, bottom;
};

struct Resolution {
  const char* name;
  int width;
  int height;
};
const Resolution RESOLUTIONS[] = {{"1x", 320, 480}, {"1.5x", 480, 720}, {"1.8125x", 580, 870}};

// The largest brightness step between neighbouring pixels a smooth background shows: its
// gradients change by about one grey level from pixel to pixel; a glyph's edge or a faint seam
// through a square changes by several.
const float MAX_BACKGROUND_STEP = 2.0f;

class CleanEdgesTest : public MenuScreenTest {
 protected:
  void TearDown() override {
    MenuScreenTest::TearDown();
    // The harness serves the other tests of this program at 1x.
    RenderHarness* harness = RenderHarness::instance();
    if (harness != nullptr) harness->setResolution(RenderHarness::WIDTH, RenderHarness::HEIGHT);
  }

  // Draws the current screen at every resolution (twice, so that the second frame is one that
  // reuses what the first made) and checks that every box of `clean` shows a smooth background.
  void expectCleanAtEveryResolution(const std::string& screen, const std::vector<UnitBox>& clean, bool withViews) {
    RenderHarness& harness = *RenderHarness::instance();
    for (const Resolution& r : RESOLUTIONS) {
      SCOPED_TRACE(screen + " at " + r.name);
      ASSERT_TRUE(harness.setResolution(r.width, r.height));
      for (int pass = 0; pass < 2; ++pass) {
        harness.clear(0, 0, 0);
        game->drawBoard();
        if (withViews) views->draw();
        harness.readBack();
      }
      EXPECT_TRUE(harness.savePng(screenshotPath("clean-" + screen + "-" + r.name)));
      const GreyImage picture(harness.pixels(), harness.pixelWidth(), harness.pixelHeight(), 4);
      const float scale = static_cast<float>(r.width) / 320.0f;
      for (const UnitBox& box : clean) {
        const float step = largestStep(picture, box, scale);
        EXPECT_LE(step, MAX_BACKGROUND_STEP)
            << "box (" << box.left << ", " << box.top << ") - (" << box.right << ", " << box.bottom << ")";
      }
    }
  }

  // The largest brightness difference between horizontally or vertically neighbouring pixels
  // wholly inside `box`.
  static float largestStep(const GreyImage& picture, const UnitBox& box, float scale) {
    const int left = static_cast<int>(std::ceil(box.left * scale));
    const int top = static_cast<int>(std::ceil(box.top * scale));
    const int right = std::min(picture.width() - 1, static_cast<int>(std::floor((box.right + 1.0f) * scale)) - 1);
    const int bottom = std::min(picture.height() - 1, static_cast<int>(std::floor((box.bottom + 1.0f) * scale)) - 1);
    float largest = 0.0f;
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) {
        if (x < right) largest = std::max(largest, std::fabs(picture.at(x + 1, y) - picture.at(x, y)));
        if (y < bottom) largest = std::max(largest, std::fabs(picture.at(x, y + 1) - picture.at(x, y)));
      }
    }
    return largest;
  }
};

TEST_F(CleanEdgesTest, NothingShowsBelowTheScoreAndLevelDigits) {
  emptyBoardInPlay();
  // The digits' boxes end at y 28.5; the panels' borders begin at y 37.
  expectCleanAtEveryResolution("digits", {{46, 25, 106, 35}, {159, 25, 186, 35}}, false);
}

TEST_F(CleanEdgesTest, EmptySquaresOfTheQuickBoardAreSmooth) {
  liveSettings().gameMode = Settings::MODE_QUICK;
  liveSettings().setValues();
  emptyBoardInPlay();
  ASSERT_EQ(7, game->gameBoard().width);
  const float scale = ScreenGeometry::boardScale(7);
  const float side = ScreenGeometry::squareSize(7);
  std::vector<UnitBox> squares;
  for (int y = 0; y < game->gameBoard().height; ++y) {
    for (int x = 0; x < 7; ++x) {
      // The keyboard's ring stands on the first square.
      if (x == 0 && y == 0) continue;
      const ScreenPoint corner = BallGraphics::squareCorner(x, y, scale);
      squares.push_back({corner.x + 6.0f, corner.y + 6.0f, corner.x + side - 8.0f, corner.y + side - 8.0f});
    }
  }
  expectCleanAtEveryResolution("quick", squares, false);
}

TEST_F(CleanEdgesTest, SettingsTextsLeaveNoFragments) {
  openFromGameMenu(GameController::STATE_SETTINGS);
  using namespace ScreenGeometry;
  const float switchLeft = static_cast<float>(SWITCH_CENTRE_X - SWITCH_WIDTH / 2 - 3);
  const float switchRight = static_cast<float>(SWITCH_CENTRE_X + SWITCH_WIDTH / 2 + 3);
  const float volumeY = VOLUME_SLIDER_Y;
  expectCleanAtEveryResolution("settings",
                               {
                                   // Between the mode names and the first row's label and switch.
                                   {36, 202, switchLeft, 241},
                                   {switchRight, 202, 284, 241},
                                   // Left of the labels and below the last one.
                                   {6, 236, static_cast<float>(ROW_LABEL_LEFT - 2), volumeY + 12},
                                   {6, volumeY + 12, 150, volumeY + 22},
                               },
                               true);
}

TEST_F(CleanEdgesTest, EmptyHighScoreRowsAndTheLocalGlobalControlLeaveNoFragments) {
  openFromGameMenu(GameController::STATE_HISCORES);
  using namespace ScreenGeometry;
  std::vector<UnitBox> clean;
  // Between an empty row's "-" name and "-" score.
  for (int row = 0; row < 10; ++row) {
    const float top = static_cast<float>(HIGH_SCORES_FIRST_ROW_Y + HIGH_SCORES_ROW_PITCH * row);
    clean.push_back({92, top, 228, top + HIGH_SCORES_ROW_PITCH - 1});
  }
  // Inside both segments of the local/global control, below their titles.
  const float controlBottom = static_cast<float>(LOCAL_GLOBAL_TOP + LOCAL_GLOBAL_HEIGHT);
  const float segmentWidth = LOCAL_GLOBAL_WIDTH / 2.0f;
  for (int segment = 0; segment < 2; ++segment) {
    const float left = LOCAL_GLOBAL_LEFT + segmentWidth * static_cast<float>(segment);
    clean.push_back({left + 12, controlBottom - 7, left + segmentWidth - 12, controlBottom - 4});
  }
  // Below the local/global control, down to the first row.
  clean.push_back({static_cast<float>(LOCAL_GLOBAL_LEFT), controlBottom + 2,
                   static_cast<float>(LOCAL_GLOBAL_LEFT + LOCAL_GLOBAL_WIDTH), HIGH_SCORES_FIRST_ROW_Y - 1.0f});
  expectCleanAtEveryResolution("scores", clean, true);
}

}  // namespace
