// Settings rules and the settings.dat record: round trips, damaged files, safe writing.
#include <gtest/gtest.h>

#include "WholeFile.h"
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ModelTestSupport.h"
#include "PenaltyClock.h"
#include "Settings.h"

using namespace modeltest;

namespace {

using testfiles::Bytes;
using testfiles::readFile;
using testfiles::writeFile;

void putInt(Bytes& bytes, size_t offset, int32_t value) { std::memcpy(&bytes[offset], &value, 4); }

int32_t intAt(const Bytes& bytes, size_t offset) {
  int32_t value;
  std::memcpy(&value, &bytes[offset], 4);
  return value;
}

// A valid record: Hard, volume 0.25, clock off, two-tap on.
Bytes validRecord() {
  Bytes bytes(36, 0);
  putInt(bytes, 0, 0x66723031);
  putInt(bytes, 4, Settings::MODE_HARD);
  const float volume = 0.25f;
  std::memcpy(&bytes[8], &volume, 4);
  const int32_t reserved[4] = {1, 2, 1, 0};
  for (int i = 0; i < 4; ++i) putInt(bytes, 12 + 4 * i, reserved[i]);
  putInt(bytes, 28, 3 + 16 + 256);
  putInt(bytes, 32, 0x66723031);
  return bytes;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  std::string folder = makeTempFolder();
  std::string path = folder + "/settings.dat";
};

void expectDefaults(const Settings& settings) {
  EXPECT_EQ(Settings::MODE_EASY, settings.gameMode);
  EXPECT_FLOAT_EQ(0.5f, settings.volume);
  EXPECT_FALSE(settings.twoTapMoves);
  EXPECT_FALSE(settings.clockDisabled);
  EXPECT_EQ(3, settings.reservedValues[4]);
  EXPECT_EQ(1, settings.clockSpeed);
  EXPECT_EQ(3, settings.boardSizeClass);
}

// What a new game of each mode, with the clock on and off, is like to play: its board, the
// colours in play at the first level, whether the penalty clock runs, the extra balls of a level
// rise, and the special balls that come.
TEST(SettingsRulesTest, EachModePlaysAsItPromises) {
  struct Case {
    int mode;
    bool clockOff;
    int width, height;
    int coloursAtLevelOne;
    bool clockRuns;
    int extraBallsAtLevelFour;
    bool bombs;
  } cases[] = {
      {Settings::MODE_EASY, false, 8, 10, 5, true, 0, true},   {Settings::MODE_MEDIUM, false, 8, 10, 6, true, 1, true},
      {Settings::MODE_HARD, false, 8, 10, 7, true, 1, true},   {Settings::MODE_QUICK, false, 7, 9, 6, true, 0, true},
      {Settings::MODE_EASY, true, 8, 10, 5, false, 1, true},   {Settings::MODE_MEDIUM, true, 8, 10, 6, false, 2, true},
      {Settings::MODE_HARD, true, 8, 10, 7, false, 2, true},   {Settings::MODE_QUICK, true, 7, 9, 6, false, 1, true},
      // An id without a mode plays by Easy's rules, but for the one colour fewer of Easy's first
      // levels.
      {4, false, 8, 10, 6, true, 0, true},
  };
  for (const Case& c : cases) {
    useMode(c.mode, c.clockOff);
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " clock off " << c.clockOff);
    TestBoard board;
    board.reset(false);
    EXPECT_EQ(c.width, board.width);
    EXPECT_EQ(c.height, board.height);
    int highest = 0;
    bool sawBomb = false;
    for (int i = 0; i < 4000; ++i) {
      const int colour = board.getRandomStoneColour();
      if (colour == STONE_BOMB) sawBomb = true;
      if (!isSpecialStone(colour) && colour > highest) highest = colour;
    }
    EXPECT_EQ(c.coloursAtLevelOne, highest);
    EXPECT_EQ(c.bombs, sawBomb);
    EXPECT_EQ(c.clockRuns, PenaltyClock::period(board.settings.clockSpeed, 1) > 0.0f);
    EXPECT_EQ(c.extraBallsAtLevelFour, board.settings.getExtraBalls(4));
  }
  useMode(Settings::MODE_EASY);
}

TEST(SettingsRulesTest, ExtraBallsPerLevel) {
  struct Case {
    int kind, level, balls;
  } cases[] = {{0, 1, 0}, {1, 1, 0}, {2, 1, 0}, {3, 1, 0}, {0, 4, 0}, {1, 4, 1}, {2, 4, 1},
               {3, 4, 2}, {1, 7, 2}, {2, 7, 3}, {3, 7, 4}, {7, 9, 0}, {-1, 9, 0}};
  Settings settings(liveSettings());
  for (const Case& c : cases) {
    settings.extraBallsKind = c.kind;
    EXPECT_EQ(c.balls, settings.getExtraBalls(c.level)) << "kind " << c.kind << " level " << c.level;
  }
}

TEST(SettingsRulesTest, DisplayPositionTablesAreInverse) {
  for (int position = 0; position < 4; ++position)
    EXPECT_EQ(position, Settings::mapSettingsIdsToDisplayPositions[Settings::mapDisplayPositionsToSettingsIds[position]]);
  EXPECT_EQ(Settings::MODE_MEDIUM, Settings::mapDisplayPositionsToSettingsIds[1]);
}

TEST_F(SettingsFileTest, MissingFileMeansFirstLaunchWithDefaults) {
  Settings settings(path.c_str());
  EXPECT_TRUE(settings.firstLaunch);
  expectDefaults(settings);
}

TEST_F(SettingsFileTest, SaveWritesTheExactRecordAndLoadsItBack) {
  {
    Settings settings(path.c_str());
    settings.gameMode = Settings::MODE_HARD;
    settings.volume = 0.25f;
    settings.clockDisabled = true;
    settings.twoTapMoves = true;
    settings.setValues();
  }  // destruction saves
  EXPECT_EQ(validRecord(), readFile(path));

  Settings loaded(path.c_str());
  EXPECT_FALSE(loaded.firstLaunch);
  EXPECT_EQ(Settings::MODE_HARD, loaded.gameMode);
  EXPECT_FLOAT_EQ(0.25f, loaded.volume);
  EXPECT_TRUE(loaded.clockDisabled);
  EXPECT_TRUE(loaded.twoTapMoves);
  EXPECT_EQ(3, loaded.reservedValues[4]);
  EXPECT_EQ(0, loaded.clockSpeed);
  EXPECT_EQ(3, loaded.extraBallsKind);
}

TEST_F(SettingsFileTest, DamagedFilesFallBackToDefaults) {
  struct Case {
    const char* name;
    size_t offset;
    int32_t value;
    size_t length;
  } cases[] = {
      {"35 bytes", 0, 0x66723031, 35},
      {"empty", 0, 0x66723031, 0},
      {"wrong magic", 0, 0x01020304, 36},
      {"wrong trailing magic", 32, 0x66723030, 36},
      {"mode 5", 4, 5, 36},
      {"mode -1", 4, -1, 36},
      {"packed word 1024", 28, 1024, 36},
      {"packed word -1", 28, -1, 36},
      {"volume 7", 8, 0x40e00000, 36},
      {"volume NaN", 8, 0x7fc00000, 36},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = validRecord();
    putInt(bytes, c.offset, c.value);
    bytes.resize(c.length);
    writeFile(path, bytes);
    Settings settings(path.c_str());
    EXPECT_FALSE(settings.firstLaunch);
    expectDefaults(settings);
  }
}

TEST_F(SettingsFileTest, ModeFourLoads) {
  Bytes bytes = validRecord();
  putInt(bytes, 4, 4);
  putInt(bytes, 28, 3);
  writeFile(path, bytes);
  Settings settings(path.c_str());
  EXPECT_EQ(4, settings.gameMode);
  EXPECT_EQ(7, settings.colourCount);
  EXPECT_EQ(0, settings.extraBallsKind);
  EXPECT_EQ(3, settings.boardSizeClass);
}

TEST_F(SettingsFileTest, LoadStopsRightAfterTheRecord) {
  Bytes bytes = validRecord();
  bytes.push_back(0xAB);
  writeFile(path, bytes);
  bool opened = false;
  MyTl::File file(path.c_str(), &opened);
  ASSERT_TRUE(opened);
  Settings settings(liveSettings());
  EXPECT_TRUE(settings.loadState(file));
  char next = 0;
  EXPECT_EQ(1u, file.read(&next, 1));
  EXPECT_EQ(static_cast<char>(0xAB), next);
}

TEST_F(SettingsFileTest, SavingReplacesTheFileInOneStep) {
  writeFile(path, validRecord());
  {
    Settings settings(path.c_str());
    settings.gameMode = Settings::MODE_QUICK;
  }
  const Bytes saved = readFile(path);
  ASSERT_EQ(36u, saved.size());
  EXPECT_EQ(Settings::MODE_QUICK, intAt(saved, 4));
  // No temporary file is left beside it.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  EXPECT_EQ(std::vector<std::string>{"settings.dat"}, names);
}

TEST_F(SettingsFileTest, UnwritableFolderWritesNothingAndKeepsTheSettings) {
  const std::string missingFolderPath = folder + "/no-such-folder/settings.dat";
  Settings settings(missingFolderPath.c_str());
  settings.gameMode = Settings::MODE_HARD;
  settings.volume = 0.9f;
  settings.save();
  EXPECT_EQ(Settings::MODE_HARD, settings.gameMode);
  EXPECT_FLOAT_EQ(0.9f, settings.volume);
  struct stat info;
  EXPECT_NE(0, stat((folder + "/no-such-folder").c_str(), &info));
}

TEST_F(SettingsFileTest, CopiesCarryEveryFieldAndThePath) {
  Settings original(path.c_str());
  original.gameMode = Settings::MODE_MEDIUM;
  original.twoTapMoves = true;
  original.setValues();
  Settings copy(original);
  EXPECT_EQ(original.path, copy.path);
  EXPECT_EQ(Settings::MODE_MEDIUM, copy.gameMode);
  EXPECT_TRUE(copy.twoTapMoves);
  EXPECT_TRUE(copy.firstLaunch);
  EXPECT_EQ(original.extraBallsKind, copy.extraBallsKind);
}

// Which saves reach the disk: the test removes the file right after loading it, so a write
// shows as the file being there again.
TEST_F(SettingsFileTest, SavesWriteOnlyWhatTheFileDoesNotHoldYet) {
  enum Start { VALID, DAMAGED, MISSING };
  const struct {
    const char* name;
    Start start;
    bool changeVolume;
    bool written;
  } cases[] = {
      {"valid file, nothing changed", VALID, false, false},
      {"valid file, volume changed", VALID, true, true},
      {"damaged file, nothing changed", DAMAGED, false, true},
      {"missing file, nothing changed", MISSING, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = validRecord();
    if (c.start == DAMAGED) bytes.resize(20);
    if (c.start != MISSING) writeFile(path, bytes);
    {
      Settings settings(path.c_str());
      std::filesystem::remove(path);
      if (c.changeVolume) settings.volume = 0.75f;
      settings.save();
      EXPECT_EQ(c.written, std::filesystem::exists(path));
      // Saving the same values again, and the destruction, write nothing more.
      std::filesystem::remove(path);
      settings.save();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

TEST_F(SettingsFileTest, CopiesNeverWriteTheFile) {
  writeFile(path, validRecord());
  Settings live(path.c_str());
  {
    Settings copy(live);
    copy.gameMode = Settings::MODE_QUICK;
    copy.save();
    Settings assigned;
    assigned = live;
    assigned.volume = 1.0f;
    assigned.save();
  }
  EXPECT_EQ(validRecord(), readFile(path));
  // Assigning into the writer keeps it the writer.
  Settings changed(live);
  changed.gameMode = Settings::MODE_EASY;
  live = changed;
  live.save();
  EXPECT_EQ(Settings::MODE_EASY, intAt(readFile(path), 4));
}

// The board's copy holds the values of its game's start; the player's later choice must survive
// the board.
TEST_F(SettingsFileTest, BoardCopyNeverOverwritesTheLiveSettings) {
  Settings& live = liveSettings();
  const Settings before(live);
  {
    TestBoard board;
    board.reset(false);
    live.volume = before.volume == 0.25f ? 0.75f : 0.25f;
    live.save();
  }
  const Bytes saved = readFile(settingsPath());
  ASSERT_EQ(36u, saved.size());
  float savedVolume = 0.0f;
  std::memcpy(&savedVolume, &saved[8], 4);
  EXPECT_EQ(live.volume, savedVolume);
  live = before;
  live.save();
}

TEST(GameClockTest, GameTimeStandsStillWhilePaused) {
  int wall = 1000000;
  GameClock clock([&wall] { return wall; });
  wall += 1000;
  clock.refresh();
  EXPECT_EQ(1000, clock.nowMs());
  EXPECT_EQ(1000, clock.gameTime());

  clock.pause();
  wall += 5000;
  clock.refresh();
  EXPECT_EQ(6000, clock.nowMs());  // nowMs keeps running
  EXPECT_EQ(1000, clock.gameTime());
  clock.pause();  // a second pause changes nothing
  EXPECT_EQ(1000, clock.gameTime());

  clock.resume();
  wall += 250;
  clock.refresh();
  EXPECT_EQ(1250, clock.gameTime());
  EXPECT_EQ(5000, clock.pausedTotal());

  clock.reset();
  EXPECT_EQ(0, clock.nowMs());
  EXPECT_EQ(0, clock.pausedTotal());
  EXPECT_EQ(0, clock.gameTime());
}

TEST(GameClockTest, WrappingWallClockStillGivesDifferences) {
  int wall = 0x7fffff00;
  GameClock clock([&wall] { return wall; });
  wall = static_cast<int>(0x80000010u);
  clock.refresh();
  EXPECT_EQ(0x110, clock.nowMs());
}

}  // namespace
