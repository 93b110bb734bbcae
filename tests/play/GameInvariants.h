// GameInvariants: the rules that must hold between any two events of a game, checked by the
// play driver after every event it sends. Each check returns an empty string when the rule
// holds, else one line naming the broken rule and the values that break it.
#pragma once

#include <string>

#include "GameController.h"

namespace GameInvariants {

// The board: stones in range and only inside the board, the free-square list exactly the empty
// squares, announced balls and their times in step, score a multiple of 3, the level the
// score's (one level per 50 points), a selection only on a ball.
std::string checkBoard(const Board& board);
// The controller: a known state, the game time standing still outside play, the local tables
// best first.
std::string checkGame(const GameController& game);

}  // namespace GameInvariants
