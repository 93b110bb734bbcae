// The controller's frame schedule on the fake wall clock, followed by the shell's own loop
// (GameLoop): a frame only when the schedule asks for one, otherwise a sleep until the moment it
// names. Still pictures ask for nothing (or only for the timed moments of the clock), moving ones
// for every frame, input for one frame.
#include <gtest/gtest.h>

#include <filesystem>

#include "ControllerFixture.h"
#include "RenderHarness.h"
#include "DoubleClickHandler.h"
#include "GameLoop.h"
#include "GameScreens.h"
#include "Settings.h"

namespace {

const int FRAME_MS = 17;

class FrameScheduleTest : public ControllerTest {
 protected:
  // One pass of the shell's loop: the time step, then a frame if the schedule asks for one.
  // Returns whether a frame was drawn.
  bool pass() {
    if (loop == nullptr) {
      loop = std::make_unique<GameLoop>(*game, GameLoop::Hooks{[] { return static_cast<double>(wallClockMs()); },
                                                               [] { return -1; }, [this] {
                                                                 game->drawFrame();
                                                                 ++framesDrawn;
                                                               }});
    }
    const int before = framesDrawn;
    loop->step();
    return framesDrawn > before;
  }
  // Passes at the frame rate until the schedule asks for no frame (animations over); the number
  // of frames drawn, or -1 if it still asked after `limitMs`.
  int settle(int limitMs = 5000) {
    int frames = pass() ? 1 : 0;
    for (int t = 0; game->frameSchedule().isFrameDue(); t += FRAME_MS) {
      if (t > limitMs) return -1;
      advance(FRAME_MS);
      if (pass()) ++frames;
    }
    return frames;
  }
  // Sleeps as the shell would until the schedule's next moment, then runs a pass.
  bool sleepAndPass() {
    const int wait = game->frameSchedule().msUntilWake();
    EXPECT_GT(wait, 0) << "a still picture must not ask for frames";
    if (wait <= 0) return false;
    advance(wait);
    return pass();
  }
  void clockOff() {
    liveSettings().clockDisabled = true;
    liveSettings().setValues();
    game->resetGame();
  }
  // The loop over the current controller; a test that replaces the controller drops it.
  std::unique_ptr<GameLoop> loop;
  int framesDrawn = 0;
  int stonesOnBoard() const { return game->gameBoard().width * game->gameBoard().height - game->gameBoard().freeSquares.size(); }
};

TEST_F(FrameScheduleTest, StartScreenIsDrawnOnceAndThenWaitsForInput) {
  ASSERT_EQ(GameController::STATE_SPLASH, game->state());
  EXPECT_TRUE(pass());
  EXPECT_FALSE(game->frameSchedule().isFrameDue());
  EXPECT_EQ(-1, game->frameSchedule().msUntilWake());
  advance(60000);
  EXPECT_FALSE(pass());
  // Any touch may change the picture: one frame, then nothing again.
  game->handleMouseDown(10, 10);
  EXPECT_TRUE(game->frameSchedule().isFrameDue());
  EXPECT_TRUE(pass());
  EXPECT_FALSE(game->frameSchedule().isFrameDue());
  game->markPictureChanged();
  EXPECT_EQ(0, game->frameSchedule().msUntilWake());
}

TEST_F(FrameScheduleTest, StillBoardWithTheClockOffAsksForNothing) {
  clockOff();
  emptyBoardInPlay();
  put(2, 2, STONE_GREEN);
  put(5, 7, STONE_RED);
  ASSERT_GT(settle(), 0);
  EXPECT_FALSE(game->frameSchedule().isFrameDue());
  EXPECT_EQ(-1, game->frameSchedule().msUntilWake());
  advance(120000);
  EXPECT_FALSE(pass());
  EXPECT_EQ(2, stonesOnBoard());
}

TEST_F(FrameScheduleTest, StillBoardWithTheClockOnWakesForTheStripStepsAndTheIdleBall) {
  emptyBoardInPlay();
  put(2, 2, STONE_GREEN);
  ASSERT_GT(settle(), 0);
  const int idleBallAt = game->penaltyClock().idleBallAt();  // game time: more than 20 s without a move
  int strip = game->timerFrameShown();
  int wakeUps = 0;
  int frames = 0;
  while (stonesOnBoard() == 1) {
    ASSERT_LT(++wakeUps, 20);
    ASSERT_LE(game->gameClock().gameTime(), idleBallAt) << "the schedule slept past the idle ball";
    if (sleepAndPass()) {
      ++frames;
      if (stonesOnBoard() == 1) {
        EXPECT_NE(strip, game->timerFrameShown()) << "a frame was drawn though the strip did not change";
      }
      strip = game->timerFrameShown();
    }
  }
  // The wake-up that dropped the ball came exactly at its moment, and asked for a frame.
  EXPECT_EQ(idleBallAt, game->gameClock().gameTime());
  EXPECT_EQ(2, stonesOnBoard());
  // Period 1.6 x 92500 / 3 ms in eleven steps: four steps in the 20 s, then the ball's frame.
  EXPECT_EQ(5, frames);
  EXPECT_EQ(5, wakeUps);
}

TEST_F(FrameScheduleTest, PausedGameTimeMovesNoWakeUpOfTheClock) {
  emptyBoardInPlay();
  put(2, 2, STONE_GREEN);
  ASSERT_GT(settle(), 0);
  // The game menu stops game time: the strip and the idle ball wait with it.
  game->switchGameState(GameController::STATE_GAME_MENU);
  ASSERT_GT(settle(), 0);
  EXPECT_EQ(-1, game->frameSchedule().msUntilWake());
  advance(100000);
  EXPECT_FALSE(pass());
  EXPECT_EQ(1, stonesOnBoard());
}

TEST_F(FrameScheduleTest, SelectedBallAsksForEveryFrameUntilItIsDropped) {
  clockOff();
  liveSettings().twoTapMoves = true;
  emptyBoardInPlay();
  put(3, 3, STONE_BLUE);
  ASSERT_GT(settle(), 0);
  tap(pixelX(3), pixelY(3));
  ASSERT_EQ(Square(3, 3), game->gameBoard().selected);
  for (int i = 0; i < 30; ++i) {
    advance(FRAME_MS);
    EXPECT_TRUE(pass()) << "frame " << i;
  }
  // A tap on the ball again lets it go; the picture comes to rest.
  tap(pixelX(3), pixelY(3));
  EXPECT_GT(settle(), 0);
  EXPECT_FALSE(game->frameSchedule().isFrameDue());
  liveSettings().twoTapMoves = false;
}

TEST_F(FrameScheduleTest, AMoveAsksForFramesUntilItsAnimationsAndTimedEventsAreOver) {
  clockOff();
  emptyBoardInPlay();
  for (int x = 0; x < 4; ++x) put(x, 9, STONE_RED);
  put(4, 3, STONE_RED);
  ASSERT_GT(settle(), 0);
  dragBall(Square(4, 3), Square(4, 9));
  ASSERT_EQ(SQUARE_EMPTY, game->gameBoard().stones[3][4]) << "the ball moved";
  const int frames = settle();
  // The ball travels six squares, the line vanishes and the score rolls: well over a second.
  EXPECT_GT(frames, 60);
  // Whatever timed events remain are named as wake-ups, each within its time.
  while (game->gameBoard().timedEvents.size() > 0) {
    const int wait = game->frameSchedule().msUntilWake();
    ASSERT_GT(wait, 0);
    ASSERT_LT(wait, 5000);
    advance(wait);
    game->advanceFrame();
    settle();
  }
  EXPECT_EQ(6, game->gameBoard().score);
  EXPECT_FALSE(game->frameSchedule().isFrameDue());
  EXPECT_EQ(-1, game->frameSchedule().msUntilWake());
}

TEST_F(FrameScheduleTest, InstructionsAnimationWakesAtEachOfItsFrames) {
  clockOff();
  emptyBoardInPlay();
  game->switchGameState(GameController::STATE_INSTRUCTIONS);
  ASSERT_GT(settle(), 0);
  for (int i = 0; i < 6; ++i) {
    const int now = game->gameClock().nowMs();
    const int next = GameScreens::nextInstructionsAnimationChange(now);
    ASSERT_EQ(next - now, game->frameSchedule().msUntilWake());
    EXPECT_NE(GameScreens::instructionsAnimationFrame(next - 1), GameScreens::instructionsAnimationFrame(next));
    EXPECT_EQ(GameScreens::instructionsAnimationFrame(now), GameScreens::instructionsAnimationFrame(next - 1));
    advance(next - now);
    EXPECT_TRUE(pass()) << "the animation's next frame is drawn at its moment";
  }
}

// The shell makes the controller without art while the window opens, shows the start screen,
// then makes the rest: the start screen must look the same, and play must find every texture.
TEST_F(FrameScheduleTest, AControllerMadeWithoutArtShowsTheSameStartScreenAndCompletesItsArt) {
  RenderHarness& harness = *RenderHarness::instance();
  harness.clear(0, 0, 0);
  ASSERT_TRUE(pass());
  harness.readBack();
  const std::vector<uint8_t> fullStart = harness.pixels();
  // A new controller, as at a new launch: a new loop over it.
  loop.reset();
  game.reset();
  // Without the game the first one saved, both start screens offer to start a game.
  std::filesystem::remove(statePath());
  game = newGame(BallGraphics::NO_ART);
  EXPECT_FALSE(game->renderer().isComplete());
  game->loadState(statePath().c_str(), scoresPath().c_str());
  harness.clear(0, 0, 0);
  ASSERT_TRUE(pass());
  harness.readBack();
  EXPECT_TRUE(harness.pixels() == fullStart) << "the start screen differs";
  EXPECT_FALSE(game->renderer().isComplete()) << "the start screen needs only its own art";

  // Leaving the start screen before the shell completed the art still draws the board.
  tap(160, 240);
  ASSERT_EQ(GameController::STATE_PLAYING, game->state());
  ASSERT_GT(settle(), 0);
  EXPECT_TRUE(game->renderer().isComplete());
  EXPECT_FALSE(game->gameScreens().sunOverlay) << "the overlay waits for a menu";
  EXPECT_TRUE(game->gameScreens().menuDivider);
  game->switchGameState(GameController::STATE_GAME_MENU);
  EXPECT_GT(settle(), 0) << "the menu's shared art is in place";
}

}  // namespace
