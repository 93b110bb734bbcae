// gameState.dat: the exact byte layout, round trips, and a table of damaged files.
#include <gtest/gtest.h>

#include "WholeFile.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "GameStateFile.h"
#include "ModelTestSupport.h"

using namespace modeltest;

namespace {

using testfiles::Bytes;
using testfiles::readFile;
using testfiles::writeFile;

template <class T>
void put(Bytes& bytes, size_t offset, T value) {
  std::memcpy(&bytes[offset], &value, sizeof(T));
}

template <class T>
T at(const Bytes& bytes, size_t offset) {
  T value;
  std::memcpy(&value, &bytes[offset], sizeof(T));
  return value;
}

const Bytes MAGIC_BYTES = {0x31, 0x30, 0x72, 0x66};
const size_t STONES_OFFSET = 80;
const size_t PENDING_COUNT_OFFSET = 1104;

class GameStateFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useMode(Settings::MODE_MEDIUM);
    testRandom().reseed(99);
    advanceClock(100);
    // A recognisable game in progress: a few stones, some points, 17 moves.
    clearBoard(saved);
    modeltest::put(saved, 1, 1, STONE_RED);
    modeltest::put(saved, 4, 7, STONE_BOMB);
    modeltest::put(saved, 7, 9, STONE_RAINBOW);
    saved.score = 33;
    saved.previousScore = 120;
    saved.level = 1;
    saved.moveCount = 17;
    saved.ballsSinceBomb = 5;
    saved.selected = Square(4, 7);
    intervals.sinceLastMove = 1500.0;
    intervals.sinceLastPenalty = 4200.0;
  }

  Bytes savedBytes() {
    EXPECT_TRUE(GameStateFile::save(path.c_str(), saved, intervals));
    return readFile(path);
  }

  // Loads `bytes` into a board that holds another game; true when it resumed the saved one.
  bool resumes(const Bytes& bytes, bool* headerAccepted = nullptr) {
    writeFile(path, bytes);
    loaded.moveCount = 999;
    loaded.score = 42;
    GameStateFile::ClockIntervals read;
    const bool header = GameStateFile::load(path.c_str(), loaded, read);
    if (headerAccepted) *headerAccepted = header;
    EXPECT_TRUE(freeSquaresMatchBoard(loaded));
    return header && loaded.moveCount == 17;
  }

  std::string folder = makeTempFolder();
  std::string path = folder + "/gameState.dat";
  TestBoard saved;
  TestBoard loaded;
  GameStateFile::ClockIntervals intervals;
};

TEST_F(GameStateFileTest, NewGameIsSavedInTheExactLayout) {
  TestBoard fresh;
  fresh.reset(true);
  const Bytes bytes = [&] {
    EXPECT_TRUE(GameStateFile::save(path.c_str(), fresh, intervals));
    return readFile(path);
  }();
  ASSERT_EQ(1128u, bytes.size());
  EXPECT_EQ(MAGIC_BYTES, Bytes(bytes.begin(), bytes.begin() + 4));
  EXPECT_EQ(1500.0, at<double>(bytes, 4));
  EXPECT_EQ(4200.0, at<double>(bytes, 12));
  EXPECT_EQ(MAGIC_BYTES, Bytes(bytes.begin() + 20, bytes.begin() + 24));
  EXPECT_EQ(MAGIC_BYTES, Bytes(bytes.begin() + 52, bytes.begin() + 56));
  EXPECT_EQ(3, at<int32_t>(bytes, PENDING_COUNT_OFFSET));
  EXPECT_EQ(0, at<int32_t>(bytes, 1120));
  EXPECT_EQ(0, at<int32_t>(bytes, 1124));
}

TEST_F(GameStateFileTest, FieldsSitAtTheirOffsets) {
  const Bytes bytes = savedBytes();
  ASSERT_EQ(1128u, bytes.size());
  EXPECT_EQ(Settings::MODE_MEDIUM, at<int32_t>(bytes, 24));
  EXPECT_EQ(5, at<int32_t>(bytes, 56));
  EXPECT_EQ(4, at<int32_t>(bytes, 60));
  EXPECT_EQ(7, at<int32_t>(bytes, 64));
  EXPECT_EQ(33, at<int32_t>(bytes, 68));
  EXPECT_EQ(120, at<int32_t>(bytes, 72));
  EXPECT_EQ(1, at<int32_t>(bytes, 76));
  EXPECT_EQ(STONE_RED, at<int32_t>(bytes, STONES_OFFSET + 4 * (16 * 1 + 1)));
  EXPECT_EQ(STONE_BOMB, at<int32_t>(bytes, STONES_OFFSET + 4 * (16 * 7 + 4)));
  EXPECT_EQ(saved.pendingStones[2], at<int32_t>(bytes, PENDING_COUNT_OFFSET + 12));
  EXPECT_EQ(17, at<int32_t>(bytes, 1124));
}

TEST_F(GameStateFileTest, RoundTripResumesTheGame) {
  saved.addPendingBall(STONE_PINK);
  const Bytes bytes = savedBytes();
  EXPECT_EQ(1132u, bytes.size());
  GameStateFile::ClockIntervals read;
  ASSERT_TRUE(GameStateFile::load(path.c_str(), loaded, read));
  EXPECT_EQ(1500.0, read.sinceLastMove);
  EXPECT_EQ(4200.0, read.sinceLastPenalty);
  EXPECT_EQ(17, loaded.moveCount);
  EXPECT_EQ(33, loaded.score);
  EXPECT_EQ(120, loaded.previousScore);
  EXPECT_EQ(5, loaded.ballsSinceBomb);
  EXPECT_EQ(Square(4, 7), loaded.selected);
  EXPECT_EQ(Settings::MODE_MEDIUM, loaded.settings.gameMode);
  ASSERT_EQ(4, loaded.pendingStones.size());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(saved.pendingStones[i], loaded.pendingStones[i]);
    EXPECT_EQ(-1, loaded.pendingStoneTimes[i].ms);  // announcement times are not stored
  }
  EXPECT_EQ(0, std::memcmp(saved.stones, loaded.stones, sizeof(saved.stones)));
  EXPECT_TRUE(freeSquaresMatchBoard(loaded));
  EXPECT_EQ(77, loaded.freeSquares.size());
}

TEST_F(GameStateFileTest, QuickModeGameKeepsItsBoardSize) {
  useMode(Settings::MODE_QUICK);
  clearBoard(saved);
  modeltest::put(saved, 6, 8, STONE_RED);
  saved.moveCount = 17;
  savedBytes();
  useMode(Settings::MODE_EASY);
  GameStateFile::ClockIntervals read;
  ASSERT_TRUE(GameStateFile::load(path.c_str(), loaded, read));
  EXPECT_EQ(7, loaded.width);
  EXPECT_EQ(9, loaded.height);
  EXPECT_EQ(STONE_RED, loaded.stones[8][6]);
}

TEST_F(GameStateFileTest, DamagedBoardsStartANewGame) {
  struct Case {
    const char* name;
    size_t offset;
    int32_t value;
  } cases[] = {
      {"ballsSinceBomb -1", 56, -1},        {"ballsSinceBomb 100000", 56, 100000},
      {"selected.x -2", 60, -2},            {"selected.x 16", 60, 16},
      {"selected.y 16", 64, 16},            {"score 100000", 68, 100000},
      {"score -1", 68, -1},                 {"previousScore -1", 72, -1},
      {"level 0", 76, 0},                   {"level 1000", 76, 1000},
      {"pending count 100", PENDING_COUNT_OFFSET, 100},
      {"pending count -1", PENDING_COUNT_OFFSET, -1},
      {"pending colour 0", PENDING_COUNT_OFFSET + 4, 0},
      {"pending colour 12", PENDING_COUNT_OFFSET + 4, 12},
      {"stone value 12", STONES_OFFSET, 12},
      {"stone value -3", STONES_OFFSET + 8, -3},
      {"stone outside the board", STONES_OFFSET + 4 * 12, STONE_RED},
      {"move records 10001", 1120, 10001},
      {"move records -1", 1120, -1},
      {"move records 1 but none stored", 1120, 1},
  };
  const Bytes good = savedBytes();
  ASSERT_TRUE(resumes(good));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = good;
    put<int32_t>(bytes, c.offset, c.value);
    bool header = false;
    EXPECT_FALSE(resumes(bytes, &header));
    EXPECT_TRUE(header);  // the clock marks still come from the header
    EXPECT_EQ(0, loaded.moveCount);
    EXPECT_EQ(0, loaded.score);
    // Nothing of the damaged file leaks into the new game: its previous score is the score of
    // the game that ran before the load.
    EXPECT_EQ(42, loaded.previousScore);
  }
}

TEST_F(GameStateFileTest, BadHeadersAreRefused) {
  const Bytes good = savedBytes();
  Bytes foreign = good;
  foreign[0] = 0x32;
  Bytes notANumber = good;
  put<double>(notANumber, 4, std::numeric_limits<double>::quiet_NaN());
  Bytes huge = good;
  put<double>(huge, 12, 1e300);
  for (const Bytes& bytes : {foreign, notANumber, huge, Bytes(good.begin(), good.begin() + 19), Bytes()}) {
    bool header = true;
    EXPECT_FALSE(resumes(bytes, &header));
    EXPECT_FALSE(header);
  }
  GameStateFile::ClockIntervals read;
  EXPECT_FALSE(GameStateFile::load((folder + "/missing.dat").c_str(), loaded, read));
}

TEST_F(GameStateFileTest, TruncationAtAnyByteNeverResumes) {
  const Bytes good = savedBytes();
  for (size_t length = 0; length < good.size(); ++length) {
    SCOPED_TRACE(length);
    bool header = false;
    EXPECT_FALSE(resumes(Bytes(good.begin(), good.begin() + static_cast<long>(length)), &header));
    EXPECT_EQ(length >= 20, header);
  }
}

TEST_F(GameStateFileTest, SettingsRecordInsideTheGame) {
  // A mode id of 9 abandons the record after the mode, so the rest is read out of step and the
  // board starts afresh (resumes() also checks the free list stays sound).
  Bytes badMode = savedBytes();
  put<int32_t>(badMode, 24, 9);
  EXPECT_FALSE(resumes(badMode));
  // Reserved values are carried, not judged.
  Bytes otherReserved = savedBytes();
  put<int32_t>(otherReserved, 32, 77);
  EXPECT_TRUE(resumes(otherReserved));
  EXPECT_EQ(77, loaded.settings.reservedValues[0]);
}

TEST_F(GameStateFileTest, FullBoardStartsANewGame) {
  for (int y = 0; y < saved.height; ++y)
    for (int x = 0; x < saved.width; ++x) modeltest::put(saved, x, y, (x + 2 * y) % 4 + 1);
  ASSERT_TRUE(saved.freeSquares.empty());
  EXPECT_FALSE(resumes(savedBytes()));
}

TEST_F(GameStateFileTest, NoPendingBallsLoadsAndTheNextPlacementAnnouncesThree) {
  Bytes bytes = savedBytes();
  put<int32_t>(bytes, PENDING_COUNT_OFFSET, 0);
  bytes.erase(bytes.begin() + PENDING_COUNT_OFFSET + 4, bytes.begin() + PENDING_COUNT_OFFSET + 16);
  ASSERT_TRUE(resumes(bytes));
  EXPECT_EQ(0, loaded.pendingStones.size());
  const int freeBefore = loaded.freeSquares.size();
  EXPECT_TRUE(loaded.addPendingBalls());
  EXPECT_EQ(freeBefore, loaded.freeSquares.size());
  EXPECT_EQ(3, loaded.pendingStones.size());
}

TEST_F(GameStateFileTest, MoveRecordsAreReadAndLogged) {
  Bytes bytes = savedBytes();
  const size_t records = 1120;
  // One record of type 2: type byte, colour byte, time.
  Bytes record = {2, STONE_GREEN};
  const double time = 1234.5;
  record.resize(10);
  std::memcpy(&record[2], &time, 8);
  put<int32_t>(bytes, records, 1);
  bytes.insert(bytes.begin() + records + 4, record.begin(), record.end());
  testing::internal::CaptureStdout();
  EXPECT_TRUE(resumes(bytes));
  const std::string log = testing::internal::GetCapturedStdout();
  EXPECT_NE(std::string::npos, log.find("Move Type: 2 color: 2 time: 1234.500000\n")) << log;
  ASSERT_EQ(1, loaded.moveLog.size());
  EXPECT_EQ(2, loaded.moveLog[0].type);

  // Each type's parameters, and a type 7 that spoils the load.
  struct Case {
    Bytes record;
    bool loads;
    int data0;
  } cases[] = {
      {{0, 0xFF, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0, 0}, true, -1},
      {{3, 0x34, 0x12, 0xFE, 0xFF, 9, 0, 0, 0, 0, 0, 0, 0, 0}, true, 0x1234},
      {{6, 0x78, 0x56, 0x34, 0x12}, true, 0x12345678},
      {{7, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, 0},
      {{3, 0x34}, false, 0},
  };
  for (const Case& c : cases) {
    Bytes withRecord = savedBytes();
    put<int32_t>(withRecord, records, 1);
    withRecord.insert(withRecord.begin() + records + 4, c.record.begin(), c.record.end());
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.loads, resumes(withRecord)) << int(c.record[0]);
    testing::internal::GetCapturedStdout();
    if (c.loads) {
      EXPECT_EQ(c.data0, loaded.moveLog[0].data[0]);
    }
  }
}

TEST_F(GameStateFileTest, UnwritableFolderKeepsTheOldFile) {
  const Bytes good = savedBytes();
  EXPECT_FALSE(GameStateFile::save((folder + "/missing/gameState.dat").c_str(), saved, intervals));
  EXPECT_EQ(good, readFile(path));
}

}  // namespace
