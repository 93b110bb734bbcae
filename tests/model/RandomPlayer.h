// RandomPlayer: plays whole move cycles on a Board the way the controller does (select a ball,
// search, mark the path to a target, move, check rows, place the announced balls when nothing
// was removed), choosing balls and targets at random. Used by the property test and the move
// benchmark.
#pragma once

#include <random>

#include "Board.h"

class RandomPlayer {
 public:
  struct MoveResult {
    bool moved = false;     // a ball with a reachable target was found and moved
    int removed = 0;        // balls removed by the move's own row check
    bool boardFull = false; // the announced balls did not fit, or no square is left
    int pathLength = 0;
  };

  RandomPlayer(Board& board, unsigned seed) : board(board), random(seed) {}

  MoveResult playOneMove() {
    MoveResult result;
    Square from, to;
    if (!pickMove(from, to)) {
      result.boardFull = !board.addPendingBalls() || board.freeSquares.empty();
      return result;
    }
    board.calculateReachability(from, to);
    result.pathLength = board.reachability[to.y][to.x].distance;
    board.doMove(from, to);
    board.checkForConnections(to, removed, result.pathLength);
    result.moved = true;
    result.removed = removed.count();
    if (result.removed == 0) result.boardFull = !board.addPendingBalls() || board.freeSquares.empty();
    return result;
  }

  SquareSet removed;

 private:
  // A random ball and a random square it can reach; false when no ball can move.
  bool pickMove(Square& from, Square& to) {
    for (int attempt = 0; attempt < 20; ++attempt) {
      const int column = static_cast<int>(random() % static_cast<unsigned>(board.width));
      const int row = static_cast<int>(random() % static_cast<unsigned>(board.height));
      if (board.stones[row][column] == SQUARE_EMPTY || board.isSurrounded(Square(column, row))) continue;
      board.selected = Square(column, row);
      board.calculateReachabilities();
      const int target = static_cast<int>(random() % static_cast<unsigned>(board.freeSquares.size()));
      for (int i = 0; i < board.freeSquares.size(); ++i) {
        const Square& candidate = board.freeSquares[(target + i) % board.freeSquares.size()];
        if (board.reachability[candidate.y][candidate.x].distance > 0) {
          from = Square(column, row);
          to = candidate;
          return true;
        }
      }
    }
    return false;
  }

  Board& board;
  std::mt19937 random;
};
