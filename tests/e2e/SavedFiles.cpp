// Building and reading the game's file images for the end-to-end tests.
#include "SavedFiles.h"

#include <cstring>
#include <fstream>
#include <iterator>

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

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int savedScore(const std::vector<uint8_t>& game) { return intAt(game, 68); }
int savedStone(const std::vector<uint8_t>& game, int x, int y) { return intAt(game, 80 + 4 * (16 * y + x)); }
int savedMoveCount(const std::vector<uint8_t>& game) { return intAt(game, game.size() - 4); }
