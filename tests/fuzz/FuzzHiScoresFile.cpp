// Fuzz target for hiScores.dat. Whatever the file holds, the loaded tables must be ones the game
// can show and rank into: twelve tables of at most ten entries, names the file format can hold,
// scores in range. And what was loaded must come back unchanged after the save at exit.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "FuzzScratchFolder.h"
#include "HiScores.h"

namespace {

void checkTables(const HiScores& scores) {
  FUZZ_CHECK(scores.lastName.length() <= HiScores::MAX_NAME_BYTES, "the last name fits the file");
  FUZZ_CHECK(scores.lastAdded == nullptr, "nothing was added");
  for (int k = 0; k < HiScores::TABLE_COUNT; ++k) {
    const MyTl::FixedArray<HiScore>& table = scores.table(k);
    FUZZ_CHECK(table.size() >= 0 && table.size() <= HiScores::VISIBLE_ENTRIES, "at most ten entries a table");
    for (const HiScore& entry : table) {
      FUZZ_CHECK(entry.name.length() <= HiScores::MAX_NAME_BYTES, "names fit the file");
      FUZZ_CHECK(entry.name.c_str()[entry.name.length()] == '\0', "names are terminated");
      FUZZ_CHECK(entry.score >= -1 && entry.score <= 999999, "scores -1 to 999999");
    }
    // Ranking works on whatever was loaded.
    const int position = scores.getScorePosition(k, 0);
    FUZZ_CHECK(position >= 1 && position <= table.size() + 1, "a rank inside the table or just after it");
  }
}

bool sameTables(const HiScores& a, const HiScores& b) {
  if (a.lastName != b.lastName) return false;
  for (int k = 0; k < HiScores::TABLE_COUNT; ++k) {
    const MyTl::FixedArray<HiScore>& x = a.table(k);
    const MyTl::FixedArray<HiScore>& y = b.table(k);
    if (x.size() != y.size()) return false;
    for (int i = 0; i < x.size(); ++i) {
      if (x[i].name != y[i].name || x[i].score != y[i].score) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzScratchFolder::instance();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzScratchFolder::instance().write("hiScores.dat", data, size);

  auto loaded = std::make_unique<HiScores>();
  loaded->loadHiScores(path.c_str());
  checkTables(*loaded);

  // What the game shows now, then the save at exit (the destructor writes over the input).
  HiScores shown;
  shown.lastName = loaded->lastName;
  for (int k = 0; k < HiScores::TABLE_COUNT; ++k) shown.tables[k] = loaded->tables[k];
  loaded.reset();

  // The next launch.
  HiScores relaunched;
  relaunched.loadHiScores(path.c_str());
  FUZZ_CHECK(sameTables(shown, relaunched), "the saved tables load back unchanged");
  return 0;
}
