// Plays many thousands of random moves on random seeds and checks the board's invariants and
// the score and level formulas after every move.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "ModelTestSupport.h"
#include "RandomPlayer.h"

using namespace modeltest;

namespace {

// Fires every queued event by moving the clock past them.
void settleEvents(Board& board) {
  for (int round = 0; round < 64 && !board.timedEvents.empty(); ++round) {
    advanceClock(2000);
    board.fireDueEvents();
  }
}

int lastCredit(const Board& board) {
  for (int i = board.timedEvents.size() - 1; i >= 0; --i)
    if (board.timedEvents[i].type == Board::TimedEvent::SCORE_CREDIT) return board.timedEvents[i].value;
  return -1;
}

TEST(BoardPropertyTest, RandomGamesKeepTheBoardConsistent) {
  const unsigned seed = static_cast<unsigned>(std::time(nullptr));
  std::printf("BoardPropertyTest seed %u\n", seed);
  testRandom().reseed(seed);
  const int modes[] = {Settings::MODE_EASY, Settings::MODE_MEDIUM, Settings::MODE_HARD, Settings::MODE_QUICK};

  TestBoard board;
  int movesPlayed = 0, gamesPlayed = 0;
  for (int game = 0; movesPlayed < 20000; ++game) {
    useMode(modes[game % 4], game % 8 >= 4);
    board.reset(true);
    ++gamesPlayed;
    RandomPlayer player(board, seed + static_cast<unsigned>(game));
    for (int move = 0; move < 2000; ++move) {
      const int stonesBefore = board.width * board.height - board.freeSquares.size();
      const RandomPlayer::MoveResult result = player.playOneMove();
      ++movesPlayed;
      SCOPED_TRACE(testing::Message() << "seed " << seed << " game " << game << " move " << move);
      ASSERT_TRUE(freeSquaresMatchBoard(board));
      if (result.moved && result.removed > 0) {
        ASSERT_GE(result.removed, 5);
        ASSERT_EQ(3 * result.removed - 9, lastCredit(board));
        ASSERT_EQ(stonesBefore - result.removed, board.width * board.height - board.freeSquares.size());
      }
      settleEvents(board);
      ASSERT_TRUE(board.timedEvents.empty());
      ASSERT_EQ(0, board.score % 3);
      ASSERT_EQ(board.score / 50 + 1, board.level);
      ASSERT_TRUE(freeSquaresMatchBoard(board));
      if (result.boardFull) break;
      if (!result.moved && board.freeSquares.empty()) break;
      ASSERT_EQ(3, board.pendingStones.size());
    }
  }
  std::printf("played %d moves in %d games\n", movesPlayed, gamesPlayed);
}

}  // namespace
