// Ranking into the local tables and the hiScores.dat format: magic, last name, 12 tables of at
// most 10 entries (name length, name bytes, score), magic. Strings are a 4-byte length and the
// bytes without a terminator.
#include "HiScores.h"

#include "Common/AtomicFileWriter.h"
#include "Common/File.h"

namespace {

const int MAX_STORED_ENTRIES = 1000;
const int LOWEST_SCORE = -1;
const int HIGHEST_SCORE = 999999;

bool readInt(MyTl::File& file, int& value) { return file.read(reinterpret_cast<char*>(&value), 4) == 4; }

// A length-prefixed name of at most 255 bytes.
bool readName(MyTl::File& file, MyTl::BasicString<char>& name) {
  int length = 0;
  if (!readInt(file, length) || static_cast<unsigned>(length) > static_cast<unsigned>(HiScores::MAX_NAME_BYTES))
    return false;
  char buffer[HiScores::MAX_NAME_BYTES];
  if (length > 0 && file.read(buffer, static_cast<unsigned long>(length)) != static_cast<unsigned long>(length))
    return false;
  name = MyTl::BasicString<char>(buffer, static_cast<unsigned long>(length));
  return true;
}

void writeInt(MyTl::File& file, int value) { file.write(reinterpret_cast<const char*>(&value), 4); }

void writeName(MyTl::File& file, const MyTl::BasicString<char>& name) {
  writeInt(file, name.length());
  if (name.length() > 0) file.write(name.c_str(), static_cast<unsigned long>(name.length()));
}

}  // namespace

HiScores::HiScores() = default;

HiScores::~HiScores() {
  if (!path.empty()) saveHiScores();
}

MyTl::BasicString<char> HiScores::limitName(const char* name) {
  if (name == nullptr) return MyTl::BasicString<char>();
  MyTl::BasicString<char> full(name);
  if (full.length() <= MAX_NAME_BYTES) return full;
  int cut = MAX_NAME_BYTES;
  // Step back over UTF-8 continuation bytes (10xxxxxx) so no character is split.
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return MyTl::BasicString<char>(name, static_cast<unsigned long>(cut));
}

int HiScores::getScorePosition(int tableIndex, int score) const {
  const MyTl::FixedArray<HiScore>& t = tables[clampIndex(tableIndex)];
  for (int i = 0; i < t.size(); ++i) {
    if (t[i].score < score) return i + 1;
  }
  return t.size() + 1;
}

int HiScores::addScore(int tableIndex, int score, const char* name) {
  lastName = limitName(name);
  MyTl::FixedArray<HiScore>& t = tables[clampIndex(tableIndex)];
  const int count = t.size();
  int position = count;
  for (int i = 0; i < count; ++i) {
    if (score > t[i].score) {
      position = i;
      break;
    }
  }
  // Room for the visible table as well, so padding it for display never moves the entries
  // and lastAdded stays valid.
  t.reserve(count + 1 > VISIBLE_ENTRIES ? count + 1 : VISIBLE_ENTRIES);
  t.resize(count + 1);
  for (int i = count; i > position; --i) t[i] = t[i - 1];
  t[position] = HiScore(lastName, score);
  lastAdded = &t[position];
  return position;
}

void HiScores::loadHiScores(const char* filePath) {
  path = MyTl::BasicString<char>(filePath);
  lastAdded = nullptr;
  bool opened = false;
  MyTl::File file(path.c_str(), &opened);
  if (opened) {
    // On success a table keeps the length it was stored with; after damage every table is
    // normalised, keeping what was read before the damage.
    if (readTables(file)) return;
  }
  padTablesToVisibleLength();
}

bool HiScores::readTables(MyTl::File& file) {
  int magic = 0;
  if (!readInt(file, magic) || magic != FILE_MAGIC) return false;
  if (!readName(file, lastName)) return false;
  int tableCount = 0;
  if (!readInt(file, tableCount) || tableCount > TABLE_COUNT) return false;
  for (int k = 0; k < tableCount; ++k) {
    int entryCount = 0;
    if (!readInt(file, entryCount) || static_cast<unsigned>(entryCount) > static_cast<unsigned>(MAX_STORED_ENTRIES))
      return false;
    MyTl::FixedArray<HiScore>& t = tables[k];
    t.resizeQuick(entryCount);
    for (int i = 0; i < entryCount; ++i) {
      int score = 0;
      if (!readName(file, t[i].name)) return false;
      if (!readInt(file, score) || score < LOWEST_SCORE || score > HIGHEST_SCORE) return false;
      t[i].score = score;
    }
    if (t.size() > VISIBLE_ENTRIES) t.resize(VISIBLE_ENTRIES);
  }
  int trailingMagic = 0;
  return readInt(file, trailingMagic) && trailingMagic == FILE_MAGIC;
}

void HiScores::padTablesToVisibleLength() {
  for (MyTl::FixedArray<HiScore>& t : tables) t.resize(VISIBLE_ENTRIES);
}

void HiScores::padTableToVisibleLength(int tableIndex) {
  MyTl::FixedArray<HiScore>& t = tables[clampIndex(tableIndex)];
  if (t.size() < VISIBLE_ENTRIES) t.resize(VISIBLE_ENTRIES);
}

bool HiScores::saveHiScores() const {
  bool opened = false;
  MyTl::AtomicFileWriter file(path.c_str(), &opened, failureNotice);
  if (!opened) return false;
  writeInt(file, FILE_MAGIC);
  writeName(file, lastName);
  writeInt(file, TABLE_COUNT);
  for (const MyTl::FixedArray<HiScore>& t : tables) {
    const int stored = t.size() < VISIBLE_ENTRIES ? t.size() : VISIBLE_ENTRIES;
    writeInt(file, stored);
    for (int i = 0; i < stored; ++i) {
      writeName(file, t[i].name);
      writeInt(file, t[i].score);
    }
  }
  writeInt(file, FILE_MAGIC);
  return file.commit();
}
