// Settings rules and the settings.dat record.
#include "Settings.h"

#include <cstdlib>
#include <cstring>

#include "Common/AtomicFileWriter.h"
#include "Common/MemoryStreamOut.h"

const int Settings::mapDisplayPositionsToSettingsIds[4] = {0, 3, 1, 2};
const int Settings::mapSettingsIdsToDisplayPositions[4] = {0, 2, 3, 1};

Settings::Settings() { reset(); }

Settings::Settings(const char* settingsPath) : path(settingsPath) {
  fileRecord.writer = true;
  reset();
  bool opened = false;
  MyTl::File file(path.c_str(), &opened);
  if (opened) {
    firstLaunch = false;
    // A damaged record leaves the file unknown, so the next save replaces it.
    if (loadState(file)) rememberRecord(currentRecord());
  } else {
    setValues();
    firstLaunch = true;
  }
}

Settings::Settings(const Settings& other) = default;
Settings& Settings::operator=(const Settings& other) = default;

Settings::~Settings() { save(); }

void Settings::reset() {
  volume = 0.5f;
  gameMode = MODE_EASY;
  twoTapMoves = false;
  clockDisabled = false;
  const int defaultReserved[5] = {1, 2, 1, 0, 3};
  for (int i = 0; i < 5; ++i) reservedValues[i] = defaultReserved[i];
  clockSpeed = 1;
  boardSizeClass = 2;
  colourCount = 1;
  extraBallsKind = 0;
  specialBallRate = 3;
  setValues();
}

void Settings::setValues() {
  extraBallsKind = 0;
  colourCount = 7;
  switch (gameMode) {
    case MODE_EASY:
      clockSpeed = 1, boardSizeClass = 3, colourCount = 7, extraBallsKind = 0, specialBallRate = 3;
      break;
    case MODE_HARD:
      clockSpeed = 2, boardSizeClass = 3, colourCount = 8, extraBallsKind = 1, specialBallRate = 2;
      break;
    case MODE_QUICK:
      clockSpeed = 3, boardSizeClass = 1, colourCount = 7, extraBallsKind = 0, specialBallRate = 3;
      break;
    case MODE_MEDIUM:
      clockSpeed = 1, boardSizeClass = 3, colourCount = 7, extraBallsKind = 1, specialBallRate = 2;
      break;
    default:  // an id without a mode keeps the other derived values
      break;
  }
  if (clockDisabled) {
    clockSpeed = 0;
    specialBallRate -= 1;
    extraBallsKind += 2;
  }
}

int Settings::getExtraBalls(int level) const {
  switch (extraBallsKind) {
    case 1: return (level - 1) / 3;
    case 2: return (level - 1) / 2;
    case 3: return (2 * level) / 3;
    default: return 0;
  }
}

void Settings::save() {
  if (!fileRecord.writer) return;
  const std::array<char, RECORD_SIZE> record = currentRecord();
  if (fileRecord.known && fileRecord.bytes == record) return;
  // Written to a temporary file and renamed over the old one, so a crash or a full disk never
  // leaves a half-written record. An unwritable folder writes nothing and keeps the settings
  // in memory as they are; the next save tries again.
  bool opened = false;
  MyTl::AtomicFileWriter file(path.c_str(), &opened, fileRecord.failureNotice);
  if (!opened) return;
  file.write(record.data(), RECORD_SIZE);
  if (file.commit()) rememberRecord(record);
}

std::array<char, Settings::RECORD_SIZE> Settings::currentRecord() const {
  MyTl::MemoryStreamOut stream(RECORD_SIZE);
  saveState(stream);
  std::array<char, RECORD_SIZE> record;
  std::memcpy(record.data(), stream.getBuffer(), RECORD_SIZE);
  return record;
}

void Settings::rememberRecord(const std::array<char, RECORD_SIZE>& record) {
  fileRecord.bytes = record;
  fileRecord.known = true;
}

void Settings::saveState(MyTl::StreamOut& file) const {
  const int packed = reservedValues[4] + 16 * (twoTapMoves ? 1 : 0) + 256 * (clockDisabled ? 1 : 0);
  const int magic = FILE_MAGIC;
  file.write(reinterpret_cast<const char*>(&magic), 4);
  file.write(reinterpret_cast<const char*>(&gameMode), 4);
  file.write(reinterpret_cast<const char*>(&volume), 4);
  for (int i = 0; i < 4; ++i) file.write(reinterpret_cast<const char*>(&reservedValues[i]), 4);
  file.write(reinterpret_cast<const char*>(&packed), 4);
  file.write(reinterpret_cast<const char*>(&magic), 4);
}

bool Settings::loadState(MyTl::StreamIn& file) {
  auto readInt = [&file](int& out) { return file.read(reinterpret_cast<char*>(&out), 4) == 4; };
  auto readRecord = [&]() {
    int magic = 0;
    if (!readInt(magic) || magic != FILE_MAGIC) return false;
    if (!readInt(gameMode) || static_cast<unsigned>(gameMode) > 4) return false;
    // A volume outside 0 to 1 (or not a number) cannot come from the game: the file is damaged.
    if (file.read(reinterpret_cast<char*>(&volume), 4) != 4 || !(volume >= 0.0f && volume <= 1.0f)) return false;
    for (int i = 0; i < 4; ++i) {
      if (!readInt(reservedValues[i])) return false;
    }
    int packed = 0;
    if (!readInt(packed) || packed < 0 || packed > 1023) return false;
    clockDisabled = packed > 255;
    if (clockDisabled) packed -= 256;
    twoTapMoves = packed > 15;
    if (twoTapMoves) packed -= 16;
    reservedValues[4] = packed;
    int trailingMagic = 0;
    return readInt(trailingMagic) && trailingMagic == FILE_MAGIC;
  };
  if (readRecord()) {
    setValues();
    return true;
  }
  reset();
  return false;
}
