// The controller through its real entry points: the state table, moves (snapping, quick swipe,
// two taps, refused moves), the penalty clock and idle ball, the frame's snapshot and saving.
#include <gtest/gtest.h>

#include <filesystem>

#include "BallGraphics.h"
#include "ControllerFixture.h"
#include "DoubleClickHandler.h"
#include "GameStateFile.h"
#include "MenuHitTesting.h"
#include "ScreenGeometry.h"
#include "Settings.h"
#include "SpinningNumber.h"
#include "WholeFile.h"

namespace {

// Top of the game menu's first button (five buttons centred on the screen).
const int GAME_MENU_TOP = 54;  // seven buttons, 53 pixels each, centred
int gameMenuButtonY(int index) { return GAME_MENU_TOP + 53 * index + 26; }

TEST_F(ControllerTest, SplashTapStartsPlayAndFirstLaunchShowsInstructions) {
  EXPECT_EQ(GameController::STATE_SPLASH, game->state());
  EXPECT_TRUE(game->gameClock().isPaused());
  tap(10, 10);
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  EXPECT_FALSE(game->gameClock().isPaused());

  game->switchGameState(GameController::STATE_SPLASH);
  liveSettings().firstLaunch = true;
  tap(300, 470);
  EXPECT_EQ(GameController::STATE_INSTRUCTIONS, game->state());
  EXPECT_EQ(GameController::STATE_PLAYING, game->previousScreen());
  EXPECT_EQ(1, game->instructionsPageShown());
  EXPECT_TRUE(game->gameClock().isPaused());
}

TEST_F(ControllerTest, OneClickOnTheStripOpensTheGameMenuWithItsFirstEntryHighlighted) {
  emptyBoardInPlay();
  const int stripY = 460;
  game->handleMouseDown(160, stripY);
  EXPECT_TRUE(game->menuStrip().pressed);  // drawn pressed while the button is down
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  game->handleMouseUp(160, stripY);
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
  EXPECT_FALSE(game->menuStrip().pressed);
  EXPECT_EQ(0, game->highlightedButton());
  EXPECT_TRUE(game->gameClock().isPaused());

  // A double click opens it too: its second click lands beside the menu's buttons.
  game->switchGameState(GameController::STATE_PLAYING);
  tap(160, stripY);
  advance(150);
  tap(160, stripY);
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
  EXPECT_EQ(0, game->highlightedButton());

  // A press that began on the board and ends on the strip opens nothing.
  game->switchGameState(GameController::STATE_PLAYING);
  game->handleMouseDown(pixelX(3), pixelY(3));
  game->handleMouseUp(160, stripY);
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
}

TEST_F(ControllerTest, GameMenuButtonsFireOnlyWhenPressedAndReleasedOnThem) {
  emptyBoardInPlay();
  struct Case {
    int button;
    GameController::GameState next;
  } cases[] = {{0, GameController::STATE_PLAYING},
               {2, GameController::STATE_SETTINGS},
               {3, GameController::STATE_HISCORES},
               {4, GameController::STATE_INSTRUCTIONS}};
  for (const Case& c : cases) {
    game->switchGameState(GameController::STATE_GAME_MENU);
    game->handleMouseDown(160, gameMenuButtonY(c.button));
    game->handleMouseUp(160, gameMenuButtonY(c.button == 0 ? 1 : 0));
    EXPECT_EQ(GameController::STATE_GAME_MENU, game->state()) << c.button;
    EXPECT_EQ(0, game->highlightedButton());  // the highlight goes back to the first entry
    tap(160, gameMenuButtonY(c.button));
    EXPECT_EQ(c.next, game->state()) << c.button;
  }
  // Between buttons' hit areas and beside them nothing happens.
  game->switchGameState(GameController::STATE_GAME_MENU);
  tap(30, gameMenuButtonY(1));
  tap(160, GAME_MENU_TOP + 53);
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
}

TEST_F(ControllerTest, NewGameFromTheMenuAsksForANameOnlyWhenTheScoreEarnsAPlace) {
  emptyBoardInPlay();
  game->gameBoard().score = 0;
  game->switchGameState(GameController::STATE_GAME_MENU);
  tap(160, gameMenuButtonY(1));
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());

  game->gameBoard().score = 30;
  game->switchGameState(GameController::STATE_GAME_MENU);
  tap(160, gameMenuButtonY(1));
  EXPECT_EQ(GameController::STATE_NEW_HISCORE, game->state());

  // Confirming the name stores the score at once and leads to the table; leaving it starts a
  // new game in play.
  tap(160, game->bottomButtonTop() + 26);
  EXPECT_EQ(GameController::STATE_HISCORES, game->state());
  EXPECT_EQ(30, game->localHiScores().table(game->tableIndex())[0].score);
  HiScores onDisk;
  onDisk.loadHiScores(scoresPath().c_str());
  EXPECT_EQ(30, onDisk.table(game->tableIndex())[0].score);
  onDisk.path = MyTl::BasicString<char>();
  tap(160, game->bottomButtonTop() + 26);
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  EXPECT_EQ(0, game->gameBoard().score);
  EXPECT_FALSE(game->newGameAfterHiScores());
}

TEST_F(ControllerTest, SettingsDoneAppliesOrAsksBeforeEndingAGame) {
  emptyBoardInPlay();
  game->gameBoard().moveCount = 2;
  const int doneY = 420;
  auto openSettings = [&] {
    game->switchGameState(GameController::STATE_GAME_MENU);
    tap(160, gameMenuButtonY(2));
    ASSERT_EQ(GameController::STATE_SETTINGS, game->state());
  };

  // Unchanged mode: back to the menu, same game.
  openSettings();
  put(0, 0, STONE_RED);
  tap(160, doneY);
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
  EXPECT_EQ(STONE_RED, game->gameBoard().stones[0][0]);

  // A release at x = 30 in the mode band picks display position 0, x = 250 position 3 (Quick).
  openSettings();
  tap(250, 200);
  EXPECT_EQ(Settings::MODE_QUICK, liveSettings().gameMode);
  tap(160, doneY);  // fewer than three moves: a new game at once, no question
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
  EXPECT_EQ(7, game->gameBoard().width);

  // Three moves or more: the question.
  game->gameBoard().moveCount = 3;
  openSettings();
  tap(30, 200);
  EXPECT_EQ(Settings::MODE_EASY, liveSettings().gameMode);
  tap(160, doneY);
  EXPECT_EQ(GameController::STATE_SETTINGS_CONFIRM, game->state());
  game->cancelSettingsChange();
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
  EXPECT_EQ(Settings::MODE_QUICK, liveSettings().gameMode);
  EXPECT_EQ(3, game->gameBoard().moveCount);

  openSettings();
  tap(30, 200);
  tap(160, doneY);
  ASSERT_EQ(GameController::STATE_SETTINGS_CONFIRM, game->state());
  game->confirmSettingsChange();
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  EXPECT_EQ(0, game->gameBoard().moveCount);
  EXPECT_EQ(8, game->gameBoard().width);
}

TEST_F(ControllerTest, VolumeSliderFollowsTheFinger) {
  emptyBoardInPlay();
  game->switchGameState(GameController::STATE_SETTINGS);
  // A little above the slider's line, as a finger lands.
  const int sliderY = static_cast<int>(ScreenGeometry::VOLUME_SLIDER_Y) - 3;
  struct Case {
    int x;
    float volume;
  } cases[] = {{219, 0.5f}, {167, 0.0f}, {160, 0.0f}, {271, 1.0f}, {279, 1.0f}};
  for (const Case& c : cases) {
    liveSettings().volume = 0.3f;
    game->handleMouseDown(c.x, sliderY);
    game->handleMouseUp(c.x, sliderY);
    EXPECT_NEAR(c.volume, liveSettings().volume, 0.01f) << c.x;
  }
  liveSettings().volume = 0.3f;
  EXPECT_FALSE(setSettingsVolume(liveSettings(), 140, sliderY));  // far beyond the grace area
  EXPECT_FALSE(setSettingsVolume(liveSettings(), 219, ScreenGeometry::LOOK_ROW_CENTRE_Y));  // on the look chooser above it
  EXPECT_FLOAT_EQ(0.3f, liveSettings().volume);
  game->handleMouseDown(180, sliderY);
  game->handleMouseDrag(240, sliderY);
  EXPECT_NEAR((240.0f - 219.0f) / 104.0f + 0.5f, liveSettings().volume, 1e-6f);
  game->handleMouseUp(240, sliderY);
  EXPECT_FALSE(game->draggingVolume());
}

TEST_F(ControllerTest, DragAndDropMovesTheBallAlongItsPath) {
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  put(5, 5, STONE_RED);
  // No announced balls, so that none can fall onto the path and the test stays exact.
  game->gameBoard().pendingStones.clear();
  game->gameBoard().pendingStoneTimes.clear();
  const int moveTime = game->gameClock().nowMs() + 400;
  dragBall(Square(0, 0), Square(3, 2));
  EXPECT_EQ(SQUARE_EMPTY, game->gameBoard().stones[0][0]);
  EXPECT_EQ(STONE_BLUE, game->gameBoard().stones[2][3]);
  EXPECT_EQ(1, game->gameBoard().moveCount);
  EXPECT_EQ(Square(), game->gameBoard().selected);
  EXPECT_EQ(ANIM_MOVE_TARGET, game->gameBoard().animations[2][3].kind);
  // Five steps: the ball lands (5 - 1 - 2) * 90 ms late, and the squares between get their
  // slots along the path, right along the top row first.
  EXPECT_EQ(moveTime + 180, static_cast<int>(game->gameBoard().animations[2][3].startTime));
  const Square path[] = {{1, 0}, {2, 0}, {3, 0}, {3, 1}};
  for (int i = 0; i < 4; ++i) {
    const AnimationInfo& trail = game->gameBoard().animations[path[i].y][path[i].x];
    EXPECT_EQ(ANIM_PATH_TRAIL, trail.kind) << i;
    EXPECT_EQ(i + 1, trail.pathIndex) << i;
    EXPECT_EQ(STONE_BLUE, trail.stone) << i;
  }
  // Nothing removed: the announced balls (none here) came in and three new ones are announced.
  EXPECT_EQ(78, game->gameBoard().freeSquares.size());
  EXPECT_EQ(3, game->gameBoard().pendingStones.size());
  // The move is saved at once.
  Board reloaded(game->gameClock(), game->randomSource(), game->playerSettings());
  GameStateFile::ClockIntervals intervals;
  ASSERT_TRUE(GameStateFile::load(statePath().c_str(), reloaded, intervals));
  EXPECT_EQ(1, reloaded.moveCount);
  EXPECT_EQ(STONE_BLUE, reloaded.stones[2][3]);
}

TEST_F(ControllerTest, RefusedMovesDeselect) {
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  put(5, 5, STONE_RED);
  // Walled-in square (7, 9).
  put(6, 9, STONE_GREEN);
  put(7, 8, STONE_GREEN);
  for (Square target : {Square(5, 5), Square(7, 9)}) {
    dragBall(Square(0, 0), target);
    EXPECT_EQ(STONE_BLUE, game->gameBoard().stones[0][0]) << target.x << "," << target.y;
    EXPECT_EQ(Square(), game->gameBoard().selected);
    EXPECT_EQ(0, game->gameBoard().moveCount);
  }
  // Let go on its own square, the ball was clicked: it stays held for a click on its
  // destination, and a second click puts it back.
  dragBall(Square(0, 0), Square(0, 0));
  EXPECT_EQ(Square(0, 0), game->gameBoard().selected);
  advance(300);
  tap(pixelX(0), pixelY(0));
  EXPECT_EQ(Square(), game->gameBoard().selected);
  EXPECT_EQ(0, game->gameBoard().moveCount);
}

TEST_F(ControllerTest, MoveCompletingALineRemovesItAfterTheBallLands) {
  emptyBoardInPlay();
  for (int x = 0; x < 4; ++x) put(x, 9, STONE_RED);
  put(4, 3, STONE_RED);
  // Path from (4, 3) to (4, 9): 6 steps, 5 squares in between.
  const int now = game->gameClock().nowMs();
  dragBall(Square(4, 3), Square(4, 9));
  EXPECT_EQ(5, game->lastRemovedSquares().count());
  EXPECT_EQ(ANIM_MOVE_LANDED, game->gameBoard().animations[9][4].kind);
  // The removed squares, the arriving ball among them, vanish 512 ms after the move.
  EXPECT_EQ(now + 400 + 512, static_cast<int>(game->gameBoard().animations[9][4].startTime));
  EXPECT_EQ(now + 400 + 512, static_cast<int>(game->gameBoard().animations[9][0].startTime));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(SQUARE_EMPTY, game->gameBoard().stones[9][x]);
  EXPECT_EQ(0, game->gameBoard().score);  // credited when the ball arrives
  advance(1000);
  frame();  // the row sound
  frame();  // the credit, which moved into the sound's place, one frame later
  EXPECT_EQ(6, game->gameBoard().score);

  // The saved game holds the points as soon as they land, not only at exit.
  Board saved(game->gameClock(), game->randomSource(), game->playerSettings());
  GameStateFile::ClockIntervals intervals;
  ASSERT_TRUE(GameStateFile::load(statePath().c_str(), saved, intervals));
  EXPECT_EQ(6, saved.score);
  EXPECT_EQ(SQUARE_EMPTY, saved.stones[9][0]);
}

TEST_F(ControllerTest, SnappingForgivesImpreciseTouches) {
  emptyBoardInPlay();
  put(3, 3, STONE_BLUE);
  // Nothing selected: a touch on the empty square (4, 3) within 7 pixels of the ball picks it.
  const int leftEdgeOf4 = 4 + 39 * 4 + 3;
  EXPECT_EQ(Square(3, 3), game->getCurrentMouseSquare(leftEdgeOf4, pixelY(3), true));
  EXPECT_EQ(Square(4, 3), game->getCurrentMouseSquare(pixelX(4), pixelY(3), true));

  // With a ball selected, a release 5 pixels left of the board beside a free square drops it.
  game->gameBoard().selected = Square(3, 3);
  game->gameBoard().calculateReachabilities();
  const Square snapped = game->getCurrentMouseSquare(-1, pixelY(5), false);
  EXPECT_EQ(Square(0, 5), snapped);

  // A drop next to a square that completes a row goes to the completing square.
  for (int x = 0; x < 4; ++x) put(x, 8, STONE_BLUE);
  game->gameBoard().calculateReachabilities();
  const int nearRowSquare = 45 + 39 * 8 - 3;  // just above square (4, 8), inside (4, 7)
  EXPECT_EQ(Square(4, 8), game->getCurrentMouseSquare(pixelX(4), nearRowSquare, false));
}

TEST_F(ControllerTest, QuickSwipeDeselectsButSlidingOffATargetDrops) {
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  put(7, 9, STONE_RED);
  // A swipe that arrives on the release square 50 ms before lifting, from far away: deselect.
  game->handleMouseDown(pixelX(0), pixelY(0));
  advance(400);
  game->handleMouseDrag(pixelX(4), pixelY(4));
  advance(50);
  game->handleMouseUp(pixelX(4), pixelY(4));
  EXPECT_EQ(STONE_BLUE, game->gameBoard().stones[0][0]);
  EXPECT_EQ(Square(), game->gameBoard().selected);

  // Resting on (3, 3), then slipping onto its neighbour (4, 4) just before lifting: drop on (3, 3).
  game->handleMouseDown(pixelX(0), pixelY(0));
  advance(100);
  game->handleMouseDrag(pixelX(3), pixelY(3));
  advance(250);
  game->handleMouseDrag(pixelX(4), pixelY(4));
  advance(50);
  game->handleMouseUp(pixelX(4), pixelY(4));
  EXPECT_EQ(STONE_BLUE, game->gameBoard().stones[3][3]);
}

// A click on a ball and a click on its destination move it, as a drag does, whatever the stored
// two-tap setting says (it has no switch any more); a second click on the held ball, or a click
// on an empty square it cannot reach, puts it back.
TEST_F(ControllerTest, ClicksAndDragsBothMoveBallsWhateverTheStoredTwoTapSetting) {
  for (const bool twoTapStored : {false, true}) {
    SCOPED_TRACE(twoTapStored);
    liveSettings().twoTapMoves = twoTapStored;
    emptyBoardInPlay();
    put(1, 1, STONE_BLUE);
    put(6, 6, STONE_GREEN);
    // (0, 9) walled in by two balls.
    put(1, 9, STONE_WHITE);
    put(0, 8, STONE_WHITE);
    game->gameBoard().pendingStones.clear();  // nothing falls onto the squares checked below
    game->gameBoard().pendingStoneTimes.clear();
    const Board& board = game->gameBoard();

    // A click on an empty square with nothing held does nothing.
    tap(pixelX(4), pixelY(4));
    EXPECT_EQ(Square(), board.selected);
    // Click a ball: held. Click it again: put back.
    tap(pixelX(1), pixelY(1));
    EXPECT_EQ(Square(1, 1), board.selected);
    advance(300);
    tap(pixelX(1), pixelY(1));
    EXPECT_EQ(Square(), board.selected);
    // Click a ball, click another: the other is held. Click an unreachable square: put back.
    advance(300);
    tap(pixelX(1), pixelY(1));
    advance(300);
    tap(pixelX(6), pixelY(6));
    EXPECT_EQ(Square(6, 6), board.selected);
    advance(300);
    tap(pixelX(0), pixelY(9));
    EXPECT_EQ(Square(), board.selected);
    EXPECT_EQ(STONE_GREEN, board.stones[6][6]);
    // Click a ball, then its destination: moved.
    advance(300);
    tap(pixelX(6), pixelY(6));
    advance(500);
    tap(pixelX(2), pixelY(7));
    EXPECT_EQ(STONE_GREEN, board.stones[7][2]);
    EXPECT_EQ(SQUARE_EMPTY, board.stones[6][6]);
    EXPECT_EQ(Square(), board.selected);
    // And a drag moves too.
    advance(500);
    dragBall(Square(1, 1), Square(3, 1));
    EXPECT_EQ(STONE_BLUE, board.stones[1][3]);
    EXPECT_EQ(SQUARE_EMPTY, board.stones[1][1]);
    EXPECT_EQ(twoTapStored, liveSettings().twoTapMoves);
  }
  liveSettings().twoTapMoves = false;
}

TEST_F(ControllerTest, PenaltyClockAnnouncesBallsAndMovesPushItBack) {
  emptyBoardInPlay();
  // Easy, level 1: period 1.6 * 92500 / 3 = 49333 ms.
  game->penaltyClock().resumeFrom(game->gameClock().gameTime(), game->penaltyClock().sinceLastMove(game->gameClock().gameTime()), 0);
  advance(24666);
  EXPECT_NEAR(0.5f, game->announceDuePenaltyBall(), 0.001f);
  EXPECT_EQ(3, game->gameBoard().pendingStones.size());
  advance(24668);
  EXPECT_NEAR(0.0f, game->announceDuePenaltyBall(), 0.001f);
  ASSERT_EQ(4, game->gameBoard().pendingStones.size());
  EXPECT_EQ(game->gameClock().gameTime(), game->gameBoard().pendingStoneTimes[3].ms);
  // Three periods at once: one ball, the period jumps over all of them.
  advance(3 * 49334);
  game->announceDuePenaltyBall();
  EXPECT_EQ(5, game->gameBoard().pendingStones.size());

  // Move credit at level 1 with F 1.6: at most 5333 ms, else the time the move took.
  put(0, 0, STONE_BLUE);
  const int periodStart = game->gameClock().gameTime() - game->penaltyClock().sinceLastPenalty(game->gameClock().gameTime());
  game->penaltyClock().resumeFrom(game->gameClock().gameTime(), 1000, game->penaltyClock().sinceLastPenalty(game->gameClock().gameTime()));
  dragBall(Square(0, 0), Square(2, 0));
  const int now = game->gameClock().gameTime();
  EXPECT_EQ(periodStart + 1400, now - game->penaltyClock().sinceLastPenalty(now));

  // Menus freeze the clock.
  game->switchGameState(GameController::STATE_GAME_MENU);
  const float shown = game->announceDuePenaltyBall();
  advance(3600000);
  EXPECT_FLOAT_EQ(shown, game->announceDuePenaltyBall());
}

TEST_F(ControllerTest, IdleBallFallsAfterTwentySecondsAndCanEndTheGame) {
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  game->penaltyClock().idleBallDropped(game->gameClock().gameTime());
  advance(20000);
  frame();
  EXPECT_EQ(79, game->gameBoard().freeSquares.size());
  advance(1);
  frame();
  EXPECT_EQ(78, game->gameBoard().freeSquares.size());

  // Only one free square left: the idle ball fills it and the game ends at once. The board is
  // filled in a pattern without any line of five, around the balls already there.
  const Square lastFree = game->gameBoard().freeSquares[0];
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 8; ++x)
      if (!(Square(x, y) == lastFree) && game->gameBoard().stones[y][x] == SQUARE_EMPTY) put(x, y, (x + 2 * y) % 4 + 1);
  ASSERT_EQ(1, game->gameBoard().freeSquares.size());
  advance(20001);
  frame();
  EXPECT_EQ(GameController::STATE_GAME_ENDING, game->state());
  EXPECT_TRUE(game->gameClock().isPaused());
  advance(2001);
  frame();
  EXPECT_EQ(GameController::STATE_GAME_OVER, game->state());
  tap(160, 240);
  EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  EXPECT_GT(game->gameBoard().freeSquares.size(), 70);
}

// A selected (two-tap) or held (drag) ball that a dropped ball's line removes: the selection
// ends with it, and the later release or tap is an ordinary touch on an empty square.
TEST_F(ControllerTest, SelectionEndsWhenADroppedBallsLineRemovesTheBall) {
  for (const bool twoTap : {false, true}) {
    SCOPED_TRACE(twoTap ? "two-tap moves" : "drag-and-drop");
    liveSettings().twoTapMoves = twoTap;
    emptyBoardInPlay();
    game->gameBoard().settings.clockSpeed = 1;
    // Four rainbow balls in the top row; (4, 0) is the only free square; no other line anywhere.
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 8; ++x)
        if (y != 0 || x > 4) put(x, y, (x + 2 * y) % 4 + 1);
    for (int x = 0; x < 4; ++x) put(x, 0, STONE_RAINBOW);
    ASSERT_EQ(1, game->gameBoard().freeSquares.size());
    game->penaltyClock().idleBallDropped(game->gameClock().gameTime());

    game->handleMouseDown(pixelX(3), pixelY(0));
    advance(80);
    if (twoTap) game->handleMouseUp(pixelX(3), pixelY(0));
    ASSERT_EQ(Square(3, 0), game->gameBoard().selected);
    for (int waited = 0; waited <= 21000; waited += 500) {
      advance(500);
      frame();
    }
    // The idle ball completed the rainbow row: the selected ball went with it.
    EXPECT_EQ(SQUARE_EMPTY, game->gameBoard().stones[0][3]);
    EXPECT_EQ(Square(), game->gameBoard().selected);
    EXPECT_TRUE(game->waitingForFirstTap());
    EXPECT_EQ(ANIM_REMOVE, game->gameBoard().animations[0][3].kind);
    EXPECT_TRUE(game->gameBoard().animations[0][3].active);

    const int moves = game->gameBoard().moveCount;
    if (twoTap) {
      tap(pixelX(4), pixelY(0));
    } else {
      game->handleMouseDrag(pixelX(4), pixelY(0));
      advance(400);
      game->handleMouseUp(pixelX(4), pixelY(0));
    }
    frame();
    EXPECT_EQ(moves, game->gameBoard().moveCount);
    EXPECT_EQ(Square(), game->gameBoard().selected);
    EXPECT_EQ(GameController::STATE_PLAYING, game->state());
  }
  liveSettings().twoTapMoves = false;
}

// A saved game whose selection names an empty square (or one outside the board) resumes
// without a selection, so no touch can move a ball that is not there.
TEST_F(ControllerTest, StoredSelectionWithoutABallIsNoSelection) {
  emptyBoardInPlay();
  put(2, 2, STONE_BLUE);
  for (const Square stored : {Square(5, 5), Square(2, 2), Square(9, 11)}) {
    game->gameBoard().selected = stored;
    game->saveState(statePath().c_str());
    game = newGame();
    game->loadState(statePath().c_str(), scoresPath().c_str());
    const Square expected = stored == Square(2, 2) ? stored : Square();
    EXPECT_EQ(expected, game->gameBoard().selected) << stored.x << "," << stored.y;
    game->gameBoard().selected = Square();
  }
}

TEST_F(ControllerTest, ClockOffMeansNoStripAndNoIdleBall) {
  liveSettings().clockDisabled = true;
  liveSettings().setValues();
  game->resetGame();
  emptyBoardInPlay();
  put(0, 0, STONE_BLUE);
  EXPECT_EQ(-1.0f, game->announceDuePenaltyBall());
  advance(60000);
  frame();
  EXPECT_EQ(79, game->gameBoard().freeSquares.size());
  EXPECT_EQ(6, game->tableIndex());
}

TEST_F(ControllerTest, SnapshotIsRebuiltOnlyWhenTheBoardChanged) {
  emptyBoardInPlay();
  put(2, 2, STONE_GREEN);
  frame();
  const Texture* first = game->boardImage();
  ASSERT_NE(nullptr, first);
  frame();
  EXPECT_EQ(first, game->boardImage());
  put(3, 3, STONE_RED);
  frame();
  // The new image is made before the old one is freed, so it cannot reuse its address.
  const Texture* second = game->boardImage();
  EXPECT_NE(first, second);
  frame();
  EXPECT_EQ(second, game->boardImage());
}

TEST_F(ControllerTest, SpinningNumberClimbsOneEvery300Ms) {
  SpinningNumber number;
  EXPECT_EQ(5.0f, number.numberToShow(5, game->gameClock().nowMs()));
  EXPECT_EQ(5.0f, number.numberToShow(15, game->gameClock().nowMs()));
  advance(1500);
  EXPECT_NEAR(10.0f, number.numberToShow(15, game->gameClock().nowMs()), 0.01f);
  advance(1500);
  EXPECT_GE(number.numberToShow(15, game->gameClock().nowMs()), 15.0f);
  EXPECT_EQ(15.0f, number.numberToShow(15, game->gameClock().nowMs()));
  // A lower target is reached at once: this frame still shows the old value, the next the new.
  EXPECT_EQ(15.0f, number.numberToShow(3, game->gameClock().nowMs()));
  EXPECT_EQ(3.0f, number.numberToShow(3, game->gameClock().nowMs()));
}

TEST_F(ControllerTest, SavedGameResumesWithItsClockIntervals) {
  emptyBoardInPlay();
  put(4, 4, STONE_PINK);
  game->penaltyClock().resumeFrom(game->gameClock().gameTime(), 7000, 12000);
  game.reset();  // the destructor saves
  game = newGame();
  game->loadState(statePath().c_str(), scoresPath().c_str());
  EXPECT_EQ(STONE_PINK, game->gameBoard().stones[4][4]);
  EXPECT_EQ(7000, game->penaltyClock().sinceLastMove(game->gameClock().gameTime()));
  EXPECT_EQ(12000, game->penaltyClock().sinceLastPenalty(game->gameClock().gameTime()));
  EXPECT_EQ(GameController::STATE_SPLASH, game->state());

  // Loaded and left on the start screen, it is saved as it was read, even when time passes
  // between every two readings of the clock.
  const testfiles::Bytes asSaved = testfiles::readFile(statePath());
  clockMovesOnEveryRead(3);
  game.reset();
  game = newGame();
  game->loadState(statePath().c_str(), scoresPath().c_str());
  advance(5000);
  game.reset();
  EXPECT_EQ(asSaved, testfiles::readFile(statePath()));
}

TEST_F(ControllerTest, DamagedSavedGameStartsANewGame) {
  game.reset();
  {
    std::FILE* file = std::fopen(statePath().c_str(), "wb");
    std::fputs("not a saved game at all", file);
    std::fclose(file);
  }
  game = newGame();
  game->loadState(statePath().c_str(), scoresPath().c_str());
  EXPECT_EQ(0, game->gameBoard().moveCount);
  EXPECT_EQ(1, game->gameBoard().level);
}

TEST(MenuHitTestingTest, ButtonColumns) {
  struct Case {
    int x, y, count, index;
  } cases[] = {{160, 108, 5, 0}, {160, 107, 5, -1}, {160, 160, 5, -1}, {160, 161, 5, 1}, {160, 159, 5, 0},
               {51, 200, 5, 1},  {50, 200, 5, -1},  {269, 350, 5, 4}, {270, 350, 5, -1},
               {160, 373, 5, -1}, {160, 240, 1, 0}};
  for (const Case& c : cases) EXPECT_EQ(c.index, getButtonIndex(c.x, c.y, c.count)) << c.x << "," << c.y;
}

// A touch at the middle of a square as the board draws it picks that square, on every board
// size; the strip below the board starts where it is drawn for the board's height.
TEST_F(ControllerTest, EveryBoardSquareIsTouchedWhereItIsDrawn) {
  emptyBoardInPlay();
  for (int sizeClass = 0; sizeClass <= 5; ++sizeClass) {
    game->gameBoard().settings.boardSizeClass = sizeClass;
    Board::boardSizeForClass(sizeClass, game->gameBoard().width, game->gameBoard().height);
    const int width = game->gameBoard().width;
    const float size = ScreenGeometry::squareSize(width);
    for (int y = 0; y < game->gameBoard().height; ++y) {
      for (int x = 0; x < width; ++x) {
        const ScreenPoint corner = BallGraphics::squareCorner(x, y, ScreenGeometry::boardScale(width));
        const Square hit = game->getCurrentMouseSquare(static_cast<int>(corner.x + size / 2.0f),
                                                       static_cast<int>(corner.y + size / 2.0f), true);
        EXPECT_EQ(Square(x, y), hit) << "size class " << sizeClass << ", square " << x << "," << y;
      }
    }
    const int stripTop = ScreenGeometry::menuStripTop(game->gameBoard().height);
    EXPECT_FALSE(game->isInMenuStrip(stripTop)) << "size class " << sizeClass;
    EXPECT_TRUE(game->isInMenuStrip(stripTop + 1)) << "size class " << sizeClass;
  }
}

}  // namespace

namespace {

// The start picture, the largest texture, is held only while the start screen can show: play
// lets it go, a new look or scale does not bring it back, and the start screen makes it again.
TEST_F(ControllerTest, TheStartPictureIsHeldOnlyForTheStartScreen) {
  game->drawBoard();
  ASSERT_EQ(GameController::STATE_SPLASH, game->state());
  EXPECT_NE(nullptr, game->renderer().splashTexture.get());
  tap(10, 10);
  ASSERT_EQ(GameController::STATE_PLAYING, game->state());
  game->drawBoard();
  EXPECT_EQ(nullptr, game->renderer().splashTexture.get());
  EXPECT_EQ(nullptr, game->renderer().tapToStartAGameTexture.get());
  game->renderer().regenerate();
  EXPECT_EQ(nullptr, game->renderer().splashTexture.get()) << "made again with the rest of the art";
  EXPECT_NE(nullptr, game->renderer().gameMenuBarTexture.get());
  game->switchGameState(GameController::STATE_SPLASH);
  game->drawBoard();
  EXPECT_NE(nullptr, game->renderer().splashTexture.get());
}

}  // namespace
