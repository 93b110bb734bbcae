// Checks shared by the fuzz targets that read a settings record (settings.dat, and the copy
// inside gameState.dat): what a Settings object may hold after reading any record at all, and
// whether two objects hold the same settings.
#pragma once

#include <cstring>

#include "FuzzCheck.h"
#include "Settings.h"

// Every value a freshly loaded Settings object can hold, whatever the file said.
inline void checkSettingsInvariants(const Settings& s) {
  FUZZ_CHECK(s.gameMode >= 0 && s.gameMode <= 4, "mode id 0 to 4");
  FUZZ_CHECK(s.volume >= 0.0f && s.volume <= 1.0f, "volume 0 to 1");
  FUZZ_CHECK(s.reservedValues[4] >= 0 && s.reservedValues[4] <= 1023, "packed word 0 to 1023");
  FUZZ_CHECK(s.clockSpeed >= 0 && s.clockSpeed <= 3, "clock speed class 0 to 3");
  FUZZ_CHECK((s.clockSpeed == 0) == s.clockDisabled, "no clock speed exactly when the clock is off");
  FUZZ_CHECK(s.boardSizeClass == 1 || s.boardSizeClass == 3, "a board size some mode uses");
  FUZZ_CHECK(s.colourCount == 7 || s.colourCount == 8, "seven or eight colours");
  FUZZ_CHECK(s.extraBallsKind >= 0 && s.extraBallsKind <= 3, "extra-ball formula 0 to 3");
  FUZZ_CHECK(s.specialBallRate >= 0 && s.specialBallRate <= 3, "special-ball row 0 to 3");
}

// Same stored and derived values (firstLaunch and the path are not settings). The volume is
// compared bit for bit, as the file stores it.
inline bool sameSettings(const Settings& a, const Settings& b) {
  return a.gameMode == b.gameMode && std::memcmp(&a.volume, &b.volume, sizeof a.volume) == 0 &&
         std::memcmp(a.reservedValues, b.reservedValues, sizeof a.reservedValues) == 0 &&
         a.twoTapMoves == b.twoTapMoves && a.clockDisabled == b.clockDisabled && a.clockSpeed == b.clockSpeed &&
         a.boardSizeClass == b.boardSizeClass && a.colourCount == b.colourCount &&
         a.extraBallsKind == b.extraBallsKind && a.specialBallRate == b.specialBallRate;
}
