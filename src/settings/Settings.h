// Settings: the player's choices (mode, game clock, two-tap moves, volume) and the rule
// parameters derived from them. The live object is made at launch by the shell from
// settings.dat, lent to the controller and its screens, and destroyed (saved) at exit, after the
// controller; each Board keeps its own copy per game. Only an object read from a file writes that file, and only when its values differ
// from what the file holds: copies (the board's) never write, so a copy taken at the start of a
// game can never put old values over the player's newer choice.
#pragma once

#include <array>

#include "Common/File.h"
#include "String.h"

namespace MyTl {
class SaveFailureNotice;
}  // namespace MyTl

class Settings {
 public:
  enum GameMode { MODE_EASY = 0, MODE_HARD = 1, MODE_QUICK = 2, MODE_MEDIUM = 3 };

  // Display position on the settings screen (Easy, Medium, Hard, Quick) to mode id, and back.
  static const int mapDisplayPositionsToSettingsIds[4];
  static const int mapSettingsIdsToDisplayPositions[4];

  // The defaults, tied to no file (the board's copy before its first game).
  Settings();
  // Applies the defaults, then reads the file at `path`; firstLaunch tells whether it was missing.
  // This object is the file's writer. The shell saves the live settings right after reading them,
  // so that a missing or damaged file gets them at once and a data folder that cannot take the
  // file shows at launch rather than at exit.
  explicit Settings(const char* path);
  // Copies carry every value and the path, but never write the file.
  Settings(const Settings& other);
  // Takes every value and the path; whether this object writes its file stays as it was.
  Settings& operator=(const Settings& other);
  // Saves (see save).
  ~Settings();

  // Every field but firstLaunch and path back to its default; derived fields recomputed.
  void reset();
  // Recomputes the derived rule parameters from gameMode and clockDisabled.
  void setValues();
  // Writes the settings record to `path`, replacing the file in one step, when this object is
  // the file's writer and the record differs from the one it last read from or wrote to the file.
  void save();
  // Writes / reads the 36-byte settings record at the stream's current position.
  void saveState(MyTl::StreamOut& file) const;
  bool loadState(MyTl::StreamIn& file);

  // Where failed saves of this object's file are recorded for the player (it must outlive this
  // object); none at first, and copies report nowhere.
  void reportSaveFailuresTo(MyTl::SaveFailureNotice* notice) { fileRecord.failureNotice = notice; }

  // Extra random balls dropped when the level rises to `level`.
  int getExtraBalls(int level) const;

  bool firstLaunch = false;
  int gameMode = MODE_EASY;
  float volume = 0.5f;
  int clockSpeed = 1;
  int boardSizeClass = 2;
  int colourCount = 1;
  int extraBallsKind = 0;
  int specialBallRate = 3;
  int reservedValues[5] = {1, 2, 1, 0, 3};
  bool twoTapMoves = false;
  bool clockDisabled = false;
  MyTl::BasicString<char> path;

  static constexpr int FILE_MAGIC = 0x66723031;
  static constexpr int RECORD_SIZE = 36;

 private:
  // What this object knows of its file: whether it writes the file at all, and the record the
  // file held when this object last read or wrote it. Copying a Settings object copies none of
  // this, so copies are never writers.
  struct FileRecord {
    bool writer = false;
    bool known = false;
    std::array<char, RECORD_SIZE> bytes{};
    MyTl::SaveFailureNotice* failureNotice = nullptr;
    FileRecord() = default;
    FileRecord(const FileRecord&) {}
    FileRecord& operator=(const FileRecord&) { return *this; }
  };

  // The record of the current values, as saveState writes it.
  std::array<char, RECORD_SIZE> currentRecord() const;
  // Notes `record` as what the file now holds.
  void rememberRecord(const std::array<char, RECORD_SIZE>& record);

  FileRecord fileRecord;
};
