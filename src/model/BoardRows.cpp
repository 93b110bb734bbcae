// Lines of five or more through an arriving ball: detection, removal and scoring.
// Rainbow balls count as every colour; a bomb in a removed line also removes every ball of the
// line's colour from the whole board.
#include "Board.h"
#include "GameClock.h"

namespace {

const int MIN_LINE_BALLS = 5;
const int MS_PER_PATH_STEP = 90;

struct ScanDirection {
  int dx;
  int dy;
};

// Horizontal, vertical, diagonal down-right, diagonal down-left: the order of the scans.
const ScanDirection SCAN_DIRECTIONS[4] = {{1, 0}, {0, 1}, {1, 1}, {-1, 1}};

// The moving ball takes 90 ms per step; sound and points come half a step before it arrives.
int delayForPath(int pathIndex) {
  const double delay = (pathIndex - 0.5) * static_cast<double>(MS_PER_PATH_STEP);
  return delay >= 0.0 ? static_cast<int>(delay) : 0;
}

}  // namespace

void Board::totalRemoved(Stone origin, int dx, int dy, MyTl::FixedArray<Square>& list, bool bombInvolved) {
  if (isSpecialStone(origin.colour)) {
    // A special ball is judged as each ordinary colour in turn, so it can complete several
    // lines of different colours at once.
    for (int colour = STONE_BLUE; colour <= STONE_BROWN; ++colour) {
      totalRemoved(Stone(origin.x, origin.y, colour), dx, dy, list, origin.colour == STONE_BOMB);
    }
    return;
  }

  const int colour = origin.colour;
  const int start = list.size();
  bool bombInLine = bombInvolved;
  auto matches = [&](int x, int y) {
    if (!isInBoard(Square(x, y))) return false;
    const int stone = stones[y][x];
    return stone != SQUARE_EMPTY && (stone == colour || isSpecialStone(stone));
  };
  for (int step : {1, -1}) {
    int x = origin.x + step * dx;
    int y = origin.y + step * dy;
    while (matches(x, y)) {
      if (stones[y][x] == STONE_BOMB) bombInLine = true;
      list.append(Square(x, y));
      x += step * dx;
      y += step * dy;
    }
  }

  if (list.size() - start < MIN_LINE_BALLS - 1) {
    list.resize(start);
    return;
  }
  if (bombInLine) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (stones[y][x] == colour && !(x == origin.x && y == origin.y)) list.append(Square(x, y));
      }
    }
  }
}

void Board::checkForConnections(Square s, SquareSet& removed, int pathIndex) {
  rowSquares.clear();
  const int colour = stoneAt(s);
  for (const ScanDirection& direction : SCAN_DIRECTIONS) {
    totalRemoved(Stone(s.x, s.y, colour), direction.dx, direction.dy, rowSquares, false);
  }

  removed.clear();
  for (int i = 0; i < rowSquares.size(); ++i) {
    Square q = rowSquares[i];
    if (removed.hasKey(q)) continue;
    if (stoneAt(q) != SQUARE_EMPTY) emptySquare(q, true);
    removed.insert(q, 0);
  }
  if (removed.empty()) return;

  // The arriving ball goes with its lines.
  if (!removed.hasKey(s)) {
    emptySquare(s, true);
    removed.insert(s, 0);
  }
  const int removedCount = removed.count();
  timedEvents.append(TimedEvent(TimedEvent::LINE_REMOVED, clock.nowMs() + delayForPath(pathIndex), -1));
  const int points = 3 * removedCount - 9;
  incScoreWhenPathComplete(points > 0 ? points : 0, pathIndex);
}

void Board::incScoreWhenPathComplete(int points, int pathIndex) {
  timedEvents.append(TimedEvent(TimedEvent::SCORE_CREDIT, clock.nowMs() + delayForPath(pathIndex), points));
}

int Board::checkForConnectionsButDoNothing(Square s, int colour) {
  probeSquares.clear();
  for (const ScanDirection& direction : SCAN_DIRECTIONS) {
    totalRemoved(Stone(s.x, s.y, colour), direction.dx, direction.dy, probeSquares, false);
  }
  return probeSquares.size();
}
