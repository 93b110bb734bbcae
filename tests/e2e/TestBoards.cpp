// The test boards.
#include "TestBoards.h"

namespace TestBoards {

SavedBoard almostALine(int movesSoFar) {
  SavedBoard board;
  for (int x = 0; x < 4; ++x) board.stones[9][x] = RED;
  board.stones[3][4] = RED;
  board.stones[0][7] = 2;
  board.moveCount = movesSoFar;
  return board;
}

SavedBoard almostFullBoard(int score) {
  SavedBoard board;
  // Colours 1 to 7 with steps of 1 across, 3 down, 4 and -2 along the diagonals (mod 7): no
  // two neighbours share a colour, so no line of five can form anywhere.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 8; ++x) board.stones[y][x] = (x + 3 * y) % 7 + 1;
  board.stones[LAST_FREE_Y][LAST_FREE_X] = 0;
  board.pending = {8, 8, 8};
  board.score = score;
  board.level = 1 + score / 50;
  board.moveCount = 40;
  return board;
}

}  // namespace TestBoards
