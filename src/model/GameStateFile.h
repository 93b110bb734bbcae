// gameState.dat: the game in progress. The file holds the magic, the two penalty-clock
// intervals of the controller (game time since the last move and since the current penalty
// period began) and the board's part. The controller saves it at exit, after every completed
// move and when a game ends, and loads it once at launch.
#pragma once

class Board;

namespace MyTl {
class SaveFailureNotice;
}  // namespace MyTl

class GameStateFile {
 public:
  static constexpr int FILE_MAGIC = 0x66723031;

  // Game time since the last move and since the current penalty period began, in ms.
  struct ClockIntervals {
    double sinceLastMove = 0.0;
    double sinceLastPenalty = 0.0;
  };

  // Writes the whole file, replacing the old one in one step; false (and the old file kept)
  // when it cannot be written, a failure that `failures` records when given.
  static bool save(const char* path, const Board& board, const ClockIntervals& intervals,
                   MyTl::SaveFailureNotice* failures = nullptr);

  // Reads the file into `board` and `intervals`. False when there is no usable header (no file,
  // a short or foreign one, an interval that is not a finite time): the caller starts a new
  // game. When the header is good the board either resumes or starts a new game itself, and the
  // intervals are valid either way.
  static bool load(const char* path, Board& board, ClockIntervals& intervals);
};
