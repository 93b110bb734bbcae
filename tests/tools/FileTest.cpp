// MyTl::File on real files in a temporary folder, and StreamIn::readArr over them.
#include <cstdint>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "File.h"
#include "TempFolder.h"

using MyTl::File;

namespace {

std::string bytesOf(std::int32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

}  // namespace

TEST(File, AnIntIsStoredAsItsLittleEndianBytes) {
  TempFolder folder;
  const std::string path = folder.path("magic.dat");
  {
    bool ok = false;
    File file(path.c_str(), false, false, true, &ok);
    ASSERT_TRUE(ok);
    const std::int32_t magic = 0x66723031;
    EXPECT_EQ(file.write(reinterpret_cast<const char*>(&magic), 4), 4u);
  }  // the destructor closes (and so flushes) the file
  EXPECT_EQ(TempFolder::contentOf(path), std::string("\x31\x30\x72\x66", 4));

  bool ok = false;
  File file(path.c_str(), &ok);
  ASSERT_TRUE(ok);
  std::int32_t value = 0;
  EXPECT_EQ(file.read(reinterpret_cast<char*>(&value), 4), 4u);
  EXPECT_EQ(value, 0x66723031);
  EXPECT_EQ(file.read(reinterpret_cast<char*>(&value), 4), 0u);  // at the end: a short read
}

TEST(File, OpenForWriteModes) {
  TempFolder folder;
  const std::string path = folder.path("data.txt");
  TempFolder::writeFile(path, "old");
  struct Case {
    bool failIfExists;
    bool append;
    bool byteMode;
    bool opens;
    const char* contentAfterWritingNew;
  };
  const Case cases[] = {
      {true, false, true, false, "old"},   // existing file left untouched
      {true, true, false, false, "old"},
      {false, false, true, true, "new"},   // "wb" truncates
      {false, false, false, true, "new"},  // "w" truncates
      {false, true, true, true, "oldnew"}, // "ab" appends
      {false, true, false, true, "oldnew"},
  };
  for (const Case& c : cases) {
    TempFolder::writeFile(path, "old");
    bool ok = !c.opens;
    {
      File file(path.c_str(), c.failIfExists, c.append, c.byteMode, &ok);
      file.write("new", 3);
    }
    EXPECT_EQ(ok, c.opens) << "failIfExists " << c.failIfExists << " append " << c.append;
    EXPECT_EQ(TempFolder::contentOf(path), c.contentAfterWritingNew)
        << "failIfExists " << c.failIfExists << " append " << c.append;
  }

  const std::string fresh = folder.path("fresh.txt");
  File file;
  EXPECT_TRUE(file.openForWrite(fresh.c_str(), true, false, true));
  file.close();
  EXPECT_FALSE(file.openForWrite(fresh.c_str(), true, false, true));
}

TEST(File, AFileThatDidNotOpenReadsAndWritesNothing) {
  TempFolder folder;
  const std::string missing = folder.path("missing.dat");
  bool ok = true;
  File file(missing.c_str(), &ok);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(file.isOpen());
  char buffer[4] = {1, 2, 3, 4};
  EXPECT_EQ(file.read(buffer, 4), 0u);
  EXPECT_EQ(file.write(buffer, 4), 0u);
  file.seekBegin(10);
  file.seek(3);
  file.flush();
  EXPECT_EQ(file.tell(), 0);
  file.close();
  file.close();

  File nowhere(folder.path("no/such/folder/x").c_str(), false, false, true, &ok);
  EXPECT_FALSE(ok);
  File nullPath(nullptr, &ok);
  EXPECT_FALSE(ok);
  File nullOk(missing.c_str(), nullptr);  // a null flag is allowed
  EXPECT_FALSE(nullOk.isOpen());
}

TEST(File, ReadWriteModeSeeksAndTells) {
  TempFolder folder;
  const std::string path = folder.path("rw.dat");
  File file;
  ASSERT_TRUE(file.open(path.c_str(), true));
  EXPECT_TRUE(file.isSeekable());
  EXPECT_EQ(file.write("0123456789", 10), 10u);
  EXPECT_EQ(file.tell(), 10);
  file.seekBegin(2);
  char two[2];
  EXPECT_EQ(file.read(two, 2), 2u);
  EXPECT_EQ(std::string(two, 2), "23");
  file.seek(3);
  EXPECT_EQ(file.tell(), 7);
  EXPECT_EQ(file.read(two, 2), 2u);
  EXPECT_EQ(std::string(two, 2), "78");
  file.seek(-9);
  EXPECT_EQ(file.tell(), 0);
  file.close();
  EXPECT_EQ(TempFolder::contentOf(path), "0123456789");

  ASSERT_TRUE(file.open(path.c_str(), false));  // "rb" keeps the content
  EXPECT_EQ(file.write("x", 1), 0u);          // and cannot write
  file.close();
  EXPECT_EQ(TempFolder::contentOf(path), "0123456789");
}

namespace {

// An element of an array stream: one byte, refused when it is 0xff.
struct Record {
  int value = -1;
  bool deserialize(MyTl::StreamIn& in) {
    unsigned char byte = 0;
    if (in.read(reinterpret_cast<char*>(&byte), 1) != 1 || byte == 0xff) return false;
    value = byte;
    return true;
  }
};

class ReadArr : public ::testing::Test {
 protected:
  // Reads `bytes` back through readArr into an array that holds two old records.
  bool readBack(const std::string& bytes, int maxCount) {
    const std::string path = folder.path("array.dat");
    TempFolder::writeFile(path, bytes);
    records.resize(2);
    records[0].value = 40;
    records[1].value = 41;
    bool ok = false;
    File file(path.c_str(), &ok);
    EXPECT_TRUE(ok);
    return file.readArr(records, maxCount);
  }

  TempFolder folder;
  MyTl::FixedArray<Record> records;
};

}  // namespace

TEST_F(ReadArr, RejectsCountsOutsideZeroToMax) {
  EXPECT_FALSE(readBack(bytesOf(10001), 10000));
  EXPECT_FALSE(readBack(bytesOf(-1), 10000));
  EXPECT_FALSE(readBack(std::string("\x01\x00", 2), 10000));  // count cut short
  EXPECT_FALSE(readBack("", 10000));
  EXPECT_EQ(records.size(), 2) << "a refused count leaves the array alone";

  EXPECT_TRUE(readBack(bytesOf(0), 10000));
  EXPECT_EQ(records.size(), 0);
}

TEST_F(ReadArr, ReadsEveryElementAndStopsAtTheFirstBadOne) {
  EXPECT_TRUE(readBack(bytesOf(3) + "\x05\x06\x07", 10000));
  ASSERT_EQ(records.size(), 3);
  EXPECT_EQ(records[0].value, 5);
  EXPECT_EQ(records[2].value, 7);

  EXPECT_FALSE(readBack(bytesOf(3) + "\x05\xff\x07", 10000));
  ASSERT_EQ(records.size(), 3);
  EXPECT_EQ(records[0].value, 5);
  EXPECT_EQ(records[2].value, -1) << "elements after the failing one stay as constructed";

  EXPECT_FALSE(readBack(bytesOf(3) + "\x05", 10000));  // data ends early
  EXPECT_TRUE(readBack(bytesOf(2) + "\x01\x02", 2));   // exactly maxCount
}
