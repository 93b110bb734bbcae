// The rules of a consistent game, checked between events by the play driver.
#include "GameInvariants.h"

#include <sstream>


namespace GameInvariants {

namespace {

std::string squareText(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

}  // namespace

std::string checkBoard(const Board& board) {
  std::ostringstream fault;
  if (board.width < 7 || board.width > 9 || board.height < 8 || board.height > 10) {
    fault << "board size " << board.width << " x " << board.height;
    return fault.str();
  }
  // Every stone in range, none outside the board; the free list holds each empty square once.
  int listed[Board::MAX_SIZE][Board::MAX_SIZE] = {};
  for (int i = 0; i < board.freeSquares.size(); ++i) {
    const Square& s = board.freeSquares[i];
    if (!board.isInBoard(s)) return "free-square list holds " + squareText(s.x, s.y) + ", outside the board";
    if (++listed[s.y][s.x] > 1) return "free-square list holds " + squareText(s.x, s.y) + " twice";
  }
  for (int y = 0; y < Board::MAX_SIZE; ++y) {
    for (int x = 0; x < Board::MAX_SIZE; ++x) {
      const int stone = board.stones[y][x];
      const bool inside = x < board.width && y < board.height;
      if (stone < SQUARE_EMPTY || stone > STONE_BOMB) return "stone " + std::to_string(stone) + " on " + squareText(x, y);
      if (!inside && stone != SQUARE_EMPTY) return "a stone outside the board on " + squareText(x, y);
      if (inside && (stone == SQUARE_EMPTY) != (listed[y][x] == 1))
        return "square " + squareText(x, y) + (stone == SQUARE_EMPTY ? " is empty but not in the free-square list"
                                                                      : " holds a stone but is in the free-square list");
    }
  }
  if (board.pendingStones.size() != board.pendingStoneTimes.size()) {
    fault << board.pendingStones.size() << " announced balls but " << board.pendingStoneTimes.size() << " times";
    return fault.str();
  }
  for (int i = 0; i < board.pendingStones.size(); ++i) {
    if (board.pendingStones[i] < STONE_BLUE || board.pendingStones[i] > STONE_BOMB) {
      fault << "announced ball " << i << " has colour " << board.pendingStones[i];
      return fault.str();
    }
  }
  if (board.score < 0 || board.score % 3 != 0) return "score " + std::to_string(board.score) + " is not a multiple of 3";
  if (board.level != board.score / 50 + 1) {
    fault << "level " << board.level << " with score " << board.score;
    return fault.str();
  }
  if (board.selected != Square() && (!board.isInBoard(board.selected) || board.stoneAt(board.selected) == SQUARE_EMPTY))
    return "the selection " + squareText(board.selected.x, board.selected.y) + " is not on a ball";
  return std::string();
}

std::string checkGame(const GameController& game) {
  if (game.state() < GameController::STATE_SPLASH || game.state() > GameController::STATE_GAME_ENDING)
    return "unknown game state " + std::to_string(static_cast<int>(game.state()));
  const std::string boardFault = checkBoard(game.gameBoard());
  if (!boardFault.empty()) return boardFault;
  // Game time runs in play only: menus and the start screen cost the player nothing.
  if ((game.state() == GameController::STATE_PLAYING) == game.gameClock().isPaused())
    return std::string("the game clock is ") + (game.gameClock().isPaused() ? "paused in play" : "running in state ") +
           (game.gameClock().isPaused() ? "" : std::to_string(static_cast<int>(game.state())));
  // The game waits for the click on a destination only with a selected ball.
  if (!game.waitingForFirstTap() && game.state() == GameController::STATE_PLAYING &&
      game.gameBoard().stoneAt(game.gameBoard().selected) == SQUARE_EMPTY)
    return "waiting for the second tap without a selected ball";
  // A table may hold more than ten entries during a run (the file keeps the first ten).
  for (int t = 0; t < HiScores::TABLE_COUNT; ++t) {
    const MyTl::FixedArray<HiScore>& table = game.localHiScores().table(t);
    for (int i = 1; i < table.size(); ++i) {
      // Free slots (score -1) come last, so a plain comparison covers them too.
      if (table[i].score > table[i - 1].score)
        return "table " + std::to_string(t) + " is not best first at entry " + std::to_string(i);
    }
  }
  return std::string();
}

}  // namespace GameInvariants
