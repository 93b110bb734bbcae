// Local high-score tables: ranking, the hiScores.dat format, damaged files and safe saving.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "HiScores.h"
#include "TempFolder.h"
#include "WholeFile.h"

namespace {

using testfiles::Bytes;
using testfiles::readFile;
using testfiles::writeFile;

// Builds a hiScores.dat image piece by piece.
struct FileImage {
  Bytes bytes;
  FileImage& integer(int32_t value) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), p, p + 4);
    return *this;
  }
  FileImage& name(const std::string& text) {
    integer(static_cast<int32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  FileImage& entry(const std::string& text, int32_t score) { return name(text).integer(score); }
  FileImage& magic() { return integer(0x66723031); }
};

class HiScoresTest : public ::testing::Test {
 protected:
  TempFolder files{"pellix-scores"};
  std::string folder = files.str();
  std::string path = files.path("hiScores.dat");
};

std::vector<int> scoresOf(const HiScores& scores, int table) {
  std::vector<int> result;
  for (const HiScore& entry : scores.table(table)) result.push_back(entry.score);
  return result;
}

TEST_F(HiScoresTest, FreshInstallHasTwelveTablesOfPlaceholders) {
  HiScores scores;
  scores.loadHiScores(path.c_str());
  for (int t = 0; t < HiScores::TABLE_COUNT; ++t) EXPECT_EQ(std::vector<int>(10, -1), scoresOf(scores, t));
  EXPECT_TRUE(scores.lastName.empty());
  EXPECT_EQ(1, scores.getScorePosition(0, 0));
}

TEST_F(HiScoresTest, RankingPutsEqualScoresBelow) {
  FileImage image;
  image.magic().name("").integer(3).integer(0).integer(0).integer(10);
  image.entry("Al", 500).entry("Bea", 300).entry("Cy", 300);
  for (int i = 0; i < 7; ++i) image.entry("", -1);
  image.magic();
  writeFile(path, image.bytes);
  HiScores scores;
  scores.loadHiScores(path.c_str());
  EXPECT_EQ(4, scores.getScorePosition(2, 300));
  EXPECT_EQ(2, scores.getScorePosition(2, 301));
  EXPECT_EQ(3, scores.addScore(2, 300, "Di"));
  EXPECT_EQ((std::vector<int>{500, 300, 300, 300, -1, -1, -1, -1, -1, -1, -1}), scoresOf(scores, 2));
  EXPECT_TRUE(scores.table(2)[10].isPlaceholder());
  ASSERT_NE(nullptr, scores.lastAdded);
  EXPECT_EQ("Di", scores.lastAdded->name);
  EXPECT_EQ("Di", scores.lastName);
  EXPECT_EQ("Cy", scores.table(2)[2].name);
}

TEST_F(HiScoresTest, FullTableOfRealScores) {
  HiScores scores;
  scores.loadHiScores(path.c_str());
  for (int i = 0; i < 10; ++i) scores.addScore(0, 50 + 10 * i, "P");
  EXPECT_EQ(11, scores.getScorePosition(0, 50));
  EXPECT_EQ(10, scores.getScorePosition(0, 51));
}

TEST_F(HiScoresTest, TableIndexAboveElevenUsesTableEleven) {
  HiScores scores;
  scores.loadHiScores(path.c_str());
  EXPECT_EQ(0, scores.addScore(15, 70, "Zed"));
  EXPECT_EQ(70, scores.table(11)[0].score);
  EXPECT_EQ(2, scores.getScorePosition(11, 60));
}

TEST_F(HiScoresTest, FileLayoutAndRoundTrip) {
  {
    HiScores scores;
    scores.loadHiScores(path.c_str());
    scores.addScore(3, 42, "Ann");
    scores.addScore(3, 90, "Bob");
  }  // the destructor writes the file
  FileImage expected;
  expected.magic().name("Bob").integer(12);
  for (int t = 0; t < 12; ++t) {
    expected.integer(10);
    if (t == 3) expected.entry("Bob", 90).entry("Ann", 42);
    for (int i = t == 3 ? 2 : 0; i < 10; ++i) expected.entry("", -1);
  }
  expected.magic();
  EXPECT_EQ(expected.bytes, readFile(path));

  HiScores loaded;
  loaded.loadHiScores(path.c_str());
  EXPECT_EQ("Bob", loaded.lastName);
  EXPECT_EQ("Ann", loaded.table(3)[1].name);
  EXPECT_EQ(42, loaded.table(3)[1].score);
  EXPECT_EQ(10, loaded.table(3).size());
}

TEST_F(HiScoresTest, ShortTablesKeepTheirLengthAndLongOnesAreCut) {
  FileImage image;
  image.magic().name("Eve").integer(4);
  image.integer(2).entry("A", 9).entry("B", 8);
  image.integer(0);
  image.integer(0);
  image.integer(12);
  for (int i = 0; i < 12; ++i) image.entry("N", 100 - i);
  image.magic();
  writeFile(path, image.bytes);
  HiScores scores;
  scores.loadHiScores(path.c_str());
  EXPECT_EQ((std::vector<int>{9, 8}), scoresOf(scores, 0));
  EXPECT_EQ(0, scores.table(1).size());
  EXPECT_EQ((std::vector<int>{100, 99, 98, 97, 96, 95, 94, 93, 92, 91}), scoresOf(scores, 3));
  EXPECT_EQ(0, scores.table(4).size());  // tables beyond the stored count stay as they were
}

TEST_F(HiScoresTest, DamagedFilesKeepWhatWasReadAndNormalise) {
  auto start = [] {
    FileImage image;
    image.magic().name("Kim").integer(12);
    image.integer(2).entry("A", 900).entry("B", 800);
    return image;
  };
  struct Case {
    const char* name;
    FileImage image;
    bool firstTableKept;
  } cases[] = {
      {"wrong magic", FileImage().integer(0x12345678), false},
      {"name length 256", FileImage().magic().name(std::string(256, 'x')), false},
      {"thirteen tables", FileImage().magic().name("Kim").integer(13), false},
      {"entry count 1001", start().integer(1001), true},
      {"entry count -1", start().integer(-1), true},
      {"score 1000000", start().integer(1).entry("C", 1000000), true},
      {"score -2", start().integer(1).entry("C", -2), true},
      {"entry name too long", start().integer(1).entry(std::string(300, 'y'), 5), true},
      {"missing trailing magic", start(), true},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(path, c.image.bytes);
    HiScores scores;
    scores.loadHiScores(path.c_str());
    for (int t = 0; t < HiScores::TABLE_COUNT; ++t) ASSERT_EQ(10, scores.table(t).size()) << t;
    if (c.firstTableKept) {
      EXPECT_EQ(900, scores.table(0)[0].score);
      EXPECT_EQ(800, scores.table(0)[1].score);
      EXPECT_TRUE(scores.table(0)[2].isPlaceholder());
      EXPECT_TRUE(scores.table(1)[0].isPlaceholder());
    }
    scores.path = MyTl::BasicString<char>();  // keep the damaged file for the next case
  }
}

TEST_F(HiScoresTest, TruncationAtAnyByteNeverBreaksTheTables) {
  {
    HiScores scores;
    scores.loadHiScores(path.c_str());
    for (int t = 0; t < 12; ++t) scores.addScore(t, 10 * t, "Tessa");
  }
  const Bytes good = readFile(path);
  for (size_t length = 0; length < good.size(); ++length) {
    writeFile(path, Bytes(good.begin(), good.begin() + static_cast<long>(length)));
    HiScores scores;
    scores.loadHiScores(path.c_str());
    for (int t = 0; t < HiScores::TABLE_COUNT; ++t) ASSERT_EQ(10, scores.table(t).size()) << length;
    scores.path = MyTl::BasicString<char>();
  }
}

TEST_F(HiScoresTest, NamesAreKeptToTwoHundredFiftyFiveBytes) {
  const std::string exact(255, 'a');
  // 254 ASCII letters then a two-byte letter: cutting at 255 would split it.
  const std::string straddling = std::string(254, 'b') + "\xC3\xA9" + "tail";
  {
    HiScores scores;
    scores.loadHiScores(path.c_str());
    scores.addScore(0, 20, exact.c_str());
    scores.addScore(0, 10, straddling.c_str());
    EXPECT_EQ(254, scores.lastName.length());
  }
  HiScores loaded;
  loaded.loadHiScores(path.c_str());
  EXPECT_EQ(exact, std::string(loaded.table(0)[0].name.c_str()));
  EXPECT_EQ(std::string(254, 'b'), std::string(loaded.table(0)[1].name.c_str()));
  EXPECT_EQ(10, loaded.table(0)[1].score);
}

TEST_F(HiScoresTest, SavingOnRequestIsAtomic) {
  HiScores scores;
  scores.loadHiScores(path.c_str());
  scores.addScore(1, 77, "Ola");
  ASSERT_TRUE(scores.saveHiScores());
  const Bytes saved = readFile(path);
  HiScores reread;
  reread.loadHiScores(path.c_str());
  EXPECT_EQ(77, reread.table(1)[0].score);
  reread.path = MyTl::BasicString<char>();

  scores.path = MyTl::BasicString<char>((folder + "/missing/hiScores.dat").c_str());
  EXPECT_FALSE(scores.saveHiScores());
  EXPECT_EQ(saved, readFile(path));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.is_regular_file();
  EXPECT_EQ(1, files);
}

}  // namespace
