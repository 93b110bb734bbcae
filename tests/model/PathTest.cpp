// Reachability search and path marking.
#include <gtest/gtest.h>

#include "ModelTestSupport.h"

using namespace modeltest;

namespace {

using Direction = Board::ReachabilityInfo::Direction;

class PathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useMode(Settings::MODE_EASY);
    clearBoard(board);
  }
  void select(int x, int y) {
    board.selected = Square(x, y);
    board.calculateReachabilities();
  }
  int distance(int x, int y) const { return board.reachability[y][x].distance; }

  TestBoard board;
};

TEST_F(PathTest, EmptyBoardShortestPathGoesAlongTheTopRowThenDown) {
  put(board, 0, 0, STONE_BLUE);
  select(0, 0);
  EXPECT_EQ(0, distance(0, 0));
  EXPECT_EQ(16, distance(7, 9));

  Square from(0, 0), to(7, 9);
  board.calculateReachability(from, to);
  // Walking back from the target: up column 7 to the top row, then left to the origin.
  Square t = to;
  int steps = 0;
  while (t != from) {
    ASSERT_TRUE(board.reachability[t.y][t.x].onPath);
    EXPECT_TRUE(t.x == 7 || t.y == 0) << t.x << "," << t.y;
    EXPECT_EQ(ANIM_PATH_PREVIEW, board.animations[t.y][t.x].kind);
    EXPECT_EQ(STONE_BLUE, board.animations[t.y][t.x].stone);
    Board::navigatePath(board.reachability[t.y][t.x].direction, t);
    ASSERT_LT(++steps, 100);
  }
  EXPECT_EQ(16, steps);
  EXPECT_FALSE(board.reachability[0][0].onPath);
  EXPECT_FALSE(board.reachability[1][0].onPath);
}

TEST_F(PathTest, EnclosedBallReachesNothing) {
  put(board, 3, 3, STONE_RED);
  put(board, 2, 3, STONE_BLUE);
  put(board, 4, 3, STONE_BLUE);
  put(board, 3, 2, STONE_BLUE);
  put(board, 3, 4, STONE_BLUE);
  select(3, 3);
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      const bool originOrNeighbour = (x == 3 && y == 3) || (std::abs(x - 3) + std::abs(y - 3) == 1);
      EXPECT_EQ(originOrNeighbour, distance(x, y) != -1) << x << "," << y;
    }
  }
  Square from(3, 3), to(0, 0);
  board.calculateReachability(from, to);
  for (int y = 0; y < board.height; ++y)
    for (int x = 0; x < board.width; ++x) EXPECT_FALSE(board.reachability[y][x].onPath);
}

TEST_F(PathTest, WallsForceADetour) {
  // A wall down column 2 with a gap at the bottom row.
  for (int y = 0; y < board.height - 1; ++y) put(board, 2, y, STONE_GREEN);
  put(board, 0, 0, STONE_RED);
  select(0, 0);
  // Down to the gap, through it and back up: occupied squares are never expanded.
  EXPECT_EQ(21, distance(3, 0));
  // The wall's stones get a distance and the step back toward the reached region.
  EXPECT_EQ(2, distance(2, 0));
  EXPECT_EQ(Direction::DIR_LEFT, board.reachability[0][2].direction);
  EXPECT_EQ(3, distance(2, 1));
}

TEST_F(PathTest, NavigatePath) {
  struct Case {
    Direction direction;
    Square expected;
  } cases[] = {{Direction::DIR_LEFT, {4, 5}},
               {Direction::DIR_RIGHT, {6, 5}},
               {Direction::DIR_UP, {5, 4}},
               {Direction::DIR_DOWN, {5, 6}},
               {Direction::DIR_NONE, {5, 5}},
               {static_cast<Direction>(17), {5, 5}}};
  for (const Case& c : cases) {
    Square s(5, 5);
    Board::navigatePath(c.direction, s);
    EXPECT_EQ(c.expected, s) << c.direction;
  }
}

TEST_F(PathTest, MarkingClearsTheOldPathAndStopsAtTheOriginItself) {
  put(board, 0, 0, STONE_BLUE);
  select(0, 0);
  Square from(0, 0), first(3, 0), second(0, 3);
  board.calculateReachability(from, first);
  EXPECT_TRUE(board.reachability[0][3].onPath);
  board.calculateReachability(from, second);
  EXPECT_FALSE(board.reachability[0][3].onPath);
  EXPECT_EQ(ANIM_CLEARED, board.animations[0][3].kind);
  EXPECT_FALSE(board.animations[0][3].active);
  EXPECT_TRUE(board.reachability[3][0].onPath);

  // The origin as target: the old marking is cleared and nothing new is marked.
  board.calculateReachability(from, from);
  for (int y = 0; y < board.height; ++y)
    for (int x = 0; x < board.width; ++x) EXPECT_FALSE(board.reachability[y][x].onPath);
}

TEST_F(PathTest, OddOriginsAndTargetsMarkNothing) {
  put(board, 0, 0, STONE_BLUE);
  put(board, 5, 5, STONE_RED);
  select(0, 0);
  struct Case {
    Square from, to;
  } cases[] = {{{0, 0}, {-1, -1}}, {{0, 0}, {8, 0}}, {{0, 0}, {5, 5}}, {{-1, -1}, {4, 4}}, {{20, 3}, {4, 4}}};
  for (Case c : cases) {
    board.calculateReachability(c.from, c.to);
    for (int y = 0; y < board.height; ++y)
      for (int x = 0; x < board.width; ++x) EXPECT_FALSE(board.reachability[y][x].onPath) << x << "," << y;
  }
  // An origin other than the search's own: the walk still ends, at the search origin.
  Square elsewhere(4, 4), target(6, 6);
  board.calculateReachability(elsewhere, target);
  EXPECT_TRUE(board.reachability[6][6].onPath);
}

TEST_F(PathTest, SelectionOutsideTheBoardReachesNothing) {
  put(board, 0, 0, STONE_BLUE);
  select(-1, -1);
  for (int y = 0; y < board.height; ++y)
    for (int x = 0; x < board.width; ++x) EXPECT_EQ(-1, distance(x, y));
}

TEST_F(PathTest, StaleSelectionAnimationsStopButTheSelectedOneBounces) {
  put(board, 0, 0, STONE_BLUE);
  put(board, 4, 4, STONE_RED);
  board.animations[0][0] = AnimationInfo{0.0, STONE_BLUE, true, -1.0f, ANIM_SELECTED, -1};
  board.animations[4][4] = AnimationInfo{0.0, STONE_RED, true, -1.0f, ANIM_SELECTED, -1};
  select(0, 0);
  const unsigned revisionBefore = board.pictureRevision();
  Square from(0, 0), to(2, 0);
  board.calculateReachability(from, to);
  EXPECT_TRUE(board.animations[0][0].active);
  EXPECT_FALSE(board.animations[4][4].active);
  EXPECT_NE(revisionBefore, board.pictureRevision());
}

TEST(SquareSetTest, InOrderByColumnThenRow) {
  SquareSet set;
  EXPECT_TRUE(set.insert(Square(2, 5), 0));
  EXPECT_TRUE(set.insert(Square(1, 9), 0));
  EXPECT_TRUE(set.insert(Square(2, 0), 0));
  EXPECT_FALSE(set.insert(Square(2, 5), 0));
  EXPECT_EQ(3, set.count());
  std::vector<Square> order;
  set.forEachInOrder([&](const Square& s, const int&) { order.push_back(s); });
  ASSERT_EQ(3u, order.size());
  EXPECT_EQ(Square(1, 9), order[0]);
  EXPECT_EQ(Square(2, 0), order[1]);
  EXPECT_EQ(Square(2, 5), order[2]);
}

}  // namespace
