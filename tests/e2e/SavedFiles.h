// Byte images of the game's files for end-to-end tests: a settings record and a saved game with
// a board the test lays out, written where the game will find them; and readers of the fields
// the tests check afterwards in the settings, the saved game and the high-score tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SavedBoard {
  int gameMode = 0;         // Easy
  bool clockDisabled = true; // no penalty balls to disturb the test
  int stones[16][16] = {};   // [y][x]
  std::vector<int> pending = {8, 8, 8};
  int score = 0;
  int level = 1;
  int moveCount = 0;
};

std::vector<uint8_t> settingsRecord(int gameMode, bool clockDisabled, bool twoTapMoves, float volume);
std::vector<uint8_t> savedGame(const SavedBoard& board);
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);

// Fields of a settings record (settings.dat); -1 / false when the record is too short.
int settingsGameMode(const std::vector<uint8_t>& settings);
bool settingsClockDisabled(const std::vector<uint8_t>& settings);
bool settingsTwoTap(const std::vector<uint8_t>& settings);

// Fields of a saved game written by the game.
int savedScore(const std::vector<uint8_t>& game);
int savedStone(const std::vector<uint8_t>& game, int x, int y);
int savedMoveCount(const std::vector<uint8_t>& game);
// The mode of the game's own settings copy.
int savedGameMode(const std::vector<uint8_t>& game);
// Squares holding a ball.
int savedStoneCount(const std::vector<uint8_t>& game);

// hiScores.dat as read by the format's rules: valid only when every item reads and checks out.
struct SavedScore {
  std::string name;
  int score = -1;
};
struct SavedHiScores {
  bool valid = false;
  std::string lastName;
  std::vector<std::vector<SavedScore>> tables;
};
SavedHiScores readHiScores(const std::vector<uint8_t>& bytes);
// The file image of `scores` (its tables written as given, 12 of them expected).
std::vector<uint8_t> hiScoresFile(const SavedHiScores& scores);
// Twelve tables of ten free slots, as the game writes them on a fresh install.
SavedHiScores emptyHiScores();
