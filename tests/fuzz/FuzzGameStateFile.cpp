// Fuzz target for gameState.dat. Whatever the file holds, loading it into a freshly started
// board (as the game does at launch) must leave a board the game can play on: stones and
// announced balls of real colours, a free-square list that is exactly the empty squares of the
// board, counters in their ranges. And the game that results must survive being saved and
// loaded again, or the next launch would throw it away.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "Board.h"
#include "FuzzBoards.h"
#include "FuzzCheck.h"
#include "FuzzScratchFolder.h"
#include "GameStateFile.h"
#include "SettingsInvariants.h"

namespace {

using fuzzboards::liveSettings;
using fuzzboards::newBoard;

void checkBoardInvariants(const Board& board) {
  checkSettingsInvariants(board.settings);
  int width = 0;
  int height = 0;
  Board::boardSizeForClass(board.settings.boardSizeClass, width, height);
  FUZZ_CHECK(board.width == width && board.height == height, "the board size follows its settings");

  FUZZ_CHECK(board.level >= 1 && board.level <= 999, "level 1 to 999");
  FUZZ_CHECK(board.score >= 0 && board.score <= 99999, "score 0 to 99999");
  FUZZ_CHECK(board.previousScore >= 0, "previous score 0 or more");
  FUZZ_CHECK(board.ballsSinceBomb >= 0 && board.ballsSinceBomb <= 99999, "balls since the bomb 0 to 99999");
  FUZZ_CHECK(board.selected.x >= -1 && board.selected.x < Board::MAX_SIZE, "selected column -1 to 15");
  FUZZ_CHECK(board.selected.y >= -1 && board.selected.y < Board::MAX_SIZE, "selected row -1 to 15");

  int emptyInBoard = 0;
  for (int y = 0; y < Board::MAX_SIZE; ++y) {
    for (int x = 0; x < Board::MAX_SIZE; ++x) {
      const int stone = board.stones[y][x];
      FUZZ_CHECK(stone >= SQUARE_EMPTY && stone <= STONE_BOMB, "every stone 0 to 11");
      const bool inBoard = x < board.width && y < board.height;
      FUZZ_CHECK(inBoard || stone == SQUARE_EMPTY, "no stone outside the board");
      if (inBoard && stone == SQUARE_EMPTY) ++emptyInBoard;
    }
  }
  // Each listed square is an empty in-board square and listed once; with the count equal, the
  // list is exactly the empty squares.
  bool listed[Board::MAX_SIZE][Board::MAX_SIZE] = {};
  for (const Square& s : board.freeSquares) {
    FUZZ_CHECK(board.isInBoard(s), "free squares lie on the board");
    FUZZ_CHECK(board.stones[s.y][s.x] == SQUARE_EMPTY, "free squares are empty");
    FUZZ_CHECK(!listed[s.y][s.x], "no free square is listed twice");
    listed[s.y][s.x] = true;
  }
  FUZZ_CHECK(board.freeSquares.size() == emptyInBoard, "every empty square is listed as free");
  FUZZ_CHECK(emptyInBoard > 0, "a full board is never resumed");

  FUZZ_CHECK(board.pendingStones.size() <= 99, "at most 99 announced balls");
  FUZZ_CHECK(board.pendingStoneTimes.size() == board.pendingStones.size(), "one time per announced ball");
  for (int colour : board.pendingStones) {
    FUZZ_CHECK(colour >= STONE_BLUE && colour <= STONE_BOMB, "announced colours 1 to 11");
  }
  FUZZ_CHECK(board.moveLog.size() <= 10000, "at most 10000 move records");
  for (const MoveInfo& move : board.moveLog) {
    FUZZ_CHECK(move.type >= 0 && move.type <= 6, "move record types 0 to 6");
  }
}

void checkIntervalsUsable(const GameStateFile::ClockIntervals& intervals) {
  for (double ms : {intervals.sinceLastMove, intervals.sinceLastPenalty}) {
    FUZZ_CHECK(std::isfinite(ms) && ms > static_cast<double>(std::numeric_limits<int>::min()) &&
                   ms < static_cast<double>(std::numeric_limits<int>::max()),
               "a clock interval that converts to an int time");
  }
}

// The part of a game that the file carries over (the move log is never written).
void checkSameGame(const Board& saved, const Board& loaded) {
  FUZZ_CHECK(sameSettings(saved.settings, loaded.settings), "the settings copy survives");
  FUZZ_CHECK(saved.width == loaded.width && saved.height == loaded.height, "the board size survives");
  FUZZ_CHECK(saved.ballsSinceBomb == loaded.ballsSinceBomb, "balls since the bomb survive");
  FUZZ_CHECK(saved.selected == loaded.selected, "the selection survives");
  FUZZ_CHECK(saved.score == loaded.score && saved.previousScore == loaded.previousScore, "the scores survive");
  FUZZ_CHECK(saved.level == loaded.level, "the level survives");
  FUZZ_CHECK(std::memcmp(saved.stones, loaded.stones, sizeof saved.stones) == 0, "the stones survive");
  FUZZ_CHECK(saved.pendingStones.size() == loaded.pendingStones.size(), "the announced balls survive");
  for (int i = 0; i < saved.pendingStones.size(); ++i) {
    FUZZ_CHECK(saved.pendingStones[i] == loaded.pendingStones[i], "the announced colours survive");
  }
  FUZZ_CHECK(saved.moveCount == loaded.moveCount, "the move count survives");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzScratchFolder::instance();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzScratchFolder& scratch = FuzzScratchFolder::instance();
  const std::string path = scratch.write("gameState.dat", data, size);

  // As at launch: the board has started a first game, then the saved one is loaded over it.
  auto board = newBoard(1);
  GameStateFile::ClockIntervals intervals;
  const bool headerAccepted = GameStateFile::load(path.c_str(), *board, intervals);
  checkBoardInvariants(*board);
  if (headerAccepted) checkIntervalsUsable(intervals);

  // The game as it stands is saved at exit and must resume at the next launch.
  const std::string resavedPath = scratch.path("resaved.dat");
  FUZZ_CHECK(GameStateFile::save(resavedPath.c_str(), *board, intervals), "the game saves");
  auto resumed = newBoard(2);
  GameStateFile::ClockIntervals resumedIntervals;
  FUZZ_CHECK(GameStateFile::load(resavedPath.c_str(), *resumed, resumedIntervals), "the saved header loads");
  checkSameGame(*board, *resumed);
  FUZZ_CHECK(std::memcmp(&intervals, &resumedIntervals, sizeof intervals) == 0, "the clock intervals survive");
  return 0;
}
