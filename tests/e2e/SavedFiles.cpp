// Building and reading the game's file images for the end-to-end tests.
#include "SavedFiles.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "WholeFile.h"

namespace {

const int32_t MAGIC = 0x66723031;

template <class T>
void append(std::vector<uint8_t>& bytes, T value) {
  const uint8_t* raw = reinterpret_cast<const uint8_t*>(&value);
  bytes.insert(bytes.end(), raw, raw + sizeof(T));
}

int32_t intAt(const std::vector<uint8_t>& bytes, size_t offset) {
  int32_t value = -1;
  if (offset + 4 <= bytes.size()) std::memcpy(&value, &bytes[offset], 4);
  return value;
}

}  // namespace

std::vector<uint8_t> settingsRecord(int gameMode, bool clockDisabled, bool twoTapMoves, float volume) {
  std::vector<uint8_t> bytes;
  append<int32_t>(bytes, MAGIC);
  append<int32_t>(bytes, gameMode);
  append<float>(bytes, volume);
  for (int32_t reserved : {1, 2, 1, 0}) append<int32_t>(bytes, reserved);
  append<int32_t>(bytes, 3 + (twoTapMoves ? 16 : 0) + (clockDisabled ? 256 : 0));
  append<int32_t>(bytes, MAGIC);
  return bytes;
}

std::vector<uint8_t> savedGame(const SavedBoard& board) {
  std::vector<uint8_t> bytes;
  append<int32_t>(bytes, MAGIC);
  append<double>(bytes, 0.0);
  append<double>(bytes, 0.0);
  const std::vector<uint8_t> settings = settingsRecord(board.gameMode, board.clockDisabled, false, 0.5f);
  bytes.insert(bytes.end(), settings.begin(), settings.end());
  for (int32_t value : {0, -1, -1, board.score, 0, board.level}) append<int32_t>(bytes, value);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) append<int32_t>(bytes, board.stones[y][x]);
  append<int32_t>(bytes, static_cast<int32_t>(board.pending.size()));
  for (int colour : board.pending) append<int32_t>(bytes, colour);
  append<int32_t>(bytes, 0);
  append<int32_t>(bytes, board.moveCount);
  return bytes;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) { return testfiles::writeFile(path, bytes); }

std::vector<uint8_t> readBytes(const std::string& path) { return testfiles::readFile(path); }

int settingsGameMode(const std::vector<uint8_t>& settings) { return settings.size() >= 36 ? intAt(settings, 4) : -1; }

bool settingsClockDisabled(const std::vector<uint8_t>& settings) {
  return settings.size() >= 36 && intAt(settings, 28) > 255;
}

bool settingsTwoTap(const std::vector<uint8_t>& settings) { return settings.size() >= 36 && (intAt(settings, 28) & 16) != 0; }

int savedScore(const std::vector<uint8_t>& game) { return intAt(game, 68); }
int savedStone(const std::vector<uint8_t>& game, int x, int y) { return intAt(game, 80 + 4 * (16 * y + x)); }
int savedMoveCount(const std::vector<uint8_t>& game) { return intAt(game, game.size() - 4); }
int savedGameMode(const std::vector<uint8_t>& game) { return game.size() >= 56 ? intAt(game, 24) : -1; }

int savedStoneCount(const std::vector<uint8_t>& game) {
  int count = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) count += savedStone(game, x, y) > 0 ? 1 : 0;
  return count;
}

SavedHiScores readHiScores(const std::vector<uint8_t>& bytes) {
  SavedHiScores scores;
  size_t at = 0;
  auto readInt = [&](int32_t& value) {
    if (at + 4 > bytes.size()) return false;
    std::memcpy(&value, &bytes[at], 4);
    at += 4;
    return true;
  };
  auto readString = [&](std::string& text) {
    int32_t length = 0;
    if (!readInt(length) || length < 0 || length > 255 || at + static_cast<size_t>(length) > bytes.size()) return false;
    text.assign(reinterpret_cast<const char*>(bytes.data()) + at, static_cast<size_t>(length));
    at += static_cast<size_t>(length);
    return true;
  };
  int32_t magic = 0, tableCount = 0;
  if (!readInt(magic) || magic != MAGIC || !readString(scores.lastName) || !readInt(tableCount) || tableCount > 12)
    return scores;
  for (int32_t t = 0; t < tableCount; ++t) {
    int32_t entries = 0;
    if (!readInt(entries) || entries < 0 || entries > 1000) return scores;
    std::vector<SavedScore> table(static_cast<size_t>(entries));
    for (SavedScore& entry : table) {
      int32_t score = 0;
      if (!readString(entry.name) || !readInt(score) || score < -1 || score > 999999) return scores;
      entry.score = score;
    }
    scores.tables.push_back(table);
  }
  scores.valid = readInt(magic) && magic == MAGIC && at == bytes.size();
  return scores;
}

std::vector<uint8_t> hiScoresFile(const SavedHiScores& scores) {
  std::vector<uint8_t> bytes;
  auto appendString = [&](const std::string& text) {
    append<int32_t>(bytes, static_cast<int32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
  };
  append<int32_t>(bytes, MAGIC);
  appendString(scores.lastName);
  append<int32_t>(bytes, static_cast<int32_t>(scores.tables.size()));
  for (const std::vector<SavedScore>& table : scores.tables) {
    append<int32_t>(bytes, static_cast<int32_t>(table.size()));
    for (const SavedScore& entry : table) {
      appendString(entry.name);
      append<int32_t>(bytes, entry.score);
    }
  }
  append<int32_t>(bytes, MAGIC);
  return bytes;
}

SavedHiScores emptyHiScores() {
  SavedHiScores scores;
  scores.valid = true;
  scores.tables.assign(12, std::vector<SavedScore>(10));
  return scores;
}
