// The ball lifted by a drag: it follows the pointer at its own size, up and left of the pointer's
// tip, with its destination drawn over it, and nothing of it shows two squares away. A key or a
// click shows no lifted ball. Frames read back from real GL drawing.
#include <gtest/gtest.h>

#include "GameKey.h"
#include "MenuScreenTest.h"

namespace {

const int TOLERANCE = 8;

class LiftedBallTest : public MenuScreenTest {
 protected:
  // The 9 x 9 pixels around the middle of square (x, y) of the 8-column board.
  static PixelBox middleOf(int x, int y) {
    const int cx = pixelX(x), cy = pixelY(y);
    return PixelBox{cx - 4, cy - 4, cx + 4, cy + 4};
  }

  void SetUp() override {
    MenuScreenTest::SetUp();
    if (IsSkipped()) return;
    emptyBoardInPlay();
    put(1, 1, STONE_RED);
    game->gameBoard().pendingStones.clear();
    game->gameBoard().pendingStoneTimes.clear();
  }
};

TEST_F(LiftedBallTest, DraggedBallFollowsThePointerAtItsOwnSize) {
  game->handleMouseDown(pixelX(1), pixelY(1));
  const ScreenImage held = render();
  // The pointer on the middle of (4, 4), reached square by square.
  for (int step = 2; step <= 4; ++step) game->handleMouseDrag(pixelX(step), pixelY(step));
  const ScreenImage dragging = render("lifted-ball");
  // The ball is drawn up and left of the pointer's tip...
  const int liftedX = pixelX(4) - 12, liftedY = pixelY(4) - 12;
  EXPECT_NE(0, dragging.countDifferences(held, TOLERANCE, PixelBox{liftedX - 3, liftedY - 3, liftedX + 3, liftedY + 3}));
  // ...and at its own size: the squares beyond the destination, right of and below it, show
  // nothing of it or of the destination (the old ghost, 3.5 squares wide, covered them).
  for (const PixelBox& beyond : {middleOf(5, 5), middleOf(6, 4), middleOf(4, 6)})
    EXPECT_EQ(0, dragging.countDifferences(held, TOLERANCE, beyond)) << beyond;
  advance(400);  // a hand resting on the destination before it lets go
  game->handleMouseUp(pixelX(4), pixelY(4));
  EXPECT_EQ(STONE_RED, game->gameBoard().stones[4][4]);
}

TEST_F(LiftedBallTest, ClicksAndKeysShowNoLiftedBall) {
  // Picked up with a click: the pointer moving over the board without a press lifts nothing.
  tap(pixelX(1), pixelY(1));
  ASSERT_EQ(Square(1, 1), game->gameBoard().selected);
  const ScreenImage clicked = render();
  game->handleMouseDrag(pixelX(4), pixelY(4));
  EXPECT_EQ(0, render().countDifferences(clicked, TOLERANCE, middleOf(4, 4)));
  tap(pixelX(1), pixelY(1));
  ASSERT_EQ(Square(), game->gameBoard().selected);

  // Picked up with the keys: the cursor over an empty square shows its path, not the ball.
  game->handleKey(GameKey::DOWN);
  game->handleKey(GameKey::RIGHT);
  game->handleKey(GameKey::ACTIVATE);
  ASSERT_EQ(Square(1, 1), game->gameBoard().selected);
  const ScreenImage picked = render();
  for (int i = 0; i < 3; ++i) game->handleKey(GameKey::RIGHT);
  const ScreenImage aimed = render("keys-aimed");
  // The path runs along row 1; the squares below its end stay as they were.
  for (const PixelBox& beside : {middleOf(4, 2), middleOf(5, 2)})
    EXPECT_EQ(0, aimed.countDifferences(picked, TOLERANCE, beside)) << beside;
}

}  // namespace
