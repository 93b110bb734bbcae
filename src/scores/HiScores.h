// HiScores: the local high-score tables (one per mode and clock setting), the ranking of new
// scores, the last name entered, and the file hiScores.dat that keeps them.
// The controller owns the one instance: it loads the file at launch, adds a score after the
// player confirms a name (and saves right away), and the destructor writes the file at exit.
#pragma once

#include "HiScore.h"
#include "SmartArray.h"
#include "String.h"

namespace MyTl {
class File;
}

namespace MyTl {
class SaveFailureNotice;
}  // namespace MyTl

class HiScores {
 public:
  static constexpr int TABLE_COUNT = 12;
  static constexpr int VISIBLE_ENTRIES = 10;
  static constexpr int MAX_NAME_BYTES = 255;

  HiScores();
  // Writes the file (when a path was given), then releases everything.
  ~HiScores();
  HiScores(const HiScores&) = delete;
  HiScores& operator=(const HiScores&) = delete;

  // Remembers `path` and loads the tables from it; a missing or damaged file gives tables of
  // placeholders (keeping whatever was read before the damage).
  void loadHiScores(const char* path);
  // Writes every table to the path given to loadHiScores, replacing the file in one step;
  // false when it could not be written (the file on disk is then untouched).
  bool saveHiScores() const;
  // Where failed saves are recorded for the player (it must outlive this object); none at first.
  void reportSaveFailuresTo(MyTl::SaveFailureNotice* notice) { failureNotice = notice; }

  // The 1-based rank `score` would take in the table; 10 or less earns a place.
  int getScorePosition(int tableIndex, int score) const;
  // Inserts {name, score} (name cut to 255 bytes), remembers the name, points lastAdded at the
  // new entry and returns its 0-based position.
  int addScore(int tableIndex, int score, const char* name);

  // The table for `tableIndex` (indices above 11 use table 11).
  const MyTl::FixedArray<HiScore>& table(int tableIndex) const { return tables[clampIndex(tableIndex)]; }

  // Cuts `name` to at most 255 bytes without splitting a UTF-8 character.
  static MyTl::BasicString<char> limitName(const char* name);

  // Pads table `tableIndex` with free slots up to the visible length, for the screen that shows
  // it; the padding is kept (and saved) like any other change to the table.
  void padTableToVisibleLength(int tableIndex);

  MyTl::BasicString<char> path;
  MyTl::FixedArray<HiScore> tables[TABLE_COUNT];
  // The entry most recently added; valid until its table changes again. Null until then.
  HiScore* lastAdded = nullptr;
  MyTl::BasicString<char> lastName;

  static constexpr int FILE_MAGIC = 0x66723031;

 private:
  static int clampIndex(int tableIndex) { return tableIndex < TABLE_COUNT - 1 ? tableIndex : TABLE_COUNT - 1; }
  bool readTables(MyTl::File& file);
  void padTablesToVisibleLength();

  MyTl::SaveFailureNotice* failureNotice = nullptr;
};
