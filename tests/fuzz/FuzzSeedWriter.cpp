// fuzz_seed_writer: writes the seed corpora of the file fuzzers, built at build time so that no
// binary file is kept in the repository. Usage: fuzz_seed_writer <folder>. Each fuzz target gets
// <folder>/<target name>/ with valid files written by the game's own writers (and a few that are
// valid but unusual, assembled byte by byte where the writers never produce them), so that the
// fuzzers start from inputs that reach deep into each reader.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "Board.h"
#include "FuzzBoards.h"
#include "FuzzScratchFolder.h"
#include "GameStateFile.h"
#include "HiScores.h"
#include "Settings.h"

namespace {

using fuzzboards::liveSettings;
using fuzzboards::newBoard;

// Little-endian bytes of a file being assembled by hand.
class Bytes {
 public:
  Bytes& int32(int32_t value) { return raw(&value, 4); }
  Bytes& int16(int16_t value) { return raw(&value, 2); }
  Bytes& int8(int8_t value) { return raw(&value, 1); }
  Bytes& float64(double value) { return raw(&value, 8); }
  Bytes& text(const std::string& value) { return int32(static_cast<int32_t>(value.size())).raw(value.data(), value.size()); }
  Bytes& raw(const void* data, size_t size) {
    bytes.append(static_cast<const char*>(data), size);
    return *this;
  }
  std::string bytes;
};

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string makeFolder(const std::filesystem::path& parent, const char* name) {
  const std::filesystem::path folder = parent / name;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "cannot create %s: %s\n", folder.c_str(), error.message().c_str());
    std::exit(1);
  }
  return folder.string();
}

// --- settings.dat ---

void writeSettings(const std::string& path, int mode, bool clockDisabled, bool twoTapMoves, float volume) {
  Settings settings(path.c_str());
  settings.gameMode = mode;
  settings.clockDisabled = clockDisabled;
  settings.twoTapMoves = twoTapMoves;
  settings.volume = volume;
  settings.setValues();
  settings.save();
}

void writeSettingsSeeds(const std::string& folder) {
  writeSettings(folder + "/easy.dat", Settings::MODE_EASY, false, false, 0.5f);
  writeSettings(folder + "/hard-no-clock.dat", Settings::MODE_HARD, true, false, 1.0f);
  writeSettings(folder + "/quick-two-taps.dat", Settings::MODE_QUICK, false, true, 0.0f);
  writeSettings(folder + "/medium-no-clock-two-taps.dat", Settings::MODE_MEDIUM, true, true, 0.25f);
  writeSettings(folder + "/mode-4-no-clock.dat", 4, true, false, 0.75f);
}

// --- gameState.dat ---

const GameStateFile::ClockIntervals kIntervals = {1500.0, 4200.0};

void useLiveMode(int mode, bool clockDisabled) {
  liveSettings().reset();
  liveSettings().gameMode = mode;
  liveSettings().clockDisabled = clockDisabled;
  liveSettings().setValues();
}

void put(Board& board, int x, int y, int colour) {
  Square s(x, y);
  board.setStone(s, colour, false);
}

void saveGame(const std::string& path, const Board& board) {
  if (!GameStateFile::save(path.c_str(), board, kIntervals)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

// A game under way: stones of several colours, a special ball of each kind, points, a selection
// and a penalty ball among the announced ones.
void setUpGameInProgress(Board& board) {
  put(board, 0, 0, STONE_BLUE);
  put(board, 1, 1, STONE_RED);
  put(board, 2, 2, STONE_RED);
  put(board, 3, 3, STONE_RED);
  put(board, 4, 7, STONE_BOMB);
  put(board, board.width - 1, board.height - 1, STONE_RAINBOW);
  board.score = 130;
  board.previousScore = 412;
  board.level = 3;
  board.moveCount = 57;
  board.ballsSinceBomb = 12;
  board.selected = Square(1, 1);
  board.addPendingBall(STONE_PINK);
}

// The file of a game in progress with one move record of every type spliced in where the game
// writes an empty move log.
std::string withEveryMoveRecord(const std::string& file) {
  int32_t pendingCount = 0;
  std::memcpy(&pendingCount, file.data() + 1104, 4);
  const size_t logOffset = 1108 + 4 * static_cast<size_t>(pendingCount);
  Bytes records;
  records.int32(7);
  for (int type = 0; type <= 1; ++type) {
    records.int8(static_cast<int8_t>(type)).int8(3).int8(-1).int8(5).int8(7).int8(STONE_RED).float64(1234.5);
  }
  records.int8(2).int8(STONE_BOMB).float64(99.0);
  for (int type = 3; type <= 5; ++type) {
    records.int8(static_cast<int8_t>(type)).int16(-300).int16(1200).int8(STONE_GREEN).float64(-2.5);
  }
  records.int8(6).int32(123456);
  return file.substr(0, logOffset) + records.bytes + file.substr(logOffset + 4);
}

void writeGameStateSeeds(const std::string& folder) {
  const struct {
    const char* name;
    int mode;
    bool clockDisabled;
  } newGames[] = {
      {"new-easy.dat", Settings::MODE_EASY, false},   {"new-hard.dat", Settings::MODE_HARD, false},
      {"new-quick.dat", Settings::MODE_QUICK, false}, {"new-medium-no-clock.dat", Settings::MODE_MEDIUM, true},
  };
  int seed = 1;
  for (const auto& game : newGames) {
    useLiveMode(game.mode, game.clockDisabled);
    auto board = newBoard(static_cast<uint32_t>(seed++));
    saveGame(folder + "/" + game.name, *board);
  }

  useLiveMode(Settings::MODE_HARD, false);
  auto board = newBoard(7);
  board->reset(false);
  setUpGameInProgress(*board);
  const std::string inProgress = folder + "/in-progress.dat";
  saveGame(inProgress, *board);
  writeFile(folder + "/every-move-record.dat", withEveryMoveRecord(readFile(inProgress)));

  board->pendingStones.resize(0);
  board->pendingStoneTimes.resize(0);
  saveGame(folder + "/no-announced-balls.dat", *board);

  // One free square left.
  board->reset(false);
  for (int y = 0; y < board->height; ++y) {
    for (int x = 0; x < board->width; ++x) {
      if (x != 3 || y != 4) put(*board, x, y, 1 + (x + 2 * y) % 9);
    }
  }
  saveGame(folder + "/one-free-square.dat", *board);
}

// --- hiScores.dat ---

void writeHiScoresSeeds(const std::string& folder) {
  {
    // A fresh install: twelve tables of placeholders.
    HiScores scores;
    scores.loadHiScores((folder + "/fresh.dat").c_str());
  }
  {
    HiScores scores;
    scores.loadHiScores((folder + "/played.dat").c_str());
    const char* names[] = {"Ann", "Bob", "Zo\xC3\xAB", "", "Max"};
    for (int i = 0; i < 14; ++i) scores.addScore(i % 4, 40 * i + 3, names[i % 5]);
    scores.addScore(6, 999999, "Top");
    scores.addScore(9, 0, "Zero");
    scores.addScore(3, 250, std::string(255, 'n').c_str());
  }
  // Shorter forms the reader accepts though the game never writes them: three tables, one of
  // them announcing twelve entries, and the last name at its longest.
  Bytes bytes;
  bytes.int32(HiScores::FILE_MAGIC).text(std::string(255, 'L')).int32(3);
  bytes.int32(0);
  bytes.int32(2).text("Eve").int32(77).text("").int32(-1);
  bytes.int32(12);
  for (int i = 0; i < 12; ++i) bytes.text("P" + std::to_string(i)).int32(1000 - 10 * i);
  bytes.int32(HiScores::FILE_MAGIC);
  writeFile(folder + "/three-tables.dat", bytes.bytes);
}

// The play target's choices: a game's worth of bytes from a fixed generator for each mode, two
// with two-tap moves (the first choices pick them), so that the fuzzer starts from long games
// rather than from a few events.
void writePlaySeeds(const std::string& folder) {
  std::mt19937 generator(20261210);
  for (int game = 0; game < 4; ++game) {
    std::string bytes(1024, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator() & 0xff);
    // The first two picks (two bytes each): the mode, then the move mode (below 50 of 100 is on).
    bytes[0] = 0;
    bytes[1] = static_cast<char>(game % 4);
    bytes[2] = 0;
    bytes[3] = static_cast<char>(game % 2 == 0 ? 10 : 90);
    writeFile(folder + "/game-" + std::to_string(game) + ".bin", bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root(argv[1]);

  writeSettingsSeeds(makeFolder(root, "fuzz_settings_file"));
  writeGameStateSeeds(makeFolder(root, "fuzz_game_state_file"));
  writeHiScoresSeeds(makeFolder(root, "fuzz_hiscores_file"));
  writePlaySeeds(makeFolder(root, "fuzz_play"));
  return 0;
}
