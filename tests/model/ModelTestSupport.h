// Shared set-up for the model tests: a temporary data folder with the live settings in it, a
// wall clock the test moves by hand, and helpers to lay out boards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Board.h"
#include "GameClock.h"
#include "RandomSource.h"
#include "Settings.h"

namespace modeltest {

// The fake wall clock in milliseconds; tests move it with advanceClock.
int& fakeWallClock();
// The game clock on the fake wall clock, and the random source, that every test board uses.
GameClock& testClock();
RandomSource& testRandom();

// The live settings of the test process, read from settingsPath().
Settings& liveSettings();

// A board on the test clock, the test random source and the live settings.
class TestBoard : public Board {
 public:
  TestBoard() : Board(testClock(), testRandom(), modeltest::liveSettings()) {}
};
// Moves the fake wall clock and refreshes the game clock's nowMs.
void advanceClock(int ms);
// A fresh temporary folder (removed at process exit).
std::string makeTempFolder();
// Path of the live settings file the environment created.
std::string settingsPath();

// Puts the live settings into `mode` with the clock on or off, in memory only.
void useMode(int mode, bool clockDisabled = false);

// Starts `board` as a new empty game (no initial balls, no pending events) in the live mode.
void clearBoard(Board& board);
// Puts `colour` on (x, y) without animation.
void put(Board& board, int x, int y, int colour);

// Every empty in-board square is in freeSquares exactly once, and nothing else is.
::testing::AssertionResult freeSquaresMatchBoard(const Board& board);

}  // namespace modeltest
