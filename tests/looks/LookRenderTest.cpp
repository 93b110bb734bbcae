// The renderer switching looks at run time, drawn for real into the offscreen frame at 1x and
// 2x: every ball, the board, the header and the bar are drawn in each look; the balls change in
// both other looks, the colour-blind look keeps the glossy board, the high-contrast board is
// near-black with light square edges, and going back to the glossy look gives the very same
// picture as before. The pictures are saved for looking at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BallGraphics.h"
#include "BlendMode.h"
#include "RenderHarness.h"
#include "Resources.h"

namespace {

struct Square {
  int x;
  int y;
};
// Where each stone colour 1-11 lies in the test picture.
Square squareOf(int colour) { return {(colour - 1) % 6 + 1, 2 + (colour - 1) / 6 * 2}; }

class LookRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    harness = RenderHarness::instance();
    ASSERT_NE(harness, nullptr) << RenderHarness::failure();
    Resources::setDirectory(generatedResourceFolder());
  }
  void TearDown() override {
    if (harness != nullptr) harness->setResolution(RenderHarness::WIDTH, RenderHarness::HEIGHT);
    Resources::setLookFolder("");
  }

  // The board with one stone of every colour, the header's numbers and timer, and the bar.
  std::vector<uint8_t> picture(BallGraphics& graphics, bool stones) {
    harness->clear(0, 0, 0);
    graphics.setMoment(1000, 1000);
    graphics.drawBoard(false, 1.0f);
    if (stones) {
      for (int colour = 1; colour <= 11; ++colour) graphics.drawStone(colour, squareOf(colour).x, squareOf(colour).y, 1.0f, false);
    }
    graphics.drawNumber(1234.0f, 10000, 42.5f, 12.5f);
    graphics.drawTimer(0.45f, 201, 15);
    graphics.gameMenuBarTexture->drawToScreen(0, 436, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
    harness->readBack();
    return harness->pixels();
  }

  void save(const std::string& name) {
    const std::string path = std::string(PELLIX_TEST_OUTPUT_DIR) + "/" + name + ".png";
    EXPECT_TRUE(harness->savePng(path)) << path;
  }

  // How many pixels of the square (x, y) differ between two pictures at `scale`.
  int differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, Square square, int scale) const {
    int count = 0;
    const int left = (4 + 39 * square.x) * scale;
    const int top = (45 + 39 * square.y) * scale;
    for (int y = top; y < top + 38 * scale; ++y) {
      for (int x = left; x < left + 38 * scale; ++x) {
        const size_t i = (static_cast<size_t>(y) * harness->pixelWidth() + x) * 4;
        if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++count;
      }
    }
    return count;
  }

  Rgba pixelOf(const std::vector<uint8_t>& frame, int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * harness->pixelWidth() + x) * 4;
    return {frame[i], frame[i + 1], frame[i + 2], frame[i + 3]};
  }

  RenderHarness* harness = nullptr;
};

TEST_F(LookRenderTest, EveryLookDrawsEveryBallAndTheBoardAt1xAnd2x) {
  for (int scale : {1, 2}) {
    ASSERT_TRUE(harness->setResolution(RenderHarness::WIDTH * scale, RenderHarness::HEIGHT * scale));
    BallGraphics graphics;
    ASSERT_EQ(Look::GLOSSY, graphics.look());
    const std::vector<uint8_t> glossy = picture(graphics, true);
    const std::vector<uint8_t> glossyBoard = picture(graphics, false);
    const int squarePixels = 38 * 38 * scale * scale;

    graphics.setLook(Look::COLOUR_BLIND);
    ASSERT_TRUE(graphics.isComplete());
    const std::vector<uint8_t> colourBlind = picture(graphics, true);
    save("look-colour-blind-" + std::to_string(scale) + "x");
    const std::vector<uint8_t> colourBlindBoard = picture(graphics, false);

    graphics.setLook(Look::HIGH_CONTRAST);
    const std::vector<uint8_t> highContrast = picture(graphics, true);
    save("look-high-contrast-" + std::to_string(scale) + "x");
    const std::vector<uint8_t> highContrastBoard = picture(graphics, false);

    graphics.setLook(Look::GLOSSY);
    EXPECT_EQ(glossy, picture(graphics, true)) << "back to the glossy look at " << scale << "x";
    save("look-glossy-" + std::to_string(scale) + "x");

    // Nothing is missing: every ball covers most of its square in every look.
    for (int colour = 1; colour <= 11; ++colour) {
      const Square square = squareOf(colour);
      EXPECT_GT(differingPixels(glossy, glossyBoard, square, scale), squarePixels / 2) << colour << " at " << scale << "x";
      EXPECT_GT(differingPixels(colourBlind, colourBlindBoard, square, scale), squarePixels / 2) << colour;
      EXPECT_GT(differingPixels(highContrast, highContrastBoard, square, scale), squarePixels / 2) << colour;
    }
    // The nine colours (and their symbols) change in both looks; high contrast flattens the
    // rainbow and the bomb too.
    for (int colour = 1; colour <= 11; ++colour) {
      const Square square = squareOf(colour);
      if (colour <= 9) {
        EXPECT_GT(differingPixels(glossy, colourBlind, square, scale), squarePixels / 3) << colour << " at " << scale << "x";
      }
      EXPECT_GT(differingPixels(glossy, highContrast, square, scale), squarePixels / 3) << colour << " at " << scale << "x";
    }
    // The colour-blind look keeps the glossy board; the empty squares are the same.
    EXPECT_EQ(0, differingPixels(glossyBoard, colourBlindBoard, {0, 0}, scale));
    EXPECT_EQ(0, differingPixels(glossyBoard, colourBlindBoard, {7, 9}, scale));
    // The high-contrast board: a near-black square inside a light edge, in the gap between two
    // squares too.
    const Rgba middle = pixelOf(highContrastBoard, (4 + 19) * scale, (45 + 19) * scale);
    EXPECT_LT(middle.r + middle.g + middle.b, 30) << scale << "x";
    int brightestEdge = 0;
    for (int y = 45 * scale; y < 47 * scale; ++y) {
      const Rgba edge = pixelOf(highContrastBoard, (4 + 19) * scale, y);
      brightestEdge = std::max(brightestEdge, edge.r + edge.g + edge.b);
    }
    EXPECT_GT(brightestEdge, 3 * 110) << scale << "x";
    const Rgba glossyMiddle = pixelOf(glossyBoard, (4 + 19) * scale, (45 + 19) * scale);
    EXPECT_LT(middle.r + middle.g + middle.b, glossyMiddle.r + glossyMiddle.g + glossyMiddle.b);
  }
}

TEST_F(LookRenderTest, OnlyAChosenLookIsLookedInAndItFallsBackToTheGlossyFiles) {
  const std::string folder = generatedResourceFolder();
  BallGraphics graphics(BallGraphics::NO_ART);
  EXPECT_EQ(folder + "/BallBlue_64x64.png", Resources::pathFor("BallBlue_64x64", "png"));
  graphics.setLook(Look::COLOUR_BLIND);
  EXPECT_EQ(folder + "/looks/colour-blind/BallBlue_64x64.png", Resources::pathFor("BallBlue_64x64", "png"));
  EXPECT_EQ(folder + "/EmptyBoard.png", Resources::pathFor("EmptyBoard", "png")) << "unchanged in this look";
  graphics.setLook(Look::HIGH_CONTRAST);
  EXPECT_EQ(folder + "/looks/high-contrast/EmptyBoard.png", Resources::pathFor("EmptyBoard", "png"));
  graphics.setLook(Look::GLOSSY);
  EXPECT_EQ("", Resources::lookFolder());
  EXPECT_EQ(folder + "/BallBlue_64x64.png", Resources::pathFor("BallBlue_64x64", "png"));
}

}  // namespace
