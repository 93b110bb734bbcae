// Lines through an arriving ball: removal, rainbow and bomb balls, points and their timing.
#include <gtest/gtest.h>

#include <vector>

#include "ModelTestSupport.h"

using namespace modeltest;

namespace {

struct Placed {
  int x, y, colour;
};

struct RowCase {
  const char* name;
  std::vector<Placed> stones;  // the arriving ball is the last one
  int expectedRemoved;
  std::vector<Placed> survivors;  // stones that must stay
};

class RowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useMode(Settings::MODE_HARD);
    clearBoard(board);
  }
  TestBoard board;
  SquareSet removed;
};

int credited(const Board& board) {
  int points = -1;
  for (const Board::TimedEvent& event : board.timedEvents)
    if (event.type == Board::TimedEvent::SCORE_CREDIT) points = event.value;
  return points;
}

TEST_F(RowTest, LinesThroughTheArrivingBall) {
  const std::vector<RowCase> cases = {
      {"four in a row plus the arriving ball",
       {{0, 0, STONE_RED}, {1, 0, STONE_RED}, {2, 0, STONE_RED}, {3, 0, STONE_RED}, {4, 0, STONE_RED}},
       5,
       {}},
      {"arriving in the middle of a diagonal",
       {{0, 0, STONE_RED}, {1, 1, STONE_RED}, {3, 3, STONE_RED}, {4, 4, STONE_RED}, {2, 2, STONE_RED}},
       5,
       {}},
      {"down-left diagonal of six",
       {{7, 0, STONE_BLUE}, {6, 1, STONE_BLUE}, {5, 2, STONE_BLUE}, {3, 4, STONE_BLUE}, {2, 5, STONE_BLUE},
        {4, 3, STONE_BLUE}},
       6,
       {}},
      {"a rainbow completes a line of four",
       {{1, 5, STONE_GREEN}, {2, 5, STONE_GREEN}, {3, 5, STONE_GREEN}, {4, 5, STONE_GREEN}, {0, 5, STONE_RAINBOW}},
       5,
       {}},
      {"a rainbow inside the line counts for its colour",
       {{0, 2, STONE_PINK}, {0, 3, STONE_RAINBOW}, {0, 4, STONE_PINK}, {0, 5, STONE_PINK}, {0, 6, STONE_PINK}},
       5,
       {}},
      {"a bomb in the line removes the colour everywhere",
       {{7, 9, STONE_RED}, {0, 9, STONE_RED}, {5, 5, STONE_BLUE}, {0, 0, STONE_RED}, {1, 0, STONE_BOMB},
        {2, 0, STONE_RED}, {3, 0, STONE_RED}, {4, 0, STONE_RED}},
       7,
       {{5, 5, STONE_BLUE}}},
      {"two lines crossing at the arriving ball",
       {{0, 4, STONE_WHITE}, {1, 4, STONE_WHITE}, {3, 4, STONE_WHITE}, {4, 4, STONE_WHITE}, {2, 2, STONE_WHITE},
        {2, 3, STONE_WHITE}, {2, 5, STONE_WHITE}, {2, 6, STONE_WHITE}, {2, 4, STONE_WHITE}},
       9,
       {}},
      {"special ball next to four specials with a bomb removes every ordinary ball",
       {{0, 9, STONE_RED}, {7, 9, STONE_GREEN}, {5, 7, STONE_BROWN}, {1, 0, STONE_RAINBOW}, {2, 0, STONE_BOMB},
        {3, 0, STONE_RAINBOW}, {4, 0, STONE_RAINBOW}, {0, 0, STONE_RAINBOW}},
       8,
       {}},
      {"a line of four removes nothing", {{0, 0, STONE_RED}, {1, 0, STONE_RED}, {2, 0, STONE_RED}, {3, 0, STONE_RED}}, 0,
       {{0, 0, STONE_RED}, {3, 0, STONE_RED}}},
      {"a gap breaks the line",
       {{0, 0, STONE_RED}, {1, 0, STONE_RED}, {3, 0, STONE_RED}, {4, 0, STONE_RED}, {5, 0, STONE_RED}, {2, 1, STONE_RED}},
       0,
       {{2, 1, STONE_RED}}},
      {"another colour breaks the line",
       {{0, 0, STONE_RED}, {1, 0, STONE_RED}, {2, 0, STONE_BLUE}, {3, 0, STONE_RED}, {4, 0, STONE_RED}, {5, 0, STONE_RED},
        {6, 0, STONE_RED}},
       0,
       {{6, 0, STONE_RED}}},
  };

  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.name);
    clearBoard(board);
    for (const Placed& p : c.stones) put(board, p.x, p.y, p.colour);
    const Placed arriving = c.stones.back();
    const int stonesBefore = board.width * board.height - board.freeSquares.size();

    board.checkForConnections(Square(arriving.x, arriving.y), removed, 3);

    EXPECT_EQ(c.expectedRemoved, removed.count());
    EXPECT_EQ(stonesBefore - c.expectedRemoved, board.width * board.height - board.freeSquares.size());
    EXPECT_TRUE(freeSquaresMatchBoard(board));
    for (const Placed& p : c.survivors) EXPECT_EQ(p.colour, board.stones[p.y][p.x]) << p.x << "," << p.y;
    removed.forEachInOrder([&](const Square& s, const int&) {
      EXPECT_EQ(SQUARE_EMPTY, board.stones[s.y][s.x]);
      EXPECT_EQ(ANIM_REMOVE, board.animations[s.y][s.x].kind);
    });
    if (c.expectedRemoved == 0) {
      EXPECT_TRUE(board.timedEvents.empty());
    } else {
      EXPECT_TRUE(removed.hasKey(Square(arriving.x, arriving.y)));
      EXPECT_EQ(3 * c.expectedRemoved - 9, credited(board));
    }
  }
}

TEST_F(RowTest, SoundAndPointsComeHalfAStepBeforeTheBallArrives) {
  struct Case {
    int pathIndex, delay;
  } cases[] = {{3, 225}, {1, 45}, {0, 0}, {-1, 0}, {10, 855}};
  for (const Case& c : cases) {
    clearBoard(board);
    for (int x = 0; x < 5; ++x) put(board, x, 0, STONE_ORANGE);
    const int now = testClock().nowMs();
    board.checkForConnections(Square(4, 0), removed, c.pathIndex);
    ASSERT_EQ(2, board.timedEvents.size());
    EXPECT_EQ(Board::TimedEvent::LINE_REMOVED, board.timedEvents[0].type);
    EXPECT_EQ(now + c.delay, board.timedEvents[0].time) << c.pathIndex;
    EXPECT_EQ(Board::TimedEvent::SCORE_CREDIT, board.timedEvents[1].type);
    EXPECT_EQ(now + c.delay, board.timedEvents[1].time) << c.pathIndex;
    EXPECT_EQ(6, board.timedEvents[1].value);
  }
}

TEST_F(RowTest, ProbingCountsWithoutTouchingTheBoard) {
  for (int x = 0; x < 4; ++x) put(board, x, 0, STONE_RED);
  const int changes = board.changeCount;
  EXPECT_EQ(4, board.checkForConnectionsButDoNothing(Square(4, 0), STONE_RED));
  EXPECT_EQ(0, board.checkForConnectionsButDoNothing(Square(4, 0), STONE_BLUE));
  EXPECT_EQ(4, board.checkForConnectionsButDoNothing(Square(4, 0), STONE_RAINBOW));
  EXPECT_EQ(0, board.checkForConnectionsButDoNothing(Square(5, 0), STONE_RED));
  EXPECT_EQ(changes, board.changeCount);
  EXPECT_EQ(SQUARE_EMPTY, board.stones[0][4]);
}

TEST_F(RowTest, AnEmptyOriginRemovesNothing) {
  for (int x = 0; x < 4; ++x) put(board, x, 0, STONE_RED);
  for (int x = 5; x < 8; ++x) put(board, x, 0, STONE_RED);
  board.checkForConnections(Square(4, 0), removed, 1);
  EXPECT_TRUE(removed.empty());
  EXPECT_TRUE(board.timedEvents.empty());
}

}  // namespace
