// Saved games laid out for the end-to-end tests, each ready for one real move: a line one ball
// short, and a board so full that the next move that removes nothing ends the game.
#pragma once

#include "SavedFiles.h"

namespace TestBoards {

const int RED = 4;

// Four red balls on the bottom row (columns 0 to 3) and a fifth at (4, 3): dragging it to
// (4, 9) completes the line for 6 points. Easy, clock off.
SavedBoard almostALine(int movesSoFar);

// Every square but (7, 9) holds a ball, in a pattern without two equal neighbours in any
// direction, so no move can complete a line; the announced balls are of a colour not on the
// board. Dragging the ball at (6, 9) to (7, 9) leaves one free square for three announced
// balls: the game ends with `score`. Easy, clock off (high-score table 6).
SavedBoard almostFullBoard(int score);
const int LAST_BALL_X = 6, LAST_BALL_Y = 9, LAST_FREE_X = 7, LAST_FREE_Y = 9;

}  // namespace TestBoards
