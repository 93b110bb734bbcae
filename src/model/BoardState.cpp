// The board's part of the saved game: settings record, counters, the stone table, the announced
// balls, the move log and the move count. Every value read is checked; the first bad one starts
// a new game instead.
#include "Board.h"

#include <cstring>

#include "Common/Stream.h"
#include "GameClock.h"

namespace {

const int MAX_MOVE_RECORDS = 10000;
const int MAX_PENDING_BALLS = 99;

void writeInt(MyTl::StreamOut& file, int value) { file.write(reinterpret_cast<const char*>(&value), 4); }

bool readInt(MyTl::StreamIn& file, int& value) { return file.read(reinterpret_cast<char*>(&value), 4) == 4; }

bool readIntInRange(MyTl::StreamIn& file, int& value, int lowest, int highest) {
  return readInt(file, value) && value >= lowest && value <= highest;
}

}  // namespace

void Board::saveState(MyTl::StreamOut& file) const {
  settings.saveState(file);
  writeInt(file, ballsSinceBomb);
  writeInt(file, selected.x);
  writeInt(file, selected.y);
  writeInt(file, score);
  writeInt(file, previousScore);
  writeInt(file, level);
  for (int y = 0; y < MAX_SIZE; ++y) file.write(reinterpret_cast<const char*>(stones[y]), sizeof(stones[y]));
  writeInt(file, pendingStones.size());
  for (int i = 0; i < pendingStones.size(); ++i) writeInt(file, pendingStones[i]);
  writeInt(file, 0);  // move records: the game writes none
  writeInt(file, moveCount);
}

void Board::loadState(MyTl::StreamIn& file) {
  ++changeCount;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      animations[y][x].active = false;
      animations[y][x].startTime = clock.nowMs();
    }
  }
  notePictureChange();

  // A damaged settings record leaves the copy at its defaults; reading goes on after it.
  settings.loadState(file);
  setBoardSizeFromSettings();

  if (!loadBoardFields(file)) {
    reset(true);
    return;
  }
  rebuildFreeSquares();
  // A finished game is never resumed.
  if (freeSquares.empty()) reset(true);
}

bool Board::loadBoardFields(MyTl::StreamIn& file) {
  // Everything is read into a copy first: a file that fails a check leaves the board as it was,
  // so the new game that follows starts from sane values (its previous score among them).
  struct Fields {
    int ballsSinceBomb, selectedX, selectedY, score, previousScore, level, moveCount;
    int stones[MAX_SIZE][MAX_SIZE];
  };
  Fields read;
  if (!readIntInRange(file, read.ballsSinceBomb, 0, 99999)) return false;
  if (!readIntInRange(file, read.selectedX, -1, MAX_SIZE - 1)) return false;
  if (!readIntInRange(file, read.selectedY, -1, MAX_SIZE - 1)) return false;
  if (!readIntInRange(file, read.score, 0, 99999)) return false;
  if (!readIntInRange(file, read.previousScore, 0, 0x7fffffff)) return false;
  if (!readIntInRange(file, read.level, 1, 999)) return false;

  if (file.read(reinterpret_cast<char*>(read.stones), sizeof(read.stones)) != sizeof(read.stones)) return false;
  // Only real stones inside the board: anything else cannot come from a saved game and would
  // break the free-square list or the drawing.
  for (int y = 0; y < MAX_SIZE; ++y) {
    for (int x = 0; x < MAX_SIZE; ++x) {
      const int stone = read.stones[y][x];
      const bool inBoard = x < width && y < height;
      if (stone < SQUARE_EMPTY || stone > STONE_BOMB || (!inBoard && stone != SQUARE_EMPTY)) return false;
    }
  }

  int pendingCount = 0;
  if (!readIntInRange(file, pendingCount, 0, MAX_PENDING_BALLS)) return false;
  MyTl::FixedArray<int> pending(pendingCount);
  for (int i = 0; i < pendingCount; ++i) {
    if (!readIntInRange(file, pending[i], STONE_BLUE, STONE_BOMB)) return false;
  }

  MyTl::FixedArray<MoveInfo> moves;
  if (!file.readArr(moves, MAX_MOVE_RECORDS)) return false;
  if (!readInt(file, read.moveCount)) return false;

  ballsSinceBomb = read.ballsSinceBomb;
  // A stored selection on a square without a ball (or outside this board) is no selection.
  const Square storedSelection(read.selectedX, read.selectedY);
  const bool selectionOnBall = storedSelection.x < width && storedSelection.y < height && storedSelection.x >= 0 &&
                               storedSelection.y >= 0 && read.stones[storedSelection.y][storedSelection.x] != SQUARE_EMPTY;
  selected = selectionOnBall ? storedSelection : Square();
  selectedBallRemoved = false;
  score = read.score;
  previousScore = read.previousScore;
  level = read.level;
  moveCount = read.moveCount;
  std::memcpy(stones, read.stones, sizeof(stones));
  pendingStones = pending;
  pendingStoneTimes.resizeQuick(pendingCount);  // announcement times are not stored: all -1
  moveLog = moves;
  return true;
}

void Board::rebuildFreeSquares() {
  freeSquares.clear();
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      if (stones[y][x] != SQUARE_EMPTY) continue;
      freeSquares.append(Square(x, y));
      animations[y][x].active = false;
      animations[y][x].startTime = clock.nowMs();
    }
  }
  notePictureChange();
}
