// Test environment of the model tests: installs the fake clock and the live settings once.
#include "ModelTestSupport.h"

#include <stdlib.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "Settings.h"
#include "TempFolder.h"

namespace modeltest {

namespace {

std::string& dataFolder() {
  static std::string folder;
  return folder;
}

class ModelEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    testClock().reset();
    dataFolder() = makeTempFolder();
    // As at launch: the settings file is written at once.
    liveSettings().save();
  }
};

const ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new ModelEnvironment);

}  // namespace

int& fakeWallClock() {
  static int now = 1000000;
  return now;
}

GameClock& testClock() {
  static GameClock clock([] { return fakeWallClock(); });
  return clock;
}

RandomSource& testRandom() {
  static RandomSource random(1);
  return random;
}

void advanceClock(int ms) {
  fakeWallClock() += ms;
  testClock().refresh();
}

std::string makeTempFolder() {
  // The folders live until the program ends (the settings file of the process is in one).
  static std::vector<std::unique_ptr<TempFolder>> folders;
  folders.emplace_back(new TempFolder("pellix-test"));
  return folders.back()->str();
}

std::string settingsPath() { return dataFolder() + "/settings.dat"; }

Settings& liveSettings() {
  // Made after the data folder and gone before it: the last save at exit lands in the folder.
  static Settings settings(settingsPath().c_str());
  return settings;
}

void useMode(int mode, bool clockDisabled) {
  liveSettings().reset();
  liveSettings().gameMode = mode;
  liveSettings().clockDisabled = clockDisabled;
  liveSettings().setValues();
}

void clearBoard(Board& board) {
  board.reset(false);
  board.timedEvents.clear();
}

void put(Board& board, int x, int y, int colour) {
  Square s(x, y);
  board.setStone(s, colour, false);
}

::testing::AssertionResult freeSquaresMatchBoard(const Board& board) {
  std::set<std::pair<int, int>> listed;
  for (int i = 0; i < board.freeSquares.size(); ++i) {
    const Square& s = board.freeSquares[i];
    if (!board.isInBoard(s)) return ::testing::AssertionFailure() << "(" << s.x << "," << s.y << ") is off the board";
    if (!listed.insert({s.x, s.y}).second)
      return ::testing::AssertionFailure() << "(" << s.x << "," << s.y << ") is listed twice";
    if (board.stones[s.y][s.x] != SQUARE_EMPTY)
      return ::testing::AssertionFailure() << "(" << s.x << "," << s.y << ") is listed but holds a stone";
  }
  for (int y = 0; y < Board::MAX_SIZE; ++y) {
    for (int x = 0; x < Board::MAX_SIZE; ++x) {
      const bool inBoard = x < board.width && y < board.height;
      const int stone = board.stones[y][x];
      if (!inBoard && stone != SQUARE_EMPTY)
        return ::testing::AssertionFailure() << "stone off the board at (" << x << "," << y << ")";
      if (stone < SQUARE_EMPTY || stone > STONE_BOMB)
        return ::testing::AssertionFailure() << "stone value " << stone << " at (" << x << "," << y << ")";
      if (inBoard && stone == SQUARE_EMPTY && listed.count({x, y}) == 0)
        return ::testing::AssertionFailure() << "(" << x << "," << y << ") is empty but not listed";
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace modeltest
