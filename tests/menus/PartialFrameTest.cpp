// Frames of play drawn only where their animated squares are, over the last frame kept in the
// framebuffer (as the window's frame is kept): while a selected ball pulses (with a turning bomb
// on the board) the frames after the first are partial, and after many of them the picture is
// pixel for pixel the one a whole redraw of the same moment gives, at 1x and at fractional
// scales. Input and other changes draw whole frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "MenuScreenTest.h"
#include "RenderHarness.h"
#include "Settings.h"
#include "Stone.h"

namespace {

const int FRAME_MS = 17;

struct Resolution {
  const char* name;
  int width;
  int height;
};
const Resolution RESOLUTIONS[] = {{"1x", 320, 480}, {"1.5x", 480, 720}, {"1.8125x", 580, 870}};

class PartialFrameTest : public MenuScreenTest {
 protected:
  void TearDown() override {
    MenuScreenTest::TearDown();
    // The harness serves the other tests of this program at 1x.
    RenderHarness* harness = RenderHarness::instance();
    if (harness != nullptr) harness->setResolution(RenderHarness::WIDTH, RenderHarness::HEIGHT);
  }

  // One pass of the shell: the time step and a frame drawn over the last one.
  void nextFrame() {
    advance(FRAME_MS);
    game->drawBoard();
  }
  std::vector<uint8_t> readBack() {
    RenderHarness& harness = *RenderHarness::instance();
    harness.readBack();
    return harness.pixels();
  }
  // The same moment drawn whole on a cleared frame.
  std::vector<uint8_t> wholeRedraw() {
    RenderHarness::instance()->clear(0, 0, 0);
    game->markPictureChanged();
    game->drawFrame();
    EXPECT_FALSE(game->lastFrameWasPartial());
    return readBack();
  }
};

TEST_F(PartialFrameTest, PulsingSelectionRedrawsOnlyItsSurroundingsAndMatchesAWholeRedraw) {
  liveSettings().clockDisabled = true;
  liveSettings().setValues();
  emptyBoardInPlay();
  // A ball in the last column (where the board image's right edge is near), one in the first,
  // and a bomb, which turns in every frame.
  put(7, 9, STONE_RED);
  put(0, 4, STONE_GREEN);
  put(3, 2, STONE_BOMB);
  game->allowPartialFrames(true);
  RenderHarness& harness = *RenderHarness::instance();
  for (const Resolution& r : RESOLUTIONS) {
    SCOPED_TRACE(r.name);
    ASSERT_TRUE(harness.setResolution(r.width, r.height));
    for (const Square ball : {Square(7, 9), Square(0, 4)}) {
      SCOPED_TRACE(::testing::Message() << "ball at " << ball.x << "," << ball.y);
      // The tap that selects the ball draws a whole frame; then it pulses.
      tap(pixelX(ball.x), pixelY(ball.y));
      ASSERT_EQ(ball, game->gameBoard().selected);
      harness.clear(0, 0, 0);
      game->drawBoard();
      EXPECT_FALSE(game->lastFrameWasPartial()) << "input draws the whole frame";
      int partial = 0;
      // About a second: the pulse's size and the bomb's turn pass through many values.
      for (int i = 0; i < 60; ++i) {
        nextFrame();
        if (game->lastFrameWasPartial()) ++partial;
      }
      // The first frame after the selection may still be whole (the numbers settle in it).
      EXPECT_GE(partial, 59);
      const std::vector<uint8_t> composed = readBack();
      if (::testing::Test::HasFailure()) harness.savePng(screenshotPath(std::string("partial-composed-") + r.name));
      const std::vector<uint8_t> whole = wholeRedraw();
      EXPECT_TRUE(composed == whole) << "the frame drawn in parts differs from a whole redraw";
      // Dropping the selection is input: a whole frame.
      tap(pixelX(ball.x), pixelY(ball.y));
      ASSERT_EQ(-1, game->gameBoard().selected.x);
      game->drawBoard();
      EXPECT_FALSE(game->lastFrameWasPartial());
    }
  }
}

TEST_F(PartialFrameTest, FramesAreWholeUnlessTheShellAllowsPartsAndOutsidePlay) {
  liveSettings().clockDisabled = true;
  liveSettings().setValues();
  emptyBoardInPlay();
  put(2, 2, STONE_BLUE);
  tap(pixelX(2), pixelY(2));
  game->drawBoard();
  for (int i = 0; i < 5; ++i) {
    nextFrame();
    EXPECT_FALSE(game->lastFrameWasPartial()) << "not allowed";
  }
  game->allowPartialFrames(true);
  nextFrame();
  nextFrame();
  EXPECT_TRUE(game->lastFrameWasPartial());
  // A menu over the board: whole frames.
  game->switchGameState(GameController::STATE_GAME_MENU);
  for (int i = 0; i < 3; ++i) {
    nextFrame();
    EXPECT_FALSE(game->lastFrameWasPartial());
  }
}

}  // namespace
