// Writing and reading gameState.dat around the board's own part.
#include "GameStateFile.h"

#include <cmath>
#include <limits>

#include "Board.h"
#include "Common/AtomicFileWriter.h"
#include "Common/File.h"

namespace {

// An interval the controller can turn back into an int time.
bool isUsableInterval(double ms) {
  return std::isfinite(ms) && ms > static_cast<double>(std::numeric_limits<int>::min()) &&
         ms < static_cast<double>(std::numeric_limits<int>::max());
}

}  // namespace

bool GameStateFile::save(const char* path, const Board& board, const ClockIntervals& intervals,
                         MyTl::SaveFailureNotice* failures) {
  bool opened = false;
  MyTl::AtomicFileWriter file(path, &opened, failures);
  if (!opened) return false;
  const int magic = FILE_MAGIC;
  file.write(reinterpret_cast<const char*>(&magic), 4);
  file.write(reinterpret_cast<const char*>(&intervals.sinceLastMove), 8);
  file.write(reinterpret_cast<const char*>(&intervals.sinceLastPenalty), 8);
  board.saveState(file);
  return file.commit();
}

bool GameStateFile::load(const char* path, Board& board, ClockIntervals& intervals) {
  bool opened = false;
  MyTl::File file(path, &opened);
  if (!opened) return false;
  int magic = 0;
  if (file.read(reinterpret_cast<char*>(&magic), 4) != 4 || magic != FILE_MAGIC) return false;
  ClockIntervals read;
  if (file.read(reinterpret_cast<char*>(&read.sinceLastMove), 8) != 8) return false;
  if (file.read(reinterpret_cast<char*>(&read.sinceLastPenalty), 8) != 8) return false;
  if (!isUsableInterval(read.sinceLastMove) || !isUsableInterval(read.sinceLastPenalty)) return false;

  board.loadState(file);
  intervals = read;
  return true;
}
