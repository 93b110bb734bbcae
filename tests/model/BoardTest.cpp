// Board set-up, random colours, stones and moves, announced balls and the timed-event queue.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ModelTestSupport.h"

using namespace modeltest;

namespace {

class BoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useMode(Settings::MODE_EASY);
    testRandom().reseed(1234);
    advanceClock(100);
  }
  TestBoard board;
};

int countStones(const Board& board) {
  int count = 0;
  for (int y = 0; y < board.height; ++y)
    for (int x = 0; x < board.width; ++x) count += board.stones[y][x] != SQUARE_EMPTY;
  return count;
}

TEST_F(BoardTest, ResetStartsAGameOnTheModesBoard) {
  struct Case {
    int mode;
    int width;
    int height;
  } cases[] = {{Settings::MODE_EASY, 8, 10}, {Settings::MODE_MEDIUM, 8, 10}, {Settings::MODE_HARD, 8, 10},
               {Settings::MODE_QUICK, 7, 9}};
  for (const Case& c : cases) {
    useMode(c.mode);
    board.score = 42;
    board.reset(true);
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(c.width, board.width);
    EXPECT_EQ(c.height, board.height);
    EXPECT_EQ(c.mode, board.settings.gameMode);
    EXPECT_TRUE(freeSquaresMatchBoard(board));
    // Seven initial balls, fewer only when they happened to complete a line.
    EXPECT_LE(countStones(board), 7);
    EXPECT_EQ(c.width * c.height - countStones(board), board.freeSquares.size());
    ASSERT_EQ(3, board.pendingStones.size());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(-1, board.pendingStoneTimes[i].ms);
    EXPECT_EQ(1, board.level);
    EXPECT_EQ(0, board.score);
    EXPECT_EQ(42, board.previousScore);
    EXPECT_EQ(0, board.moveCount);
    EXPECT_TRUE(board.timedEvents.empty());
    EXPECT_EQ(Square(), board.selected);
  }
}

TEST_F(BoardTest, ResetWithoutBallsListsFreeSquaresColumnByColumn) {
  useMode(Settings::MODE_QUICK);
  board.reset(false);
  ASSERT_EQ(63, board.freeSquares.size());
  EXPECT_EQ(Square(0, 0), board.freeSquares[0]);
  EXPECT_EQ(Square(0, 8), board.freeSquares[8]);
  EXPECT_EQ(Square(1, 0), board.freeSquares[9]);
}

TEST_F(BoardTest, BoardSizeClasses) {
  struct Case {
    int sizeClass, width, height;
  } cases[] = {{0, 7, 8}, {1, 7, 9}, {2, 8, 9}, {3, 8, 10}, {4, 9, 10}, {99, 9, 10}, {-1, 9, 10}};
  for (const Case& c : cases) {
    int width = 0, height = 0;
    Board::boardSizeForClass(c.sizeClass, width, height);
    EXPECT_EQ(c.width, width) << c.sizeClass;
    EXPECT_EQ(c.height, height) << c.sizeClass;
  }
}

TEST_F(BoardTest, RandomColourDrawsInTheFixedOrder) {
  // Easy at level 1: no early bomb possible, so a draw is one in 200, then the rainbow roll
  // one in 192 below 11, then one of five colours.
  clearBoard(board);
  board.ballsSinceBomb = 0;
  const unsigned seed = 777;
  testRandom().reseed(seed);
  const int colour = board.getRandomStoneColour();
  RandomSource replay(seed);
  replay.below(200);
  const bool rainbow = replay.below(192) < 11;
  const int expected = rainbow ? STONE_RAINBOW : replay.below(5) + 1;
  EXPECT_EQ(expected, colour) << "seed " << seed;
  EXPECT_EQ(1, board.ballsSinceBomb);
}

TEST_F(BoardTest, ColourRangeFollowsModeAndLevel) {
  struct Case {
    int mode, level, highestColour;
  } cases[] = {{Settings::MODE_EASY, 1, 5},   {Settings::MODE_EASY, 3, 6},   {Settings::MODE_EASY, 4, 7},
               {Settings::MODE_MEDIUM, 1, 6}, {Settings::MODE_MEDIUM, 2, 7}, {Settings::MODE_QUICK, 1, 6},
               {Settings::MODE_HARD, 1, 7},   {Settings::MODE_HARD, 2, 8}};
  for (const Case& c : cases) {
    useMode(c.mode);
    clearBoard(board);
    board.level = c.level;
    int highest = 0;
    for (int i = 0; i < 3000; ++i) {
      const int colour = board.getRandomStoneColour();
      ASSERT_GE(colour, STONE_BLUE);
      if (!isSpecialStone(colour) && colour > highest) highest = colour;
    }
    EXPECT_EQ(c.highestColour, highest) << "mode " << c.mode << " level " << c.level;
  }
}

TEST_F(BoardTest, BombSpacing) {
  // Rate 3 (Easy): a bomb needs ballsSinceBomb > 6.25 and is forced once it exceeds 50.
  clearBoard(board);
  for (unsigned seed = 1; seed <= 200; ++seed) {
    testRandom().reseed(seed);
    board.ballsSinceBomb = 0;
    for (int draw = 0; draw < 7; ++draw) ASSERT_NE(STONE_BOMB, board.getRandomStoneColour()) << "seed " << seed;
  }
  board.ballsSinceBomb = 51;
  EXPECT_EQ(STONE_BOMB, board.getRandomStoneColour());
  EXPECT_EQ(0, board.ballsSinceBomb);

  // At rate 0 no bomb ever comes.
  board.settings.specialBallRate = 0;
  board.ballsSinceBomb = 100000;
  for (int draw = 0; draw < 2000; ++draw) ASSERT_NE(STONE_BOMB, board.getRandomStoneColour());
}

TEST_F(BoardTest, StonesAndMovesKeepTheFreeListInStep) {
  clearBoard(board);
  Square a(2, 3), b(5, 7);
  board.setStone(a, STONE_RED, true);
  EXPECT_EQ(STONE_RED, board.stones[3][2]);
  EXPECT_TRUE(board.animations[3][2].active);
  EXPECT_EQ(ANIM_APPEAR, board.animations[3][2].kind);
  EXPECT_TRUE(freeSquaresMatchBoard(board));

  // An occupied square keeps its stone.
  board.setStone(a, STONE_BLUE, false);
  EXPECT_EQ(STONE_RED, board.stones[3][2]);

  board.doMove(a, b);
  EXPECT_EQ(SQUARE_EMPTY, board.stones[3][2]);
  EXPECT_EQ(STONE_RED, board.stones[7][5]);
  EXPECT_EQ(1, board.moveCount);
  EXPECT_FALSE(board.animations[3][2].active);  // no vanish animation at the origin
  EXPECT_EQ(ANIM_APPEAR, board.animations[7][5].kind);
  EXPECT_TRUE(freeSquaresMatchBoard(board));

  EXPECT_EQ(board.freeSquares.size() - 1, board.emptySquare(b, true));
  EXPECT_EQ(ANIM_REMOVE, board.animations[7][5].kind);
  EXPECT_EQ(STONE_RED, board.animations[7][5].stone);
  const int changes = board.changeCount;
  EXPECT_EQ(-1, board.emptySquare(b, true));
  EXPECT_EQ(changes + 1, board.changeCount);
  EXPECT_TRUE(freeSquaresMatchBoard(board));
}

TEST_F(BoardTest, SquaresOffTheBoardAreNeverTouched) {
  clearBoard(board);
  const int before = board.freeSquares.size();
  for (Square s : {Square(-1, -1), Square(8, 0), Square(0, 10), Square(16, 16), Square(-5, 300)}) {
    board.setStone(s, STONE_RED, true);
    EXPECT_EQ(-1, board.emptySquare(s, true));
  }
  EXPECT_EQ(before, board.freeSquares.size());
  EXPECT_TRUE(freeSquaresMatchBoard(board));
}

TEST_F(BoardTest, IsSurroundedLooksAtInBoardOrthogonalNeighbours) {
  clearBoard(board);
  EXPECT_FALSE(board.isSurrounded(Square(0, 0)));
  put(board, 1, 0, STONE_RED);
  EXPECT_FALSE(board.isSurrounded(Square(0, 0)));
  put(board, 0, 1, STONE_RED);
  EXPECT_TRUE(board.isSurrounded(Square(0, 0)));
  put(board, 1, 1, STONE_RED);
  EXPECT_TRUE(board.isSurrounded(Square(0, 0)));
  EXPECT_FALSE(board.isSurrounded(Square(1, 0)));  // (0, 0) next to it is free
}

TEST_F(BoardTest, PendingBallsStopWhenTheBoardIsFull) {
  clearBoard(board);
  // Fill all but two squares with a pattern that holds no line of five.
  const int colours[] = {STONE_BLUE, STONE_GREEN, STONE_ORANGE, STONE_RED};
  for (int y = 0; y < board.height; ++y)
    for (int x = 0; x < board.width; ++x)
      if (!(y == 9 && x >= 6)) put(board, x, y, colours[(x + 2 * y) % 4]);
  board.pendingStones[0] = board.pendingStones[1] = board.pendingStones[2] = STONE_WHITE;
  EXPECT_FALSE(board.addPendingBalls());
  EXPECT_TRUE(board.freeSquares.empty());
  ASSERT_EQ(3, board.pendingStones.size());
  EXPECT_EQ(STONE_WHITE, board.pendingStones[2]);
  EXPECT_FALSE(board.addBallAtRandomPos());
  EXPECT_TRUE(freeSquaresMatchBoard(board));
}

TEST_F(BoardTest, PendingBallsArePlacedAndANewSetAnnounced) {
  clearBoard(board);
  board.addPendingBall(STONE_PINK);
  ASSERT_EQ(4, board.pendingStones.size());
  EXPECT_EQ(testClock().gameTime(), board.pendingStoneTimes[3].ms);
  EXPECT_TRUE(board.addPendingBalls());
  int stones = 0;
  for (int y = 0; y < board.height; ++y)
    for (int x = 0; x < board.width; ++x) stones += board.stones[y][x] != SQUARE_EMPTY;
  EXPECT_EQ(4, stones);
  EXPECT_EQ(3, board.pendingStones.size());
  EXPECT_TRUE(freeSquaresMatchBoard(board));
}

TEST_F(BoardTest, ScoreCreditRaisesLevelsAndDropsExtraBalls) {
  // Medium with the clock off: extra balls (2 * level) / 3, so 1 at level 2 and 2 at level 3.
  useMode(Settings::MODE_MEDIUM, true);
  clearBoard(board);
  board.score = 40;
  const int now = testClock().nowMs();
  board.timedEvents.append(Board::TimedEvent(Board::TimedEvent::SCORE_CREDIT, now - 1, 70));
  board.fireDueEvents();
  EXPECT_EQ(110, board.score);
  EXPECT_EQ(3, board.level);
  EXPECT_EQ(3, board.width * board.height - board.freeSquares.size());
  // The two level-up sounds, 1 s apart, after the fired credit left the queue.
  ASSERT_EQ(2, board.timedEvents.size());
  EXPECT_EQ(Board::TimedEvent::LEVEL_REACHED, board.timedEvents[0].type);
  EXPECT_EQ(now + 450, board.timedEvents[0].time);
  EXPECT_EQ(now + 1450, board.timedEvents[1].time);
}

TEST_F(BoardTest, EventsFireOnlyOnceTheClockHasPassedThem) {
  clearBoard(board);
  const int now = testClock().nowMs();
  board.timedEvents.append(Board::TimedEvent(Board::TimedEvent::SCORE_CREDIT, now, 6));
  board.fireDueEvents();
  EXPECT_EQ(0, board.score);
  advanceClock(1);
  board.fireDueEvents();
  EXPECT_EQ(6, board.score);
  EXPECT_TRUE(board.timedEvents.empty());
}

TEST_F(BoardTest, AnEntryMovedIntoAFiredPlaceWaitsForTheNextCall) {
  clearBoard(board);
  const int now = testClock().nowMs();
  board.timedEvents.append(Board::TimedEvent(Board::TimedEvent::SCORE_CREDIT, now - 1, 6));
  board.timedEvents.append(Board::TimedEvent(Board::TimedEvent::SCORE_CREDIT, now - 1, 9));
  board.fireDueEvents();
  EXPECT_EQ(6, board.score);
  board.fireDueEvents();
  EXPECT_EQ(15, board.score);
  EXPECT_TRUE(board.timedEvents.empty());
}

}  // namespace
